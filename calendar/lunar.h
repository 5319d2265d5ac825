#ifndef QUILLORA_LUNAR_H
#define QUILLORA_LUNAR_H

// Conversion of a Gregorian date to the Chinese lunar calendar, from the built-in table
// of lunar years. Needs only the C++ standard library.
//
// On success lunarYear is numbered like the Gregorian year in which the lunar year
// begins, lunarMonth is 1 to 12 for an ordinary month and the negative of the month it
// follows (-1 to -12) for a leap month, and lunarDay is 1 to 30.
//
// Returns false, leaving the three results untouched, for an invalid Gregorian date or
// a date outside the table.
bool solarToLunar(int year, int month, int day, int &lunarYear, int &lunarMonth, int &lunarDay);

// The number of days (29 or 30) of a month of a lunar year, the month numbered as above
// (negative for a leap month); 0 when the year lies outside the table or has no such month.
int lunarMonthDays(int lunarYear, int lunarMonth);

// True when the lunar date is the last day of the twelfth month, New Year's Eve, whether that
// month has 29 or 30 days that year.
bool isLunarNewYearsEve(int lunarYear, int lunarMonth, int lunarDay);

#endif
