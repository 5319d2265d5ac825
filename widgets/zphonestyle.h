#pragma once
// The look of the phone's windows: fonts, colours and the style sheet every window uses.

#include <QColor>
#include <QFont>
#include <QString>

namespace ZPhoneStyle {

// The phone font ("AMCSL") at a point size of the desktop.
QFont font(int pointSize = 10, bool bold = false);

QColor headerColor();
QColor highlightColor();
QColor barColor();

// Style sheet of a top-level phone window and everything in it.
QString styleSheet();

// Moves a new top-level window onto the application's main window, so that every phone
// window of the program shows at the same place on a desktop.
void placeOverMainWindow(QWidget *window);

// Gives the keys back to the window that had them before a modal window ran, or, when that one
// is no longer shown, to the dialog still open on top or else the main window: without a window
// manager to do it, the keypad would otherwise reach no window.
void restoreActiveWindow(QWidget *window);

} // namespace ZPhoneStyle
