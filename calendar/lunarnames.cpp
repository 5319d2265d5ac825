#include "lunarnames.h"

namespace {

const char *const cMonName[13] = {"*", "正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "腊"};
const char *const cDayName[31] = {
    "*",    "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};

} // namespace

std::string lunarMonthName(int lunarMonth)
{
    const int month = lunarMonth < 0 ? -lunarMonth : lunarMonth;
    if (month < 1 || month > 12)
        return std::string();
    return (lunarMonth < 0 ? std::string("闰") : std::string()) + cMonName[month];
}

std::string lunarDayName(int lunarDay)
{
    if (lunarDay < 1 || lunarDay > 30)
        return std::string();
    return cDayName[lunarDay];
}
