#include "storelock.h"

#include <QElapsedTimer>
#include <QFile>
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
