#include "entrynames.h"

#include "langtext.h"
#include "lunarkey.h"

#include <QStringList>

namespace EntryNames {

Purpose purposeOf(const QString &group, const QString &key)
{
    if (group == QLatin1String("CustomNotify")) {
        if (key == QLatin1String("1901/01/01"))
            return Purpose::Note;
        if (key == QLatin1String("1901/01/02"))
            return Purpose::Countdown;
    } else if (group == QLatin1String("CustomFestival") && key == QLatin1String("02/31")) {
        return Purpose::Fallback;
    }
    return Purpose::Dated;
}

QString dateText(const ZConfig *lang, const QString &group, const QString &key)
{
    switch (purposeOf(group, key)) {
    case Purpose::Note:
        return getText(lang, QStringLiteral("NoteEntry"), QStringLiteral("Note"));
    case Purpose::Countdown:
        return getText(lang, QStringLiteral("CountdownEntry"), QStringLiteral("Countdown"));
    case Purpose::Fallback:
        return getText(lang, QStringLiteral("FallbackEntry"), QStringLiteral("Fallback"));
    case Purpose::Dated:
        break;
    }
    return group == QLatin1String("CustomFestival") ? festivalKeyText(lang, key) : key;
}

QString valueText(Purpose purpose, const QString &value)
{
    if (purpose == Purpose::Note)
        return value.split(QLatin1Char('|')).join(QStringLiteral(" / "));
    if (purpose == Purpose::Countdown) {
        const QStringList fields = value.split(QLatin1Char('|'));
        if (fields.size() >= 4) {
            const QString text = fields.mid(3).join(QLatin1Char('|'));
            return QStringLiteral("%1 (%2/%3/%4)").arg(text, fields.at(0).trimmed(), fields.at(1).trimmed(),
                                                       fields.at(2).trimmed());
        }
    }
    return value;
}

} // namespace EntryNames
