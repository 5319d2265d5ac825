#include "desktoprefresh.h"

#include "processcontrol.h"
#include "processgroup.h"

#include <QDeadlineTimer>
#include <QProcess>

namespace Platform {
namespace {

int g_limitMs = 20000;

} // namespace

static bool runShowWith(const QString &programDir, const QStringList &arguments, bool quiet);

int showTimeLimitMs()
{
    return g_limitMs;
}

void setShowTimeLimitMs(int ms)
{
    g_limitMs = ms;
}

bool runShow(const QString &programDir, bool quiet)
{
    return runShowWith(programDir, {}, quiet);
}

bool prepareShow(const QString &programDir, const QDateTime &minute, bool quiet)
{
    return runShowWith(programDir, {QStringLiteral("--at"), minute.toString(QStringLiteral("yyyy-MM-ddTHH:mm"))}, quiet);
}

static bool runShowWith(const QString &programDir, const QStringList &arguments, bool quiet)
{
    QProcess show;
    // Never a "show" found on the search path: an empty directory is the current one.
    show.setProgram(ProcessControl(programDir).programFile(QLatin1String(ProcessControl::Show)));
    show.setArguments(arguments);
    if (quiet) {
        show.setStandardOutputFile(QProcess::nullDevice());
        show.setStandardErrorFile(QProcess::nullDevice());
    } else {
        show.setProcessChannelMode(QProcess::ForwardedChannels);
    }
    show.setInputChannelMode(QProcess::ForwardedInputChannel);
    ProcessGroup::startOwn(show);
    const QDeadlineTimer deadline(g_limitMs);
    show.start();
    if (!show.waitForStarted(int(deadline.remainingTime())))
        return false;
    // A wait may come back early (a clock that runs fast for the process): the limit counts by
    // the deadline alone.
    while (!show.waitForFinished(int(deadline.remainingTime()))) {
        if (show.state() == QProcess::NotRunning || deadline.hasExpired())
            break;
    }
    if (show.state() == QProcess::NotRunning)
        return show.exitStatus() == QProcess::NormalExit && show.exitCode() == 0;
    ProcessGroup::end(show);
    return false;
}

} // namespace Platform
