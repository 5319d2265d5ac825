#pragma once
// The user's festivals by lunar date: keys "%02d$%02d" of group "CustomFestival" (lunar month
// and day, the month negative for a leap month, as the built-in lunar festivals are kept),
// how the festival list shows them, and the order of the list.

#include "notifydb.h"

#include <QList>
#include <QString>

class ZConfig;

struct LunarKey
{
    int month = 1;     // 1 to 12
    bool leap = false; // the leap month that follows `month`
    int day = 1;       // 1 to 30

    // "08$15"; "-4$01" for the first day of the leap fourth month.
    QString key() const;
    // The key's lunar date; false for a key that is not "%d$%d" with a month of 1 to 12 (or
    // -1 to -12) and a day of 1 to 30.
    static bool parse(const QString &key, LunarKey *out);
};

// True when the language shows lunar months and days by their Chinese names ("LunarNames" = 1).
bool lunarNames(const ZConfig *lang);

// The lunar date as the language words it: "LunarDateText" (or "LunarLeapDateText" for a
// leap month) with %1 the month number, %2 the day number, %3 the month name (闰 before a leap
// month) and %4 the day name; "Lunar 8-15" and "Lunar leap 4-1" without a language file.
QString lunarDateText(const ZConfig *lang, const LunarKey &date);

// The text of a festival key in the list: the lunar date for a lunar key, the key otherwise.
QString festivalKeyText(const ZConfig *lang, const QString &key);

// The festivals in list order: the Gregorian entries as the file holds them, then the lunar
// ones by month (a leap month after its ordinary month) and day.
QList<NoticeDb::Entry> festivalListOrder(const QList<NoticeDb::Entry> &entries);
