#pragma once
// The theme check: draws a theme with a busy day's content and lists what does not hold.
//
// One line per problem: a theme file too large to be read whole, an item's text or picture
// that leaves the 240 x 320 screen, a text that overflows its box, two items whose texts
// overlap where ink can be (a line box's descent may run into the next line's), a text that
// runs into a picture (its own item's or another's) as light or dark as the text itself, and
// Han, kana or Hangul text drawn below its legible size (TextBox::kShrinkFloorCjk). The theme
// is drawn on every day of BusyDay::days() at the widest time of the clock, and each item
// is judged by everything it drew on any of them.

#include "drawimg.h"

#include <QList>
#include <QStringList>

namespace ThemeCheck {

// The problems of the items' extents, in item order.
QStringList problems(const QList<ItemExtent> &extents);

// Draws the theme file at `themePath` on the busy days and returns its problems.
QStringList run(const QString &themePath);

// The extents of every drawing of the theme on the busy days, merged per item.
QList<ItemExtent> busyDayExtents(const QString &themePath);

} // namespace ThemeCheck
