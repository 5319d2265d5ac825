#pragma once
// The 24 solar terms of the Gregorian years 1921 to 2100, from a built-in table. Needs only
// the C++ standard library.
//
// Terms are numbered in the order of the Gregorian year: 1 小寒 and 2 大寒 in January, 3 立春
// and 4 雨水 in February, and so on to 23 大雪 and 24 冬至 in December; term n always falls in
// month (n + 1) / 2. The day of a term is its date in China Standard Time (UTC+8), whatever
// the time zone of the machine.

// The day of the month on which the term falls in the year; 0 outside the table or for a
// term number other than 1 to 24.
int solarTermDay(int year, int term);

// The number of the term that falls on the date, or 0 when none does (also outside the
// table and for an invalid month).
int solarTermOf(int year, int month, int day);
