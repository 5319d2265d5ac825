#pragma once
// Popups (options menus, sub-menus, the lists of selectors) open within the phone's screen: the
// 240 x 320 window they belong to, not the desktop around it.

#include <QRect>

class QWidget;

namespace PopupFit {

// The phone screen a widget is shown on, in global coordinates: its top-level window.
QRect screenOf(const QWidget *widget);

// The wanted rectangle moved, as little as it takes, to lie within the screen: cut to the
// screen's height (a list scrolls then) and width first, then shifted left / up where it ran
// past the right / bottom edge, and right / down where it started before the left / top edge.
QRect fit(const QRect &wanted, const QRect &screen);

// Moves (and, when taller than the screen, shortens) a popup widget that is shown or about to
// be, to lie within the phone screen of the anchor widget.
void place(QWidget *popup, const QWidget *anchor);

} // namespace PopupFit
