#include "testenv.h"

#include "qcopchannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace TestEnv {
namespace {

QString g_dir;

const QStringList kDataEntries = {
    QStringLiteral("resource"), QStringLiteral("theme"), QStringLiteral("device"),
    QStringLiteral("settings.ini"), QStringLiteral("notify.db"), QStringLiteral("wallpaper.list"),
    QStringLiteral("tarnwick.lin"), QStringLiteral("morvessa.lin"), QStringLiteral("show.png")};

void copyTree(const QString &from, const QString &to)
{
    const QFileInfo info(from);
    if (info.isDir()) {
        QDir().mkpath(to);
        const QStringList names = QDir(from).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString &name : names)
            copyTree(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
    } else if (info.exists()) {
        QFile::remove(to);
        QFile::copy(from, to);
        QFile(to).setPermissions(info.permissions() | QFile::WriteOwner);
    }
}

} // namespace

QString assembledDir()
{
    // CTest names the program directory; a test program started by hand takes the one of the
    // build it belongs to.
    const QByteArray given = qgetenv("QUILLORA_PROGDIR");
    return QString::fromLocal8Bit(given.isEmpty() ? QByteArray(QUILLORA_BUILD_PROGDIR) : given);
}

QString dir() { return g_dir; }

QString path(const QString &relative) { return g_dir + relative; }

void writeFile(const QString &relative, const QByteArray &bytes)
{
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(p));
    f.write(bytes);
}

QByteArray readFile(const QString &relative)
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void removeFile(const QString &relative)
{
    QFile::remove(path(relative));
}

void resetData()
{
    for (const QString &entry : kDataEntries) {
        const QString target = path(entry);
        if (QFileInfo(target).isDir())
            QDir(target).removeRecursively();
        else
            QFile::remove(target);
        copyTree(assembledDir() + QLatin1Char('/') + entry, target);
    }
    QDir(path(QStringLiteral("device/run"))).removeRecursively();
    QFile::remove(path(QStringLiteral("device/idle/desktop.png")));
}

bool plantHostile(const QString &kind, const QString &where, const QByteArray &start, qint64 size)
{
    const QString file = QFileInfo(where).isAbsolute() ? where : path(where);
    QFile::remove(file);
    QDir(file).removeRecursively();
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QByteArray native = QFile::encodeName(file);
    if (kind == QLatin1String("FIFO"))
        return ::mkfifo(native.constData(), 0600) == 0;
    if (kind == QLatin1String("device"))
        return ::symlink("/dev/zero", native.constData()) == 0;
    if (kind == QLatin1String("folder"))
        return QDir().mkpath(file);
    if (kind == QLatin1String("link")) {
        QFile target(file + QStringLiteral(".target"));
        return target.open(QIODevice::WriteOnly) && target.write(start) == start.size()
            && ::symlink(QFile::encodeName(QFileInfo(target).fileName()).constData(), native.constData()) == 0;
    }
    QFile regular(file);
    return regular.open(QIODevice::WriteOnly) && regular.write(start) == start.size() && regular.resize(qMax(size, qint64(start.size())));
}

QString installProgram(const QString &name)
{
    const QString target = path(name);
    copyTree(assembledDir() + QLatin1Char('/') + name, target);
    // show comes with its drawing program, which its lean front starts.
    if (name == QLatin1String("show"))
        copyTree(assembledDir() + QStringLiteral("/showdraw"), path(QStringLiteral("showdraw")));
    return target;
}

bool handledEarlierMessages(qint64 pid, int timeoutMs)
{
    const QString run = QCopChannel::runDirectory();
    const QStringList sockets = QDir(run).entryList({QStringLiteral("*-%1-*").arg(pid)}, QDir::System);
    const QDeadlineTimer deadline(timeoutMs);
    for (const QString &name : sockets) {
        // A wrong tag: the subscriber closes the connection as soon as it reads it.
        QLocalSocket socket;
        socket.connectToServer(run + name);
        if (!socket.waitForConnected(int(deadline.remainingTime())))
            return false;
        socket.write("none");
        socket.flush();
        if (socket.state() != QLocalSocket::UnconnectedState
            && !socket.waitForDisconnected(int(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    }
    return !sockets.isEmpty();
}

namespace {

// The system call the process's main thread is blocked in and its arguments, from
// /proc/PID/syscall ("NR ARG0 ... ARG5 SP PC"); empty while it runs or where it is not shown.
QList<qulonglong> blockedCall(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/syscall").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> fields = file.readAll().trimmed().split(' ');
    QList<qulonglong> call;
    for (const QByteArray &field : fields) {
        bool ok = false;
        call << field.toULongLong(&ok, 0);
        if (!ok)
            return {};
    }
    return call.size() >= 7 ? call : QList<qulonglong>();
}

} // namespace

bool canSeeWaits(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/syscall").arg(pid));
    return file.open(QIODevice::ReadOnly) && !file.readAll().isEmpty();
}

void forgetFakeClock(qint64 pid)
{
    if (pid <= 0)
        return;
    shm_unlink(QByteArray("/faketime_shm_" + QByteArray::number(pid)).constData());
    sem_unlink(QByteArray("/faketime_sem_" + QByteArray::number(pid)).constData());
}

QList<qint64> childrenOf(qint64 pid)
{
    QList<qint64> result;
    const QStringList tasks = QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        QFile f(QStringLiteral("/proc/%1/task/%2/children").arg(pid).arg(task));
        if (f.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> pids = f.readAll().simplified().split(' ');
            for (const QByteArray &p : pids)
                if (!p.isEmpty())
                    result << p.toLongLong();
        }
    }
    return result;
}

void killWithChildren(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0) {
        // Held still first, so it starts nothing more while its children are ended.
        ::kill(pid_t(pid), SIGSTOP);
        for (const qint64 child : childrenOf(pid))
            ::kill(pid_t(child), SIGKILL);
    }
    process.kill();
    process.waitForFinished(5000);
}

void killFakeClockProgram(QProcess &process)
{
    // A child between fork and exec (a show) would otherwise find the clock's objects gone
    // and make its own.
    const qint64 pid = process.processId();
    killWithChildren(process);
    forgetFakeClock(pid);
}

namespace {

// How the main thread of the program with this process id waits: 1 blocked in poll() with no
// timer pending (poll's timeout -1, ppoll's null timeout), 0 blocked in poll() with one, -1 not
// blocked in poll() at all.
int pollWait(qint64 pid)
{
    const QList<qulonglong> call = blockedCall(pid);
    if (call.isEmpty())
        return -1;
#ifdef SYS_poll
    if (call.at(0) == SYS_poll)
        return qint32(call.at(3)) == -1 ? 1 : 0;
#endif
#ifdef SYS_ppoll
    if (call.at(0) == SYS_ppoll)
        return call.at(3) == 0 ? 1 : 0;
#endif
    return -1;
}

bool waitsSo(qint64 pid, int wanted, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        if (pollWait(pid) == wanted)
            return true;
        QThread::msleep(5);
    } while (!deadline.hasExpired());
    return false;
}

} // namespace

bool sleepsUntilMessage(qint64 pid, int timeoutMs)
{
    return waitsSo(pid, 1, timeoutMs);
}

bool sleepsWithTimer(qint64 pid, int timeoutMs)
{
    return waitsSo(pid, 0, timeoutMs);
}

namespace {

// Everything a test and the programs it starts may write goes below its temporary directory:
// home, caches, configuration and the runtime folder of the toolkit. Under libfaketime the
// font library must see the real dates of its cache files, or it rewrites the machine's font
// cache with shifted ones.
void keepOffTheMachine(const QString &root)
{
    const struct { const char *variable; const char *folder; } folders[] = {
        {"HOME", "home"},
        {"XDG_CACHE_HOME", "home/.cache"},
        {"XDG_CONFIG_HOME", "home/.config"},
        {"XDG_DATA_HOME", "home/.local/share"},
        {"XDG_STATE_HOME", "home/.local/state"},
        {"XDG_RUNTIME_DIR", "runtime"},
    };
    for (const auto &f : folders) {
        const QString path = root + QLatin1String(f.folder);
        QDir().mkpath(path);
        qputenv(f.variable, QFile::encodeName(path));
    }
    QFile::setPermissions(root + QStringLiteral("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("NO_FAKE_STAT", "1");
    // As under CTest: no window opens, whatever display there is.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

int run(QObject *test, int argc, char **argv)
{
    if (!QFileInfo(assembledDir() + QStringLiteral("/settings.ini")).exists()) {
        std::fprintf(stderr, "SKIP: no program directory at \"%s\"; build the suite first, or run the "
                             "test through ctest or with QUILLORA_PROGDIR=<build>/Quillora\n",
                     qPrintable(assembledDir()));
        return qEnvironmentVariableIsEmpty("QUILLORA_PROGDIR") ? 0 : 2;
    }
    QTemporaryDir machine;
    QTemporaryDir tmp;
    if (!tmp.isValid() || !machine.isValid())
        return 2;
    keepOffTheMachine(machine.path() + QLatin1Char('/'));
    g_dir = tmp.path() + QLatin1Char('/');
    resetData();

    // The application is started by a path inside the temporary program directory, so every
    // relative file of the suite, and the device root, lie there.
    QByteArray argv0 = (g_dir + QStringLiteral("quillora")).toLocal8Bit();
    int appArgc = 1;
    char *appArgv[] = {argv0.data(), nullptr};
    ZApplication application(appArgc, appArgv);
    return QTest::qExec(test, argc, argv);
}

} // namespace TestEnv
