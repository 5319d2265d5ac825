#pragma once
// The Chinese names of lunar months and days, as UTF-8. Needs only the C++ standard library.

#include <string>

// 正, 二, … 十一, 腊 for months 1 to 12; 闰 before the name for a leap month (-1 to -12);
// empty for any other number.
std::string lunarMonthName(int lunarMonth);

// 初一 … 初十, 十一 … 二十, 廿一 … 廿九, 三十 for days 1 to 30; empty for any other number.
std::string lunarDayName(int lunarDay);
