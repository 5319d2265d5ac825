#pragma once
// The keys of notify.db under which the festivals of a day are looked up, in the order their
// lines are drawn.

#include <QDate>
#include <QStringList>

// Group "CustomFestival": the user's festival by month and day ("%02d/%02d"), then by lunar
// month and day ("%02d$%02d", the month negative in a leap month). With the group's keys given
// (`stored`, in file order), the lunar keys are those of them that name the date in any form
// the festival list reads (see lunarkeyparse.h), so "8$15" is drawn as "08$15" is.
QStringList userFestivalKeys(const QDate &date, const QStringList *stored = nullptr);

// Group "FestivalNotify": the built-in Gregorian festival ("%02d/%02d"), the built-in lunar
// festival ("%02d$%02d"), "12$LAST" on the last day of the twelfth lunar month, and
// "T$%02d" on the day of a solar term (1 小寒 to 24 冬至). Lunar keys only within the lunar
// table, term keys only within the solar term table.
QStringList builtinFestivalKeys(const QDate &date, const QStringList *stored = nullptr);
