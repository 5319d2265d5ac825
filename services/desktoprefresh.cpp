#include "desktoprefresh.h"

#include "processcontrol.h"
#include "processgroup.h"

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
    // Never a "show" found on the search path: an empty directory is the current one.
    return ProcessGroup::run(ProcessControl(programDir).programFile(QLatin1String(ProcessControl::Show)), arguments,
                             quiet, g_limitMs);
}

} // namespace Platform
