#include "festivalkeys.h"

#include "lunar.h"
#include "lunarkeyparse.h"
#include "solarterms.h"

namespace {

QString monthDayKey(const QDate &date)
{
    return QString::asprintf("%02d/%02d", date.month(), date.day());
}

struct LunarDate
{
    bool known = false;
    int year = 0, month = 0, day = 0;
};

LunarDate lunarDateOf(const QDate &date)
{
    LunarDate l;
    l.known = date.isValid() && solarToLunar(date.year(), date.month(), date.day(), l.year, l.month, l.day);
    return l;
}

// The lunar keys of the date: the stored keys that name it, or the key as it is written.
QStringList lunarKeys(const LunarDate &l, const QStringList *stored)
{
    if (!stored)
        return {QString::asprintf("%02d$%02d", l.month, l.day)};
    QStringList keys;
    for (const QString &key : *stored) {
        int month = 0, day = 0;
        if (parseLunarKey(key.toStdString(), month, day) && month == l.month && day == l.day)
            keys << key;
    }
    return keys;
}

} // namespace

QStringList userFestivalKeys(const QDate &date, const QStringList *stored)
{
    QStringList keys{monthDayKey(date)};
    const LunarDate l = lunarDateOf(date);
    if (l.known)
        keys << lunarKeys(l, stored);
    return keys;
}

QStringList builtinFestivalKeys(const QDate &date, const QStringList *stored)
{
    QStringList keys{monthDayKey(date)};
    const LunarDate l = lunarDateOf(date);
    if (l.known) {
        keys << lunarKeys(l, stored);
        if (isLunarNewYearsEve(l.year, l.month, l.day))
            keys << QStringLiteral("12$LAST");
    }
    const int term = date.isValid() ? solarTermOf(date.year(), date.month(), date.day()) : 0;
    if (term > 0)
        keys << QString::asprintf("T$%02d", term);
    return keys;
}
