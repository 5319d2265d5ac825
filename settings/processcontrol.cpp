#include "processcontrol.h"

#include "device.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cstdlib>

const char *const ProcessControl::Daemon = "tarnwick";
const char *const ProcessControl::Rotator = "morvessa";
const char *const ProcessControl::Show = "show";
const char *const ProcessControl::Phone = "phone";

ProcessControl::ProcessControl(const QString &programDir)
    : m_dir(programDir)
{
}

QString ProcessControl::programFile(const QString &program) const
{
    return (m_dir.isEmpty() ? QStringLiteral("./") : m_dir) + program;
}

QString ProcessControl::startCommand(const QString &program) const
{
    return Platform::shellQuote(programFile(program)) + QStringLiteral(" &");
}

QString ProcessControl::stopCommand(const QString &program) const
{
    // The process list gives the candidates by name; /proc/<pid>/exe tells whose file each one
    // runs. The file is compared by its canonical path, as the kernel reports it.
    const QFileInfo file(programFile(program));
    QString target = file.canonicalFilePath();
    if (target.isEmpty())
        target = file.absoluteFilePath();
    // The name goes into an awk string and a process-name comparison: only plain names.
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_.-]+$"));
    const QString name = plain.match(program).hasMatch() ? program : QStringLiteral("-");
    // A program whose file was replaced since it started (a rebuild, a reinstall) runs a file
    // the kernel reports as "<path> (deleted)": it is still this directory's program.
    return QStringLiteral("for p in `ps -e -o pid= -o comm= | awk '$2 == \"%1\" {print $1}'`; do "
                          "e=`readlink -f /proc/$p/exe 2>/dev/null`; "
                          "[ \"${e% (deleted)}\" = %2 ] && kill $p; done")
        .arg(name, Platform::shellQuote(target));
}

void ProcessControl::run(const QString &commandLine)
{
    const QByteArray bytes = commandLine.toUtf8();
    const int rc = std::system(bytes.constData());
    Q_UNUSED(rc);
}

void ProcessControl::refreshDesktop() const { run(startCommand(QLatin1String(Show))); }
void ProcessControl::startDaemon() const { run(startCommand(QLatin1String(Daemon))); }
void ProcessControl::stopDaemon() const { run(stopCommand(QLatin1String(Daemon))); }
void ProcessControl::startRotator() const { run(startCommand(QLatin1String(Rotator))); }
void ProcessControl::stopRotator() const { run(stopCommand(QLatin1String(Rotator))); }
void ProcessControl::restartPhone() const { run(stopCommand(QLatin1String(Phone))); }
