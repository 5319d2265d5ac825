#include "lunarkey.h"

#include "langtext.h"
#include "lunarkeyparse.h"
#include "lunarnames.h"
#include "textmarkers.h"

#include <QStringList>
#include <algorithm>
#include <tuple>

QString LunarKey::key() const
{
    return QString::asprintf("%02d$%02d", leap ? -month : month, day);
}

bool LunarKey::parse(const QString &key, LunarKey *out)
{
    int month = 0, day = 0;
    if (!parseLunarKey(key.toStdString(), month, day))
        return false;
    out->month = month < 0 ? -month : month;
    out->leap = month < 0;
    out->day = day;
    return true;
}

bool lunarNames(const ZConfig *lang)
{
    return getText(lang, QStringLiteral("LunarNames"), QStringLiteral("0")).trimmed() == QLatin1String("1");
}

QString lunarDateText(const ZConfig *lang, const LunarKey &date)
{
    const QString format = date.leap
        ? getText(lang, QStringLiteral("LunarLeapDateText"), QStringLiteral("Lunar leap %1-%2"))
        : getText(lang, QStringLiteral("LunarDateText"), QStringLiteral("Lunar %1-%2"));
    const int month = date.leap ? -date.month : date.month;
    return fillMarkers(format, {QString::number(date.month), QString::number(date.day),
                                QString::fromStdString(lunarMonthName(month)),
                                QString::fromStdString(lunarDayName(date.day))});
}

QString festivalKeyText(const ZConfig *lang, const QString &key)
{
    LunarKey date;
    return LunarKey::parse(key, &date) ? lunarDateText(lang, date) : key;
}

QList<NoticeDb::Entry> festivalListOrder(const QList<NoticeDb::Entry> &entries)
{
    QList<NoticeDb::Entry> gregorian;
    QList<QPair<LunarKey, NoticeDb::Entry>> lunar;
    for (const NoticeDb::Entry &e : entries) {
        LunarKey date;
        if (LunarKey::parse(QString::fromUtf8(e.key), &date))
            lunar.append({date, e});
        else
            gregorian.append(e);
    }
    std::stable_sort(lunar.begin(), lunar.end(), [](const auto &a, const auto &b) {
        return std::make_tuple(a.first.month, a.first.leap, a.first.day)
            < std::make_tuple(b.first.month, b.first.leap, b.first.day);
    });
    for (const auto &l : lunar)
        gregorian.append(l.second);
    return gregorian;
}
