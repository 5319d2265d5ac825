#include "lunar.h"

#include <cstddef>
#include <cstdint>

namespace {

// One entry per lunar year, 1921 to 2100; the first begins on 1921-02-08, the last ends
// on 2101-01-28.
// 12-month years (entry below 4095): bit 11 is the first month, bit 0 the twelfth.
// 13-month years: bit 12 is the first month, bit 0 the thirteenth, and entry / 65536 is
// the ordinary month the leap month follows. A set bit is a month of 30 days, a clear
// bit one of 29 days.
const std::int32_t kLunarTable[] = {
    2635,   333387, 1701,   1748,   267701, 694,    2391,   133423, 1175,   396438, // 1921
    3402,   3749,   331177, 1453,   694,    201326, 2350,   465197, 3221,   3402,   // 1931
    400202, 2901,   1386,   267611, 605,    2349,   137515, 2709,   464533, 1738,   // 1941
    2901,   330421, 1242,   2651,   199255, 1323,   529706, 3733,   1706,   398762, // 1951
    2741,   1206,   267438, 2647,   1318,   204070, 3477,   461653, 1386,   2413,   // 1961
    330077, 1197,   2637,   268877, 3365,   531109, 2900,   2922,   398042, 2395,   // 1971
    1179,   267415, 2635,   661067, 1701,   1748,   398772, 2742,   2391,   330031, // 1981
    1175,   1611,   200010, 3749,   527717, 1452,   2742,   332397, 2350,   3222,   // 1991
    268949, 3402,   3493,   133973, 1386,   464219, 605,    2349,   334123, 2709,   // 2001
    2890,   267946, 2773,   592565, 1210,   2651,   395863, 1323,   2707,   265877, // 2011
    1706,   2773,   133557, 1206,   398510, 2638,   3366,   335142, 3411,   1450,   // 2021
    200042, 2413,   723293, 1197,   2637,   399947, 3365,   3410,   334676, 2906,   // 2031
    1389,   133467, 1179,   464023, 2635,   2725,   333477, 1746,   2778,   199350, // 2041
    2359,   526639, 1175,   1611,   396618, 3749,   1714,   267628, 2734,   2350,   // 2051
    203054, 3222,   465557, 3402,   3493,   330581, 1386,   2669,   264797, 1325,   // 2061
    529707, 2709,   2890,   399018, 2773,   1370,   267450, 2651,   1323,   202023, // 2071
    1683,   462419, 1706,   2773,   330165, 1206,   2647,   264782, 3350,   531750, // 2081
    3410,   3498,   396650, 1389,   1198,   267421, 2605,   3349,   138021, 3410,   // 2091
};

const int kFirstLunarYear = 1921;
const std::size_t kTableSize = sizeof(kLunarTable) / sizeof(kLunarTable[0]);

// Days from 1970-01-01 to the given proleptic Gregorian date (exact for any year).
long long daysFromCivil(long long y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;                                   // [0, 399]
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;  // [0, 365]
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;           // [0, 146096]
    return era * 146097 + doe - 719468;
}

bool isLeapYear(long long y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(long long y, int m)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

} // namespace

int lunarMonthDays(int lunarYear, int lunarMonth)
{
    if (lunarYear < kFirstLunarYear || lunarYear - kFirstLunarYear >= static_cast<int>(kTableSize))
        return 0;
    if (lunarMonth == 0 || lunarMonth < -12 || lunarMonth > 12)
        return 0;
    const std::int32_t entry = kLunarTable[lunarYear - kFirstLunarYear];
    const bool hasLeap = entry >= 4095;
    const int leapAfter = entry / 65536;
    if (lunarMonth < 0 && (!hasLeap || -lunarMonth != leapAfter))
        return 0;
    // Position of the month in its year, 1 for the first.
    int position = lunarMonth < 0 ? -lunarMonth + 1 : lunarMonth;
    if (hasLeap && lunarMonth > leapAfter)
        ++position;
    const int k = hasLeap ? 12 : 11;
    return 29 + ((entry >> (k - position + 1)) & 1);
}

bool isLunarNewYearsEve(int lunarYear, int lunarMonth, int lunarDay)
{
    return lunarMonth == 12 && lunarDay == lunarMonthDays(lunarYear, 12);
}

bool solarToLunar(int year, int month, int day, int &lunarYear, int &lunarMonth, int &lunarDay)
{
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return false;

    // Day number within the table, 1921-02-08 being day 1.
    long long theDate = daysFromCivil(year, month, day) - daysFromCivil(1921, 2, 8) + 1;
    if (theDate < 1)
        return false;

    for (std::size_t m = 0; m < kTableSize; ++m) {
        const std::int32_t entry = kLunarTable[m];
        const int k = entry < 4095 ? 11 : 12;
        for (int n = k; n >= 0; --n) {
            const int monthDays = 29 + ((entry >> n) & 1);
            if (theDate > monthDays) {
                theDate -= monthDays;
                continue;
            }
            int curMonth = k - n + 1;
            if (k == 12) {
                const int leapPos = entry / 65536 + 1;
                if (curMonth == leapPos)
                    curMonth = 1 - curMonth;
                else if (curMonth > leapPos)
                    curMonth -= 1;
            }
            lunarYear = kFirstLunarYear + static_cast<int>(m);
            lunarMonth = curMonth;
            lunarDay = static_cast<int>(theDate);
            return true;
        }
    }
    return false;
}
