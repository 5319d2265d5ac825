// The "Notify" item (today's notices, festivals and the countdown) and the "Note" item, both
// read from notify.db.

#include "drawimg.h"

#include "textconv.h"
#include "configsnapshot.h"
#include "countdown.h"
#include "festivalkeys.h"

namespace {

const QString kCustomNotify = QStringLiteral("CustomNotify");
const QString kCustomFestival = QStringLiteral("CustomFestival");
const QString kFestivalNotify = QStringLiteral("FestivalNotify");

void appendLine(QString &collected, const QString &value)
{
    if (value.isEmpty())
        return;
    if (!collected.isEmpty())
        collected += QLatin1Char('\n');
    collected += value;
}

QString key(const char *format, std::initializer_list<int> values)
{
    QList<FormatArg> args;
    for (int v : values)
        args << FormatArg::number(v);
    return QString::fromLatin1(formatText(format, args));
}

// The countdown entry "year|month|day|text" as its line, or an empty string when the entry has
// fewer than four fields or does not name a real date.
QString countdownLine(const QString &entry, const QDate &today, const CountdownWording &wording)
{
    const QStringList fields = entry.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    if (fields.size() < 4)
        return QString();
    bool okY = false, okM = false, okD = false;
    const int y = fields.at(0).trimmed().toInt(&okY, 10);
    const int m = fields.at(1).trimmed().toInt(&okM, 10);
    const int d = fields.at(2).trimmed().toInt(&okD, 10);
    const QDate target(y, m, d);
    if (!okY || !okM || !okD || !target.isValid())
        return QString();
    return countdownText(today.daysTo(target), fields.at(3), wording);
}

} // namespace

void DrawImg::drawNotify()
{
    if (!readEnabled(QStringLiteral("Notify")))
        return;
    const ConfigSnapshot &db = notifyDatabase();
    const QDate today = now.date();
    const QString group = QStringLiteral("Quillora");
    QString collected;
    bool consulted = false;

    enabled = settings->readBoolEntry(group, QStringLiteral("CustomNotify"), false);
    if (enabled) {
        appendLine(collected, db.readEntry(kCustomNotify, key("%04d/%02d/%02d", {today.year(), today.month(), today.day()})));
        consulted = true;
    }
    enabled = settings->readBoolEntry(group, QStringLiteral("CustomFestival"), false);
    if (enabled) {
        for (const QString &k : userFestivalKeys(today))
            appendLine(collected, db.readEntry(kCustomFestival, k));
        consulted = true;
    }
    enabled = settings->readBoolEntry(group, QStringLiteral("FestivalNotify"), false);
    if (enabled) {
        for (const QString &k : builtinFestivalKeys(today))
            appendLine(collected, db.readEntry(kFestivalNotify, k));
        consulted = true;
    }

    const QString countdown = db.readEntry(kCustomNotify, QStringLiteral("1901/01/02"), QString());
    if (!countdown.isEmpty()) {
        const QString line = countdownLine(countdown, today,
            CountdownWording::fromLanguageFile(programDir, settings->readEntry(group, QStringLiteral("Language"))));
        if (!line.isEmpty()) {
            appendLine(collected, line);
            consulted = true;
        }
    }

    if (collected.isEmpty() && consulted)
        collected = db.readEntry(kCustomFestival, QStringLiteral("02/31"), QString());

    // Drawn even when empty, so the item's background picture shows whenever it is enabled.
    drawItem(UnicodeAndChinese(collected));
}

void DrawImg::drawNote()
{
    if (!readEnabled(QStringLiteral("Note")))
        return;
    const ConfigSnapshot &db = notifyDatabase();
    QString note = db.readEntry(kCustomNotify, QStringLiteral("1901/01/01"), QString());
    if (note.isEmpty())
        return;
    note.replace(QLatin1Char('|'), QLatin1Char('\n'));
    drawItem(UnicodeAndChinese(note));
}
