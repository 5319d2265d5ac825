#include "festivalkeys.h"

#include "lunar.h"
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

QString lunarKey(const LunarDate &l)
{
    return QString::asprintf("%02d$%02d", l.month, l.day);
}

} // namespace

QStringList userFestivalKeys(const QDate &date)
{
    QStringList keys{monthDayKey(date)};
    const LunarDate l = lunarDateOf(date);
    if (l.known)
        keys << lunarKey(l);
    return keys;
}

QStringList builtinFestivalKeys(const QDate &date)
{
    QStringList keys{monthDayKey(date)};
    const LunarDate l = lunarDateOf(date);
    if (l.known) {
        keys << lunarKey(l);
        if (isLunarNewYearsEve(l.year, l.month, l.day))
            keys << QStringLiteral("12$LAST");
    }
    const int term = date.isValid() ? solarTermOf(date.year(), date.month(), date.day()) : 0;
    if (term > 0)
        keys << QString::asprintf("T$%02d", term);
    return keys;
}
