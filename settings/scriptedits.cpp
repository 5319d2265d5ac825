#include "scriptedits.h"

#include "device.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace ScriptEdits {

QStringList readLines(const QString &path, bool *ok)
{
    QStringList lines;
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly | QIODevice::Text);
    if (ok)
        *ok = opened || !file.exists();
    if (!opened)
        return lines;
    QTextStream in(&file);
    while (!in.atEnd())
        lines << in.readLine();
    return lines;
}

bool writeLines(const QString &path, const QStringList &lines)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + '\n';
    file.write(bytes);
    return file.commit();
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
