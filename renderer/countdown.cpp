#include "countdown.h"

#include "configsnapshot.h"

CountdownWording CountdownWording::fromLanguageFile(const QString &programDir, const QString &language)
{
    CountdownWording w;
    if (language.isEmpty() || language.contains(QLatin1Char('/')) || language == QLatin1String("..")
        || language == QLatin1String("."))
        return w;
    const ConfigSnapshot file(programDir + QStringLiteral("resource/language/") + language);
    const QString group = QStringLiteral("Quillora");
    w.ahead = file.readEntry(group, QStringLiteral("CountdownAhead"));
    w.today = file.readEntry(group, QStringLiteral("CountdownToday"));
    w.past = file.readEntry(group, QStringLiteral("CountdownPast"));
    return w;
}

QString countdownText(qint64 days, const QString &text, const CountdownWording &wording)
{
    const QString &format = days > 0 ? wording.ahead : days == 0 ? wording.today : wording.past;
    if (format.isEmpty())
        return QString::number(days) + QStringLiteral(" days away from ") + text;
    // One pass over the wording, so a "%1" inside the text stays as it is; a wording may use
    // either marker alone.
    const QString number = QString::number(days < 0 ? -days : days);
    QString line;
    for (int i = 0; i < format.size(); ++i) {
        const QChar next = i + 1 < format.size() ? format.at(i + 1) : QChar();
        if (format.at(i) == QLatin1Char('%') && (next == QLatin1Char('1') || next == QLatin1Char('2'))) {
            line += next == QLatin1Char('1') ? number : text;
            ++i;
        } else {
            line += format.at(i);
        }
    }
    return line;
}
