#include "processgroup.h"

#include <QProcess>

#include <csignal>
#include <unistd.h>

namespace ProcessGroup {

void startOwn(QProcess &process)
{
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

void end(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    process.waitForFinished(2000);
}

} // namespace ProcessGroup
