#include "textbox.h"

#include <QFontMetrics>
#include <QStringList>
#include <QTextLayout>

#include <cmath>

namespace TextBox {

namespace {

constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop;
const QChar kEllipsis(0x2026);
// A line whose real width is within this of the room fits it: the painter places text on whole
// pixels, so a width of 50.4 shows in a room of 50.
constexpr qreal kSlack = 0.5;

// The layout rectangle of a text from the corner of a box, as the painter lays it out.
QRect layoutRect(const QFontMetrics &metrics, const QString &text)
{
    if (text.isEmpty())
        return QRect();
    return metrics.boundingRect(QRect(0, 0, 0, 0), kFlags, text);
}

bool fits(const QRect &rect, QSize box)
{
    return rect.width() <= box.width() && rect.height() <= box.height();
}

// One line shaped once, as the painter shapes it: the x of every character boundary is read
// from the same layout, so no sum of rounded advances creeps in.
class ShapedLine
{
public:
    ShapedLine(const QString &line, const QFont &font)
        : m_layout(line, font)
    {
        m_layout.setCacheEnabled(true);
        m_layout.beginLayout();
        m_line = m_layout.createLine();
        m_layout.endLayout();
    }
    qreal width() const { return m_line.isValid() ? m_line.naturalTextWidth() : 0; }
    // The x at which the character at `pos` starts.
    qreal xAt(int pos) const { return m_line.isValid() ? m_line.cursorToX(pos) : 0; }
    // The boundary after the character at `pos`, surrogate pairs and marks kept whole.
    int next(int pos) const { return m_layout.nextCursorPosition(pos); }

private:
    QTextLayout m_layout;
    QTextLine m_line;
};

// The longest start of `line` that ends within `room` (give or take `slack`).
int keptLength(const ShapedLine &shaped, int length, qreal room, qreal slack)
{
    int kept = 0;
    for (int pos = shaped.next(0); pos > kept && pos <= length; pos = shaped.next(pos)) {
        if (shaped.xAt(pos) > room + slack)
            break;
        kept = pos;
        if (pos == length)
            break;
    }
    return kept;
}

struct VisibleLine
{
    QString text;
    bool cut = false;
};

// The lines a box can show: each cut a character past the box's width (found on a bounded start
// of the line, as no character is narrower than a pixel once it shows), none below the box.
QList<VisibleLine> visibleLines(const QString &text, const QFont &font, QSize box, bool *dropped)
{
    const QFontMetrics metrics(font);
    const int maxLines = box.height() / qMax(1, metrics.lineSpacing()) + 1;
    const qsizetype maxChars = 4 * qsizetype(box.width()) + 16;
    QList<VisibleLine> lines;
    *dropped = false;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        if (lines.size() == maxLines) {
            *dropped = true;
            break;
        }
        VisibleLine line;
        line.text = text.mid(start, qMin(end - start, maxChars));
        line.cut = end - start > maxChars;
        const ShapedLine shaped(line.text, font);
        if (shaped.width() > box.width() + kSlack) {
            int keep = keptLength(shaped, int(line.text.size()), box.width(), kSlack);
            keep = qMax(keep, shaped.next(keep)); // the character the edge runs through
            line.cut = line.cut || keep < line.text.size();
            line.text.truncate(keep);
        }
        *dropped = *dropped || line.cut;
        lines << line;
        start = end + 1;
    }
    return lines;
}

QString joined(const QList<VisibleLine> &lines)
{
    QStringList texts;
    for (const VisibleLine &line : lines)
        texts << line.text;
    return texts.join(QLatin1Char('\n'));
}

} // namespace

Fit fitFrom(const QString &value)
{
    const QString v = value.trimmed().toLower();
    if (v == QLatin1String("shrink"))
        return Fit::Shrink;
    if (v == QLatin1String("elide"))
        return Fit::Elide;
    return Fit::Clip;
}

int shrinkFloor(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        // Han (with its extensions through surrogates), kana and Hangul.
        if ((u >= 0x2e80 && u <= 0x9fff) || (u >= 0xac00 && u <= 0xd7af) || (u >= 0xf900 && u <= 0xfaff)
            || c.isHighSurrogate())
            return kShrinkFloorCjk;
    }
    return kShrinkFloor;
}

QString elided(const QString &line, const QFont &font, int width, bool cut)
{
    const ShapedLine shaped(line, font);
    if (!cut && shaped.width() <= width + kSlack)
        return line;
    const qreal mark = ShapedLine(QString(kEllipsis), font).width();
    if (mark > width + kSlack)
        return QString();
    // What is kept and "…" lie wholly inside the width.
    return line.left(keptLength(shaped, int(line.size()), width - mark, 0)) + kEllipsis;
}

QString visiblePart(const QString &text, const QFont &font, QSize box, bool *cut)
{
    bool dropped = false;
    const QString out = joined(visibleLines(text, font, box, &dropped));
    if (cut)
        *cut = dropped;
    return out;
}

QSize visibleBox(QSize box, const QRectF &screenInItem)
{
    const int w = qBound(1, int(std::ceil(qMin<qreal>(screenInItem.right(), box.width()))), box.width());
    const int h = qBound(1, int(std::ceil(qMin<qreal>(screenInItem.bottom(), box.height()))), box.height());
    return QSize(w, h);
}

Layout fit(const QString &text, const QFont &font, QSize box, Fit mode)
{
    Layout layout;
    layout.font = font;
    const QRect boxRect(QPoint(0, 0), box);

    if (mode == Fit::Shrink) {
        const int floor = shrinkFloor(text);
        for (int size = font.pointSize(); size >= floor; --size) {
            layout.font.setPointSize(size);
            bool cut = false;
            const QString shown = visiblePart(text, layout.font, box, &cut);
            const QRect rect = layoutRect(QFontMetrics(layout.font), shown);
            if (!cut && fits(rect, box)) {
                layout.text = shown;
                layout.area = rect;
                layout.laidOut = rect;
                return layout;
            }
        }
        // Still too big at the floor: the lines that do not fit end with "…".
    }

    const QFontMetrics metrics(layout.font);
    bool cut = false;
    QList<VisibleLine> lines = visibleLines(text, layout.font, box, &cut);
    if (mode != Fit::Clip) {
        // Lines below the box are left out, and the last line that fits says so with "…".
        const int room = box.height() >= metrics.height()
                             ? (box.height() - metrics.height()) / qMax(1, metrics.lineSpacing()) + 1
                             : 1;
        const bool below = text.count(QLatin1Char('\n')) >= room;
        if (below) {
            lines = lines.mid(0, room);
            lines.last().cut = true;
        }
        // Lines of other scripts may stand taller than the font's own: measured as laid out.
        while (lines.size() > 1 && layoutRect(metrics, joined(lines)).height() > box.height()) {
            lines.removeLast();
            lines.last().cut = true;
        }
        for (VisibleLine &line : lines)
            line.text = elided(line.text, layout.font, box.width(), line.cut);
    }
    const QString shown = joined(lines);
    const QRect full = layoutRect(metrics, shown);
    layout.text = shown;
    layout.area = full & boxRect;
    layout.laidOut = full;
    // A line ended with "…" is fitted; in clip, lines below the box overflow it (when lines
    // were dropped, the ones kept already reach past the box).
    layout.overflows = full.height() > box.height() || (mode == Fit::Clip && (cut || full.width() > box.width()));
    return layout;
}

} // namespace TextBox
