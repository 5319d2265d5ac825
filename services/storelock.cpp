#include "storelock.h"

#include "atomicfile.h"
#include "boundedfile.h"

#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int g_patienceMs = 30000;

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

StoreLock::StoreLock(const QString &filePath)
    : m_lockPath(QFile::encodeName(filePath + QStringLiteral(".lock")))
{
}

bool StoreLock::lock()
{
    if (m_locked)
        return true;
    QElapsedTimer heldFor; // how long the lock file this writer waits on has been held
    heldFor.start();
    int pauseUs = 100;
    while (true) {
        if (m_fd < 0) {
            // Never through a link: a link under the lock's name is nobody's lock (holders
            // create plain files), so it goes, and its target is never created or opened.
            m_fd = ::open(m_lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
            if (m_fd < 0 && errno == ELOOP && ::unlink(m_lockPath.constData()) == 0)
                continue;
            if (m_fd < 0)
                return false; // the folder cannot hold a lock file
        }
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            // A holder removes the lock file before it lets go: a file that is no longer under
            // its name was a finished holder's, and the lock moved on to a new file.
            struct stat held, named;
            if (::fstat(m_fd, &held) == 0 && ::stat(m_lockPath.constData(), &named) == 0
                && sameFile(held, named)) {
                m_locked = true;
                return true;
            }
            ::close(m_fd);
            m_fd = -1;
            heldFor.restart();
            pauseUs = 100;
            continue;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        // The file stays open while waiting, so it stays the one this writer waits on.
        if (heldFor.elapsed() >= g_patienceMs)
            return false;
        // Short, jittered pauses: writes take milliseconds, and waiters that wake in step would
        // only find the lock taken by one of them again.
        QThread::usleep(pauseUs / 2 + QRandomGenerator::global()->bounded(pauseUs));
        pauseUs = qMin(pauseUs * 2, 2000);
    }
}

void StoreLock::unlock()
{
    if (m_locked)
        ::unlink(m_lockPath.constData());
    if (m_fd >= 0)
        ::close(m_fd); // lets the lock go
    m_fd = -1;
    m_locked = false;
}

int StoreLock::patienceMs()
{
    return g_patienceMs;
}

void StoreLock::setPatienceMs(int ms)
{
    g_patienceMs = ms;
}

namespace {

// The whole of an existing file; false when it cannot be read.
// The whole of a regular file within the cap of its kind; false for anything that cannot be
// read whole (unreadable, not a regular file, larger than its cap), which must never be
// replaced by a file holding only a change.
bool readWhole(const QString &path, QByteArray *bytes)
{
    bytes->clear();
    const std::unique_ptr<QFile> file = BoundedFile::openRegular(path);
    if (!file)
        return false;
    bool whole = false;
    *bytes = BoundedFile::readOpen(*file, BoundedFile::storeCap(path), &whole);
    return whole && file->error() == QFileDevice::NoError;
}

// True when the name holds no file (a dangling link holds none: the replace takes the link).
bool isMissing(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT;
}

} // namespace

StoreLock::Rewrite StoreLock::rewrite(const QString &path, const Change &change, bool createMissing,
                                      const QString &seedPath)
{
    if (createMissing)
        QDir().mkpath(QFileInfo(path).absolutePath());
    StoreLock lock(path);
    if (!lock.lock())
        return Rewrite::LockFailed;

    // What is on disk now, not what the caller read earlier: another program may have written.
    QByteArray current;
    if (isMissing(path)) {
        if (!createMissing)
            return Rewrite::Missing;
        if (!seedPath.isEmpty() && !readWhole(seedPath, &current))
            current.clear();
    } else if (!readWhole(path, &current)) {
        return Rewrite::Unreadable;
    }
    const QByteArray bytes = change(current);
    // The name is replaced, a link with it: never written through.
    if (!AtomicFile::replace(path, bytes))
        return Rewrite::WriteFailed;
    return Rewrite::Written;
}
