#include "scriptedits.h"

#include "atomicfile.h"
#include "boundedfile.h"
#include "configsnapshot.h"
#include "desktopconfig.h"
#include "device.h"
#include "settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace ScriptEdits {

QStringList readLines(const QString &path, bool *ok)
{
    QStringList lines;
    const std::unique_ptr<QFile> file = BoundedFile::openRegular(path);
    if (ok)
        *ok = file || !QFile::exists(path);
    if (!file)
        return lines;
    QByteArray text = BoundedFile::readOpen(*file, BoundedFile::kConfigCap);
    QTextStream in(&text, QIODevice::ReadOnly);
    while (!in.atEnd())
        lines << in.readLine();
    return lines;
}

bool writeLines(const QString &path, const QStringList &lines)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + '\n';
    return AtomicFile::replace(path, bytes);
}

QStringList autorunLines(const QStringList &lines, bool on, const QString &startLine, const QString &program)
{
    QStringList kept;
    for (const QString &line : lines) {
        if (!line.contains(program))
            kept << line;
    }
    if (on)
        kept << startLine;
    return kept;
}

QString autorunStartLine(const QString &programDir, const QString &program)
{
    // The phone runs the autorun file from anywhere: the script is always named by its full path.
    const QString script = QFileInfo(programDir + program + QStringLiteral(".lin")).absoluteFilePath();
    return Platform::shellQuote(script) + QStringLiteral(" &");
}

bool updateAutorun(const QString &autorunPath, const QString &programDir, bool on, const QString &program)
{
    bool ok = false;
    const QStringList lines = readLines(autorunPath, &ok);
    if (!ok)
        return false;
    return writeLines(autorunPath, autorunLines(lines, on, autorunStartLine(programDir, program), program));
}

QString autostartPath(const QString &program)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/autostart/quillora-") + program + QStringLiteral(".desktop");
}

QByteArray autostartEntry(const QString &programDir, const QString &program)
{
    // An argument of Exec in double quotes, with the four characters the entry format escapes
    // there escaped, and "%" doubled.
    QString script = programDir + program + QStringLiteral(".lin");
    for (const char *special : {"\\", "\"", "`", "$"})
        script.replace(QLatin1String(special), QLatin1Char('\\') + QLatin1String(special));
    script.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return "[Desktop Entry]\nType=Application\nName=Quillora " + program.toUtf8() + "\nExec=/bin/sh \""
        + script.toUtf8() + "\"\nNoDisplay=true\nX-GNOME-Autostart-enabled=true\n";
}

bool updateStartup(const QString &autorunPath, const QString &programDir, bool on, const QString &program,
                   Message *failed)
{
    const Desktop::Target target = Desktop::readConfig(SettingsFile::snapshot(programDir)).target;
    bool done = false;
    if (target == Desktop::Target::Phone) {
        done = updateAutorun(autorunPath, programDir, on, program);
    } else {
        const QString path = autostartPath(program);
        if (!on) {
            done = !QFileInfo::exists(path) || QFile::remove(path);
        } else {
            QDir().mkpath(QFileInfo(path).absolutePath());
            done = AtomicFile::replace(path, autostartEntry(programDir, program));
        }
    }
    if (!done && failed)
        *failed = target == Desktop::Target::Phone
                      ? Message{"AutoRunFailedText", "The phone's autorun file could not be changed."}
                      : Message{"AutostartFailedText", "The session's autostart entry could not be changed."};
    return done;
}

QStringList intervalLines(const QStringList &lines, int seconds)
{
    QStringList out;
    out.reserve(lines.size());
    for (const QString &line : lines)
        out << (line.contains(QLatin1String("sleep")) ? QStringLiteral("\t sleep %1").arg(seconds) : line);
    return out;
}

bool updateInterval(const QString &scriptPath, int seconds)
{
    bool ok = false;
    const QStringList lines = readLines(scriptPath, &ok);
    if (!ok)
        return false;
    return writeLines(scriptPath, intervalLines(lines, seconds));
}

} // namespace ScriptEdits
