#include "processgroup.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QList>
#include <QProcess>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace ProcessGroup {

namespace {

// Waits for `pid` until it ends or `deadline` passes; true (with its status) when it ended.
bool waitFor(pid_t pid, const QDeadlineTimer &deadline, int *status)
{
    const int handle = int(::syscall(SYS_pidfd_open, pid, 0));
    for (;;) {
        const pid_t ended = ::waitpid(pid, status, WNOHANG);
        if (ended == pid || (ended < 0 && errno != EINTR))
            break;
        // A wait may come back early (a clock that runs fast for the process): the limit
        // counts by the deadline alone.
        if (deadline.hasExpired()) {
            if (handle >= 0)
                ::close(handle);
            return false;
        }
        const int ms = int(qMin<qint64>(deadline.remainingTime(), handle >= 0 ? 60000 : 5));
        if (handle >= 0) {
            pollfd ready{handle, POLLIN, 0};
            ::poll(&ready, 1, ms);
        } else {
            ::usleep(useconds_t(ms) * 1000);
        }
    }
    if (handle >= 0)
        ::close(handle);
    return true;
}

} // namespace

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

bool run(const QString &path, const QStringList &arguments, bool quiet, int limitMs)
{
    const QByteArray program = QFile::encodeName(path);
    QList<QByteArray> words{program};
    for (const QString &argument : arguments)
        words << QFile::encodeName(argument);
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // Spawned rather than forked: the caller's memory is neither copied nor marked to be copied
    // on its next write (the daemon redraws every minute). The program begins a process group of
    // its own, with the signals as a new program has them.
    posix_spawn_file_actions_t files;
    ::posix_spawn_file_actions_init(&files);
    if (quiet) {
        ::posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t reset;
    ::sigemptyset(&none);
    ::sigemptyset(&reset);
    ::sigaddset(&reset, SIGPIPE);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setsigdefault(&attributes, &reset);
    ::posix_spawnattr_setpgroup(&attributes, 0);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const QDeadlineTimer deadline(limitMs);
    pid_t pid = -1;
    const int started = ::posix_spawn(&pid, program.constData(), &files, &attributes, argv.data(), environ);
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&files);
    if (started != 0)
        return false;
    int status = 0;
    if (waitFor(pid, deadline, &status))
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    ::kill(-pid, SIGKILL);
    waitFor(pid, QDeadlineTimer(2000), &status);
    return false;
}

} // namespace ProcessGroup
