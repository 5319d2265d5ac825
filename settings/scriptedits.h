#pragma once
// The small text files the settings program rewrites: the phone's autorun file (the start
// lines of the daemon and of the weather updater) and the rotator's start script (its sleep interval).
//
// A file is read completely, then rewritten. A missing file counts as empty and is created;
// a file that exists but cannot be read is left as it is, so its lines are never lost.

#include <QString>
#include <QStringList>

namespace ScriptEdits {

// Lines of a text file without their line ends; ok is false when the file exists but could not
// be read.
QStringList readLines(const QString &path, bool *ok = nullptr);
// Writes each line followed by "\n", replacing the file; false when it could not be written.
bool writeLines(const QString &path, const QStringList &lines);

// The autorun lines with every line mentioning the program dropped and, when on, its start
// line appended.
QStringList autorunLines(const QStringList &lines, bool on, const QString &startLine,
                         const QString &program = QStringLiteral("tarnwick"));
// The start line of the program's script ("<program>.lin") for the autorun file: its absolute
// path, quoted for the shell, whatever form the program directory is given in.
QString autorunStartLine(const QString &programDir, const QString &program = QStringLiteral("tarnwick"));
// Rewrites the autorun file for the program (the theme daemon unless named); false when it was
// left unchanged.
bool updateAutorun(const QString &autorunPath, const QString &programDir, bool on,
                   const QString &program = QStringLiteral("tarnwick"));

// The session's autostart entry of the program: "$XDG_CONFIG_HOME/autostart/quillora-<program>.desktop"
// (~/.config without the variable).
QString autostartPath(const QString &program);
// Its text: an application entry that runs the program's start script.
QByteArray autostartEntry(const QString &programDir, const QString &program);
// A message: its text key and its English.
struct Message
{
    const char *key;
    const char *english;
};
// Starts the program with the session, or no longer: the phone's autorun file, or with a real
// desktop as the target (group "Desktop" of settings.ini) the session's autostart entry. False
// when it was left unchanged; `failed` then names the one of the two it could not change.
bool updateStartup(const QString &autorunPath, const QString &programDir, bool on,
                   const QString &program = QStringLiteral("tarnwick"), Message *failed = nullptr);

// The script lines with every line holding "sleep" replaced by "\t sleep <seconds>".
QStringList intervalLines(const QStringList &lines, int seconds);
// Rewrites the rotator's start script; false when it was left unchanged.
bool updateInterval(const QString &scriptPath, int seconds);

} // namespace ScriptEdits
