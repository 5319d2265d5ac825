#include "themecheck.h"
#include "themefile.h"
#include "textbox.h"

#include "busyday.h"
#include "boundedfile.h"
#include "configsnapshot.h"

#include <QFileInfo>
#include <QFontMetrics>

#include <cmath>

namespace ThemeCheck {

namespace {

const QRect kScreen(0, 0, DrawImg::Width, DrawImg::Height);
// Letters on a picture of less contrast than this (luminance ratio) cannot be told from it.
constexpr qreal kLeastContrast = 2.5;
// A text is hard to read on a picture when this share of its letters on the picture (and at
// least kBlendMin pixels) cannot be told from it, or when kBlendSpot pixels of it cannot (a
// mark of the picture, like a clock plate's colon, under a letter).
constexpr qreal kBlendShare = 0.1;
constexpr int kBlendMin = 4;
constexpr int kBlendSpot = 12;

QString describe(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The time of day whose "HH:MM" is widest in the theme's clock font.
QTime widestTime(const QString &themePath)
{
    const ConfigSnapshot theme(themePath);
    const QFontMetrics metrics(DrawImg::itemFont(theme.readNumEntry(QStringLiteral("SysTime"), ThemeKey::FontSize, 20)));
    QTime widest(0, 0);
    int best = -1;
    for (int h = 0; h < 24; ++h)
        for (int m = 0; m < 60; ++m) {
            const int w = metrics.horizontalAdvance(QTime(h, m).toString(QStringLiteral("HH:mm")));
            if (w > best) {
                best = w;
                widest = QTime(h, m);
            }
        }
    return widest;
}

void merge(QList<ItemExtent> &into, const ItemExtent &extent)
{
    for (ItemExtent &known : into)
        if (known.item == extent.item) {
            known.textArea |= extent.textArea;
            known.box |= extent.box;
            known.overflows = known.overflows || extent.overflows;
            known.descent = qMax(known.descent, extent.descent);
            if (extent.cjkPointSize)
                known.cjkPointSize = known.cjkPointSize ? qMin(known.cjkPointSize, extent.cjkPointSize) : extent.cjkPointSize;
            for (int i = 0; i < extent.pictures.size(); ++i)
                if (!known.pictures.contains(extent.pictures.at(i))) {
                    known.pictures << extent.pictures.at(i);
                    known.pictureImages << extent.pictureImages.value(i);
                }
            for (const TextRun &run : extent.runs)
                if (!known.runs.contains(run))
                    known.runs << run;
            return;
        }
    into << extent;
}

// The overlap of two texts counts only where it can hold ink: the upper line box's bottom
// is its font's descent, which only the tails of a few letters reach.
bool inkOverlap(const ItemExtent &a, const ItemExtent &b)
{
    const QRect both = a.textArea & b.textArea;
    if (both.isEmpty() || a.textArea == b.textArea)
        return false;
    const ItemExtent &upper = a.textArea.top() <= b.textArea.top() ? a : b;
    return both.height() > upper.descent || both.bottom() < upper.textArea.bottom() - upper.descent;
}

// The relative luminance of a colour (sRGB), 0 for black to 1 for white.
qreal luminance(const QColor &c)
{
    auto linear = [](qreal v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

qreal contrast(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The letter pixels of a text that lie on pixels of a picture too close to the text's colour to
// tell them apart, and all letter pixels on the picture.
QPair<int, int> blendingInk(const TextRun &run, const QRect &pictureRect, const QImage &image)
{
    const QRect under = run.area & pictureRect & kScreen;
    if (under.isEmpty() || image.isNull() || run.ink.isNull())
        return {0, 0};
    const QImage shown = image.size() == pictureRect.size()
                             ? image
                             : image.scaled(pictureRect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int blending = 0, letters = 0;
    for (int y = under.top(); y <= under.bottom(); ++y)
        for (int x = under.left(); x <= under.right(); ++x) {
            if (qAlpha(run.ink.pixel(x - run.area.x(), y - run.area.y())) < 128)
                continue;
            ++letters;
            const QColor c = shown.pixelColor(x - pictureRect.x(), y - pictureRect.y());
            if (c.alphaF() >= 0.5 && contrast(c, run.colour) < kLeastContrast)
                ++blending;
        }
    return {blending, letters};
}

} // namespace

QStringList problems(const QList<ItemExtent> &extents)
{
    QStringList lines;
    for (const ItemExtent &e : extents) {
        if (!e.textArea.isNull() && !kScreen.contains(e.textArea))
            lines << QStringLiteral("%1: text leaves the screen (%2)").arg(e.item, describe(e.textArea));
        for (const QRect &p : e.pictures)
            if (!kScreen.contains(p))
                lines << QStringLiteral("%1: picture leaves the screen (%2)").arg(e.item, describe(p));
        if (e.overflows)
            lines << QStringLiteral("%1: text overflows its box (%2)").arg(e.item, describe(e.box));
        // Han, kana and Hangul strokes run together below the shrink floor of such text.
        if (e.cjkPointSize && e.cjkPointSize < TextBox::kShrinkFloorCjk)
            lines << QStringLiteral("%1: Chinese text at %2 points, below the legible %3")
                         .arg(e.item)
                         .arg(e.cjkPointSize)
                         .arg(TextBox::kShrinkFloorCjk);
    }
    for (int i = 0; i < extents.size(); ++i)
        for (int j = i + 1; j < extents.size(); ++j) {
            // The same area twice is one text drawn twice (the city of every weather day, say):
            // it reads as one.
            if (inkOverlap(extents.at(i), extents.at(j)))
                lines << QStringLiteral("%1 and %2: texts overlap (%3)")
                             .arg(extents.at(i).item, extents.at(j).item,
                                  describe(extents.at(i).textArea & extents.at(j).textArea));
        }
    // Every text against every picture, its own item's included.
    for (const ItemExtent &e : extents)
        for (const ItemExtent &owner : extents)
            for (int p = 0; p < owner.pictures.size(); ++p) {
                bool hard = false;
                for (const TextRun &run : e.runs) {
                    const auto [blending, letters] = blendingInk(run, owner.pictures.at(p), owner.pictureImages.value(p));
                    hard = hard || blending >= kBlendSpot || (blending >= kBlendMin && blending >= kBlendShare * letters);
                }
                if (hard)
                    lines << QStringLiteral("%1: text hard to read on the picture of %2 (%3)")
                                 .arg(e.item, owner.item, describe(owner.pictures.at(p)));
            }
    return lines;
}

QList<ItemExtent> busyDayExtents(const QString &themePath)
{
    const QTime time = widestTime(themePath);
    QList<ItemExtent> merged;
    for (const QDate &day : BusyDay::days()) {
        RenderInput input;
        input.themePath = themePath;
        input.now = QDateTime(day, time);
        input.settings = BusyDay::settings();
        input.notifyDb = BusyDay::notifyDb(day);
        input.weather = BusyDay::weather(day);
        const DrawImg drawn(input);
        for (const ItemExtent &e : drawn.extents())
            merge(merged, e);
    }
    return merged;
}

QStringList run(const QString &themePath)
{
    QStringList lines;
    // The desktop reads a theme only up to the limit of a configuration file: beyond it, items
    // would go unseen by the check and undrawn by the desktop.
    const qint64 size = QFileInfo(themePath).size();
    if (size > BoundedFile::kConfigCap)
        lines << QStringLiteral("theme: too large to be read whole (%1 bytes, at most %2)")
                     .arg(size)
                     .arg(BoundedFile::kConfigCap);
    return lines + problems(busyDayExtents(themePath));
}

} // namespace ThemeCheck
