#pragma once
// The lock that every writer of a configuration file takes around its read, merge and replace.
//
// It is a kernel lock on a file beside the data file (its name followed by ".lock"), so the
// lock of a program that dies goes with it at once. A writer waits as long as the lock keeps
// changing hands; only when one holder keeps it for the patience time (30 s) does the writer
// give up, so a stuck program cannot freeze its peers for good. The lock file exists only while
// the lock is held.

#include <QByteArray>
#include <QString>

#include <functional>

class StoreLock
{
public:
    explicit StoreLock(const QString &filePath);
    ~StoreLock() { unlock(); }
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

    // Waits for the lock; false when one holder kept it for the whole patience time, or when
    // the lock file cannot be made at all.
    bool lock();
    void unlock();

    // The one way a shared file is changed. Under the file's lock, `change` turns what is on
    // disk now into the new text, which replaces the file atomically. A missing file is
    // `Missing` and left missing unless `createMissing`, when it reads as the seed file (or
    // empty without one). A file that exists but cannot be read is never replaced.
    enum class Rewrite { Written, Missing, Unreadable, LockFailed, WriteFailed };
    using Change = std::function<QByteArray(const QByteArray &current)>;
    static Rewrite rewrite(const QString &path, const Change &change, bool createMissing,
                           const QString &seedPath = QString());

    // How long one holder may keep the lock before a waiting writer gives up.
    static int patienceMs();
    static void setPatienceMs(int ms); // for tests

private:
    QByteArray m_lockPath;
    int m_fd = -1;
    bool m_locked = false;
};
