#include "stubs.h"

#include "processcontrol.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace Stubs {

void install(const QString &dir, const QString &name)
{
    const QString target = dir + name;
    QFile::remove(target);
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/settings_stub"), target);
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                 | QFile::ExeGroup);
}

void installAll()
{
    for (const char *name : {"tarnwick", "morvessa", "show", "phone"})
        install(TestEnv::dir(), QLatin1String(name));
}

QStringList log(const QString &dir)
{
    QFile f(dir + QStringLiteral("stub.log"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void clearLog(const QString &dir)
{
    QFile::remove(dir + QStringLiteral("stub.log"));
}

bool waitFor(const QString &dir, const QString &line)
{
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        if (log(dir).contains(line))
            return true;
        QThread::msleep(20);
    }
    return log(dir).contains(line);
}

bool followUp(const QString &dir)
{
    const QString line = QStringLiteral("started show");
    const int before = int(log(dir).count(line));
    ProcessControl(dir).refreshDesktop();
    QDeadlineTimer deadline(5000);
    while (log(dir).count(line) == before && !deadline.hasExpired())
        QThread::msleep(20);
    QStringList lines = log(dir);
    if (lines.count(line) == before)
        return false;
    lines.removeAt(lines.lastIndexOf(line));
    QFile f(dir + QStringLiteral("stub.log"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const QString &l : std::as_const(lines))
        f.write(l.toUtf8() + '\n');
    return true;
}

void stopAll()
{
    // Only the programs the log shows started more often than stopped can still run.
    const QStringList lines = log(TestEnv::dir());
    auto running = [&](const char *name) {
        return lines.count(QStringLiteral("started ") + QLatin1String(name))
               > lines.count(QStringLiteral("stopped ") + QLatin1String(name));
    };
    const ProcessControl proc(TestEnv::dir());
    if (running("tarnwick"))
        proc.stopDaemon();
    if (running("morvessa"))
        proc.stopRotator();
    if (running("phone"))
        proc.restartPhone();
}

} // namespace Stubs
