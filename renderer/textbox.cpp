#include "textbox.h"

#include <QFontMetrics>
#include <QStringList>

namespace TextBox {

namespace {

constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop;
const QChar kEllipsis(0x2026);

// The layout rectangle of a text from the corner of a box, as the painter lays it out.
QRect layoutRect(const QFontMetrics &metrics, const QString &text)
{
    if (text.isEmpty())
        return QRect();
    return metrics.boundingRect(QRect(0, 0, 0, 0), kFlags, text);
}

QString elideLines(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, width);
    return lines.join(QLatin1Char('\n'));
}

bool fits(const QRect &rect, QSize box)
{
    return rect.width() <= box.width() && rect.height() <= box.height();
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

QString visiblePart(const QString &text, const QFont &font, QSize box, bool *cut)
{
    const QFontMetrics metrics(font);
    const int lineHeight = qMax(1, metrics.lineSpacing());
    const int maxLines = box.height() / lineHeight + 1;
    bool dropped = false;
    QString out;
    qsizetype start = 0;
    for (int line = 0; start <= text.size(); ++line) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        if (line == maxLines) {
            dropped = true;
            break;
        }
        if (line > 0)
            out += QLatin1Char('\n');
        // Characters up to the first one that starts past the box's right edge, kept whole.
        int width = 0;
        qsizetype i = start;
        while (i < end && width <= box.width()) {
            const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < end) ? 2 : 1;
            width += metrics.horizontalAdvance(text.mid(i, len));
            i += len;
        }
        out += QStringView(text).mid(start, i - start);
        if (i < end)
            dropped = true;
        start = end + 1;
    }
    if (cut)
        *cut = dropped;
    return out;
}

Layout fit(const QString &text, const QFont &font, QSize box, Fit mode)
{
    Layout layout;
    layout.font = font;
    const QRect boxRect(QPoint(0, 0), box);

    if (mode == Fit::Shrink) {
        for (int size = font.pointSize(); size >= kShrinkFloor; --size) {
            layout.font.setPointSize(size);
            bool cut = false;
            const QString shown = visiblePart(text, layout.font, box, &cut);
            const QRect rect = layoutRect(QFontMetrics(layout.font), shown);
            if (!cut && fits(rect, box)) {
                layout.text = shown;
                layout.area = rect;
                return layout;
            }
        }
        // Still too big at the floor: the lines that do not fit end with "…".
    }

    const QFontMetrics metrics(layout.font);
    bool cut = false;
    QString shown = visiblePart(text, layout.font, box, &cut);
    if (mode != Fit::Clip)
        shown = elideLines(shown, metrics, box.width());
    const QRect full = layoutRect(metrics, shown);
    layout.text = shown;
    layout.area = full & boxRect;
    // A line ended with "…" is fitted; lines below the box overflow it in every mode (when
    // lines were dropped, the ones kept already reach past the box).
    layout.overflows = full.height() > box.height() || (mode == Fit::Clip && (cut || full.width() > box.width()));
    return layout;
}

} // namespace TextBox
