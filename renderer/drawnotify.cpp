// The "Notify" item (today's notices, festivals and the countdown) and the "Note" item, both
// read from notify.db.

#include "drawimg.h"

#include "textconv.h"
#include "configsnapshot.h"
#include "countdown.h"
#include "festivalkeys.h"

#include <QFontMetricsF>

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

// The countdown line in `room` pixels of `font`: when the whole line does not fit, its text is
// ended with "…" so that the number of days stays whole (a line that still does not fit is left
// to the box).
QString fittedCountdown(qint64 days, const QString &text, const CountdownWording &wording, const QFont &font,
                        int room)
{
    const QString line = countdownText(days, text, wording);
    const QFontMetricsF metrics(font);
    if (metrics.horizontalAdvance(line) <= room + 0.5)
        return line;
    const qreal bare = metrics.horizontalAdvance(countdownText(days, QString(), wording));
    QString name = TextBox::elided(text, font, int(room - bare), true);
    // No room even for "…": the name still reads as cut, and the box ends the line with "…".
    if (name.isEmpty())
        name = QString(QChar(0x2026));
    return countdownText(days, name, wording);
}

// The countdown entry "year|month|day|text" as its line, or an empty string when the entry has
// fewer than four fields or does not name a real date. With a font, the line is fitted to
// `room` pixels (fittedCountdown).
QString countdownLine(const QString &entry, const QDate &today, const CountdownWording &wording,
                      const QFont *font = nullptr, int room = 0)
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
    if (font)
        return fittedCountdown(today.daysTo(target), fields.at(3), wording, *font, room);
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
        const QStringList stored = db.keyList(kCustomFestival);
        for (const QString &k : userFestivalKeys(today, &stored))
            appendLine(collected, db.readEntry(kCustomFestival, k));
        consulted = true;
    }
    enabled = settings->readBoolEntry(group, QStringLiteral("FestivalNotify"), false);
    if (enabled) {
        const QStringList stored = db.keyList(kFestivalNotify);
        for (const QString &k : builtinFestivalKeys(today, &stored))
            appendLine(collected, db.readEntry(kFestivalNotify, k));
        consulted = true;
    }

    const QString countdown = db.readEntry(kCustomNotify, QStringLiteral("1901/01/02"), QString());
    if (!countdown.isEmpty()) {
        const CountdownWording wording =
            CountdownWording::fromLanguageFile(programDir, settings->readEntry(group, QStringLiteral("Language")));
        // Where the item fits its text by cutting it, the cut falls in the countdown's text, never
        // in its number: in the item's font (for shrink, the smallest it may take).
        const TextBox::Fit mode = TextBox::fitFrom(theme->readEntry(itemName, QStringLiteral("Fit"), QString()));
        QString line = countdownLine(countdown, today, wording);
        if (mode != TextBox::Fit::Clip && !line.isEmpty()) {
            QFont font = itemFont(theme->readNumEntry(itemName, QStringLiteral("FontSize"), -1));
            if (mode == TextBox::Fit::Shrink)
                font.setPointSize(qMin(font.pointSize(), TextBox::shrinkFloor(collected + line)));
            line = countdownLine(countdown, today, wording, &font, textRoom().width());
        }
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
