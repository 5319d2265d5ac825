#pragma once
// The wording of the countdown line of the "Notify" item.
//
// A language file may word the line in the user's language with three texts of group
// "Quillora": "CountdownAhead" while the date lies ahead, "CountdownToday" on the day itself
// and "CountdownPast" once it has passed; in each "%1" stands for the number of days (counted
// upwards in the past) and "%2" for the countdown's text. Where a text is missing the line is
// the original "N days away from TEXT" while the date lies ahead (and on the day, N = 0) and
// "N days since TEXT" once it has passed.

#include <QLocale>
#include <QString>

struct CountdownWording
{
    QString ahead, today, past;
    // For one day ahead or past, where a language words it apart ("CountdownTomorrow",
    // "CountdownYesterday"); without them "ahead" and "past" serve.
    QString tomorrow, yesterday;

    // The texts of the language file "resource/language/<language>" of the program directory;
    // none for a name that would leave that folder, or a missing file. With no name the
    // desktop speaks the system's language as the settings program does: "简体中文.lng" on a
    // Chinese system, and the original line on any other.
    static CountdownWording fromLanguageFile(const QString &programDir, const QString &language,
                                             const QLocale &system = QLocale::system());
};

// The line for a date `days` days from today (negative once it has passed) and its text.
QString countdownText(qint64 days, const QString &text, const CountdownWording &wording);
