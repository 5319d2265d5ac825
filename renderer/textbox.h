#pragma once
// The text box of an item and how its text is fitted into it.
//
// An item's text is laid out from its origin in a box (Box_W x Box_H, by default the 240 x 320
// of the whole picture): left and top aligned, a new line at every "\n", no word wrap. Fit
// says what happens to text that does not fit: "clip" cuts it at the box edge, "shrink" takes
// the font down a point at a time to a legible floor (and ends lines that still do not fit
// with "…"), "elide" ends every line that does not fit with "…".
//
// Only what can show is laid out: every line is cut a character past the box edge and lines
// below the box are dropped before any layout, so a huge text costs no more than a full box.

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

namespace TextBox {

enum class Fit { Clip, Shrink, Elide };

// "clip", "shrink" or "elide" in any case; anything else is clip.
Fit fitFrom(const QString &value);

// The smallest point size shrink goes down to.
constexpr int kShrinkFloor = 6;

struct Layout
{
    QFont font;       // the font to draw with
    QString text;     // what to draw: the visible part, with "…" where lines were ended
    QRect area;       // where the laid-out text lies, from the box's corner, within the box
    bool overflows = false; // the text did not fit the box (and was cut)
};

// The part of `text` a box of `box` can show in `font`: each line cut a character past the
// box's width, and no lines below the box. `cut` (when given) tells whether anything was left
// out.
QString visiblePart(const QString &text, const QFont &font, QSize box, bool *cut = nullptr);

Layout fit(const QString &text, const QFont &font, QSize box, Fit mode);

} // namespace TextBox
