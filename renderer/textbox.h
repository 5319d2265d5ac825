#pragma once
// The text box of an item and how its text is fitted into it.
//
// An item's text is laid out from its origin in a box (Box_W x Box_H, by default the 240 x 320
// of the whole picture): left and top aligned, a new line at every "\n", no word wrap. Fit
// says what happens to text that does not fit: "clip" cuts it at the box edge, "shrink" takes
// the font down a point at a time to a legible floor (and ends lines that still do not fit
// with "…"), "elide" ends every line that does not fit with "…". Where lines run below the box,
// elide (and shrink at its floor) leaves them out and ends the last line that fits with "…".
//
// Only what can show is laid out: the box is first bounded by the part of it that lies on the
// screen (visibleBox), every line is cut a character past that edge and lines below it are
// dropped before any layout, so a huge box or text costs no more than a screenful. Widths are
// those of a line shaped once, as the painter draws it: a line as wide as its box is drawn
// whole, and a cut line always ends in "…" (elide, and shrink at its floor).

#include <QFont>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>

namespace TextBox {

enum class Fit { Clip, Shrink, Elide };

// "clip", "shrink" or "elide" in any case; anything else is clip.
Fit fitFrom(const QString &value);

// The smallest point size shrink goes down to; text holding Chinese, Japanese or Korean
// characters stops at kShrinkFloorCjk, below which their strokes run together.
constexpr int kShrinkFloor = 6;
constexpr int kShrinkFloorCjk = 8;
int shrinkFloor(const QString &text);

struct Layout
{
    QFont font;       // the font to draw with
    QString text;     // what to draw: the visible part, with "…" where lines were ended
    QRect area;       // where the laid-out text lies, from the box's corner, within the box
    QRect laidOut;    // the same before it is cut to the box (clip reaches a character past)
    bool overflows = false; // the text did not fit the box (and was cut)
};

// The part of `text` a box of `box` can show in `font`: each line cut a character past the
// box's width, and no lines below the box. `cut` (when given) tells whether anything was left
// out.
QString visiblePart(const QString &text, const QFont &font, QSize box, bool *cut = nullptr);

// `line` (one line) as it fits `width` pixels: whole when it fits and `cut` is false, else the
// longest start that leaves room for "…", followed by "…" (empty when not even "…" fits).
QString elided(const QString &line, const QFont &font, int width, bool cut = false);

// The part of a box of `box` from the item's origin that can show, given the screen's rectangle
// in the item's frame (turned items give its bounding rectangle); at least 1 x 1, so an item
// wholly off the screen still lays out its first character there.
QSize visibleBox(QSize box, const QRectF &screenInItem);

Layout fit(const QString &text, const QFont &font, QSize box, Fit mode);

} // namespace TextBox
