#pragma once
// The lock that every writer of a configuration file takes around its read, merge and replace.
//
// It is a kernel lock on a file beside the data file (its name followed by ".lock"), so the
// lock of a program that dies goes with it at once. A writer waits as long as the lock keeps
// changing hands; only when one holder keeps it for the patience time (30 s) does the writer
// give up, so a stuck program cannot freeze its peers for good. The lock file exists only while
// the lock is held.

#include <QString>

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

    // How long one holder may keep the lock before a waiting writer gives up.
    static int patienceMs();
    static void setPatienceMs(int ms); // for tests

private:
    QByteArray m_lockPath;
    int m_fd = -1;
    bool m_locked = false;
};
