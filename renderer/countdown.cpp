#include "countdown.h"

#include "configsnapshot.h"
#include "languagefile.h"
#include "textmarkers.h"

CountdownWording CountdownWording::fromLanguageFile(const QString &programDir, const QString &named,
                                                    const QLocale &system)
{
    CountdownWording w;
    QString language = named;
    if (language.isEmpty() && system.language() == QLocale::Chinese)
        language = languageFileFor(programDir + QStringLiteral("resource/language/"), QString(), system);
    if (language.isEmpty() || language.contains(QLatin1Char('/')) || language == QLatin1String("..")
        || language == QLatin1String("."))
        return w;
    const ConfigSnapshot file(programDir + QStringLiteral("resource/language/") + language);
    const QString group = QStringLiteral("Quillora");
    w.ahead = file.readEntry(group, QStringLiteral("CountdownAhead"));
    w.today = file.readEntry(group, QStringLiteral("CountdownToday"));
    w.past = file.readEntry(group, QStringLiteral("CountdownPast"));
    w.tomorrow = file.readEntry(group, QStringLiteral("CountdownTomorrow"));
    w.yesterday = file.readEntry(group, QStringLiteral("CountdownYesterday"));
    return w;
}

QString countdownText(qint64 days, const QString &text, const CountdownWording &wording)
{
    QString format = days > 0 ? wording.ahead : days == 0 ? wording.today : wording.past;
    if (!format.isEmpty() && days == 1 && !wording.tomorrow.isEmpty())
        format = wording.tomorrow;
    if (!format.isEmpty() && days == -1 && !wording.yesterday.isEmpty())
        format = wording.yesterday;
    // Without a wording the line is the original one while the date lies ahead; once it has
    // passed, "N days since TEXT" (never a negative number of days "away").
    if (format.isEmpty() && days < 0)
        return QString::number(-days) + QStringLiteral(" days since ") + text;
    if (format.isEmpty())
        return QString::number(days) + QStringLiteral(" days away from ") + text;
    // "%1" the number of days, "%2" the text; a wording may use either alone.
    return fillMarkers(format, {QString::number(days < 0 ? -days : days), text});
}
