// Clock and date items: the time, hour, minute, year, month, day and weekday of `now`.

#include "drawimg.h"
#include "themefile.h"

#include "textconv.h"
#include "configsnapshot.h"

#include <QPainter>

namespace {
const QStringList kWeekDefault = {QStringLiteral("Mo"), QStringLiteral("Tu"), QStringLiteral("We"),
                                  QStringLiteral("Th"), QStringLiteral("Fr"), QStringLiteral("Sa"),
                                  QStringLiteral("Su")};
}

// The time as "HH:MM", upright, shadowless, in picture coordinates; no TextFormat.
void DrawImg::drawSysTime()
{
    if (!readEnabled(QStringLiteral("SysTime")))
        return;
    painter->save();
    drawItemBackground();
    fontSize = theme->readNumEntry(itemName, ThemeKey::FontSize, -1);
    if (fontSize > 0) {
        const QByteArray text = formatText("%02d:%02d", {FormatArg::number(now.time().hour()),
                                                         FormatArg::number(now.time().minute())});
        readTextPlacement();
        shadow = false;
        drawBoxedText(posX, posY, ChineseAndEnglish(text));
    }
    painter->restore();
}

void DrawImg::drawHour()
{
    if (readEnabled(QStringLiteral("Time_Hour")))
        drawFormattedItem(QStringLiteral("%02d"), {FormatArg::number(now.time().hour())});
}

void DrawImg::drawMinute()
{
    if (readEnabled(QStringLiteral("Time_Minute")))
        drawFormattedItem(QStringLiteral("%02d"), {FormatArg::number(now.time().minute())});
}

void DrawImg::drawYear()
{
    if (readEnabled(QStringLiteral("Date_Year")))
        drawFormattedItem(QStringLiteral("%04d"), {FormatArg::number(now.date().year())});
}

// The month as the name of a 12-name MonthList, or else as a formatted number.
void DrawImg::drawMonth()
{
    if (!readEnabled(QStringLiteral("Date_Month")))
        return;
    const QStringList names = theme->readListEntry(itemName, ThemeKey::MonthList, QLatin1Char(','));
    if (names.size() == 12) {
        drawItem(UnicodeAndChinese(names.at(now.date().month() - 1)));
        return;
    }
    drawFormattedItem(QStringLiteral("%02d"), {FormatArg::number(now.date().month())});
}

void DrawImg::drawDay()
{
    if (readEnabled(QStringLiteral("Date_Day")))
        drawFormattedItem(QStringLiteral("%02d"), {FormatArg::number(now.date().day())});
}

// The weekday name from a 7-name WeekList (Monday first), or "Mo" to "Su".
void DrawImg::drawWeek()
{
    if (!readEnabled(QStringLiteral("Week")))
        return;
    QStringList names = theme->readListEntry(itemName, ThemeKey::WeekList, QLatin1Char(','));
    if (names.size() != 7)
        names = kWeekDefault;
    const QString name = names.at(now.date().dayOfWeek() - 1);
    drawFormattedItem(QStringLiteral("%s"), {FormatArg::text(gbk_codec->fromUnicode(name))});
}
