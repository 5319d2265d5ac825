#pragma once
// A busy day: the longest realistic content the desktop has to hold, drawn by the theme check.
//
// All of it lives here so that it grows in one place with the items: every notice source of
// the day at once (the user's notice, the user's Gregorian and lunar festivals, a built-in
// Gregorian and a built-in lunar festival, New Year's Eve and the solar term where the day has
// them, the countdown), a three-line note, and a weather forecast with long texts.

#include <QByteArray>
#include <QDate>
#include <QList>

namespace BusyDay {

// The days the check draws: a week of a leap lunar month (闰十一月) that runs into a month
// of six calendar rows, New Year's Eve on the day of a solar term, then a day in every month
// of a year for the month names.
QList<QDate> days();

// settings.ini with every notice switch and the weather on.
QByteArray settings();

// notify.db with an entry of every source for `day`, the countdown and the note.
QByteArray notifyDb(const QDate &day);

// A complete weather file (32 lines) with long city, description and wind texts.
QByteArray weather(const QDate &today);

} // namespace BusyDay
