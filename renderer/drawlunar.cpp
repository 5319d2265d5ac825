// The lunar date items and the conversion of `now` to the lunar calendar.

#include "drawimg.h"

#include "lunar.h"
#include "lunarnames.h"
#include "textconv.h"

namespace {

const char *const cTianGan[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
const char *const cDiZhi[12] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
const char *const cShuXiang[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
} // namespace

void DrawImg::getLunar(tagDate &date)
{
    int y = 0, m = 0, d = 0;
    lunarKnown = solarToLunar(date.year, date.month, date.day, y, m, d);
    if (!lunarKnown)
        y = m = d = 0;
    lunarYear = y;
    lunarMonth = m;
    lunarDay = d;
}

// The zodiac animal and the stem-branch name of the lunar year.
void DrawImg::drawLunarYear()
{
    if (!readEnabled(QStringLiteral("Lunar_Year")) || !lunarKnown)
        return;
    const int cycle = ((lunarYear - 4) % 60 + 60) % 60;
    const QByteArray animal = cShuXiang[cycle % 12];
    const QByteArray stemBranch = QByteArray(cTianGan[cycle % 10]) + cDiZhi[cycle % 12];
    drawFormattedItem(QStringLiteral("%s(%s)年"), {FormatArg::text(animal), FormatArg::text(stemBranch)});
}

// The lunar month name, with 闰 before a leap month.
void DrawImg::drawLunarMonth()
{
    if (!readEnabled(QStringLiteral("Lunar_Month")) || !lunarKnown)
        return;
    const QByteArray name = QByteArray::fromStdString(lunarMonthName(lunarMonth));
    if (name.isEmpty())
        return;
    drawFormattedItem(QStringLiteral("%s月"), {FormatArg::text(name)});
}

void DrawImg::drawLunarDay()
{
    if (!readEnabled(QStringLiteral("Lunar_Day")) || !lunarKnown)
        return;
    const QByteArray name = QByteArray::fromStdString(lunarDayName(lunarDay));
    if (name.isEmpty())
        return;
    drawFormattedItem(QStringLiteral("%s"), {FormatArg::text(name)});
}
