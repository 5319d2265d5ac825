// The month calendar grid: a header of weekday names, Monday first, then the days of the
// month in rows of seven, today in its own colour over an optional marker picture.

#include "drawimg.h"

#include "textconv.h"
#include "themefile.h"
#include "configsnapshot.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// A calendar without FontSize (or with a negative one) is still drawn, at this size.
constexpr int kCalendarDefaultFontSize = 9;

// Scale_X / Scale_Y: a decimal number, 0 when empty or not a number. Kept within a range that
// still gives a drawable grid.
double readScale(const QString &value)
{
    bool ok = false;
    const double scale = value.trimmed().toDouble(&ok);
    if (!ok || !qIsFinite(scale))
        return 0.0;
    return qBound(-1.0, scale, 100.0);
}

} // namespace

void DrawImg::drawCalendar()
{
    if (!readEnabled(QStringLiteral("Calendar")))
        return;
    painter->save();
    drawItemBackground();

    fontSize = theme->readNumEntry(itemName, ThemeKey::FontSize, -1);
    if (fontSize == 0) {
        painter->restore();
        return;
    }
    shadow = theme->readBoolEntry(itemName, ThemeKey::Shadow, false);
    readTextPlacement();
    const double scaleX = readScale(theme->readEntry(itemName, ThemeKey::ScaleX, QString()));
    const double scaleY = readScale(theme->readEntry(itemName, ThemeKey::ScaleY, QString()));
    const int todayR = theme->readNumEntry(itemName, ThemeKey::TodayColorR, -1);
    const int todayG = theme->readNumEntry(itemName, ThemeKey::TodayColorG, -1);
    const int todayB = theme->readNumEntry(itemName, ThemeKey::TodayColorB, -1);
    const QString todayImage = theme->readEntry(itemName, ThemeKey::TodayBGImage, QString());

    const QDate today = now.date();
    const QDate first(today.year(), today.month(), 1);
    const int daysInMonth = today.daysInMonth();
    const int firstWeekday = first.dayOfWeek(); // 1 Monday .. 7 Sunday
    const int todayCell = today.day() + firstWeekday - 2 + 7;

    // Cell texts, as UTF-8 byte strings.
    QStringList cells;
    const QStringList names = theme->readListEntry(itemName, ThemeKey::WeekList, QLatin1Char(','));
    if (names.size() == 7) {
        for (const QString &name : names)
            cells << UnicodeAndChinese(name);
    } else {
        cells << QStringLiteral("Mo") << QStringLiteral("Tu") << QStringLiteral("We") << QStringLiteral("Th")
              << QStringLiteral("Fr") << QStringLiteral("Sa") << QStringLiteral("Su");
    }
    for (int i = 0; i < firstWeekday - 1; ++i)
        cells << QStringLiteral(" ");
    for (int d = 1; d <= daysInMonth; ++d)
        cells << bytesToByteString(formatText("%02d ", {FormatArg::number(d)}));

    // The grid in its box: clipped to it, or (Fit = shrink) in the largest font down to the
    // floor whose grid fits. Without Box_W and Box_H nothing is clipped.
    const bool boxed = theme->hasEntry(itemName, ThemeKey::BoxW) || theme->hasEntry(itemName, ThemeKey::BoxH);
    const QRect box(QPoint(posX, posY), readBoxSize());
    const bool shrink = TextBox::fitFrom(theme->readEntry(itemName, ThemeKey::Fit, QString())) == TextBox::Fit::Shrink;
    // From the size the item is really drawn in (fonts are capped), not the number in the file.
    int size = itemFont(fontSize > 0 ? fontSize : kCalendarDefaultFontSize).pointSize();
    QFont font;
    int cellW = 0, cellH = 0;
    QRect grid;
    for (;; --size) {
        font = itemFont(size);
        const QFontMetrics metrics(font);
        cellW = int(metrics.horizontalAdvance(QStringLiteral("00")) * (1.0 + scaleX));
        cellH = int(metrics.height() * (1.0 + scaleY));
        grid = QRect();
        for (int j = 0; j < cells.size(); ++j)
            grid |= metrics.boundingRect(QRect(posX + (j % 7) * cellW, posY + (j / 7) * cellH, 0, 0),
                                         Qt::AlignLeft | Qt::AlignTop, ChineseAndEnglish(cells.at(j)));
        if (!shrink || box.contains(grid) || size <= TextBox::kShrinkFloor)
            break;
    }

    painter->setFont(font);
    if (boxed)
        painter->setClipRect(box, Qt::IntersectClip);
    for (int j = 0; j < cells.size(); ++j) {
        const int x = posX + (j % 7) * cellW;
        const int y = posY + (j / 7) * cellH;
        const QString text = ChineseAndEnglish(cells.at(j));
        const bool isToday = j == todayCell;
        if (isToday && !todayImage.isEmpty()) {
            scratchImage = pictureFiles.picture(ThemeFile::imagePath(programDir, todayImage));
            if (!scratchImage.isNull()) {
                painter->drawImage(x - 2, y - 2, scratchImage);
                extentOf(itemName).pictures << QRect(QPoint(x - 2, y - 2), scratchImage.size());
                extentOf(itemName).pictureImages << scratchImage;
            }
        }
        if (shadow)
            drawTextAt(QRect(x + 1, y + 1, Width, Height), text, 128, 128, 128);
        if (isToday)
            drawTextAt(QRect(x, y, Width, Height), text, todayR, todayG, todayB);
        else
            drawTextAt(QRect(x, y, Width, Height), text, fontR, fontG, fontB);
        const QRect cell = painter->fontMetrics().boundingRect(QRect(x, y, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
        recordRun(boxed ? cell & box : cell, QRect(x, y, Width, Height), text);
    }
    recordText(boxed ? grid & box : grid, box, !box.contains(grid));
    painter->restore();
}
