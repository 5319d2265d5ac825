#pragma once
// A private phone for each test program: a temporary program directory holding a copy of the
// suite's shipped data, with the application started by a path inside it.

#include "zapplication.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QtTest/QtTest>

namespace TestEnv {

// The temporary program directory, with trailing "/".
QString dir();
// Absolute path of a file inside it.
QString path(const QString &relative);
void writeFile(const QString &relative, const QByteArray &bytes);
QByteArray readFile(const QString &relative);
void removeFile(const QString &relative);
// Puts the shipped data files back as they were assembled (settings.ini, notify.db, ...,
// device/, theme/, resource/), dropping whatever a test changed.
void resetData();
// Puts what a broken machine may hold under a file's name (relative or absolute path): "FIFO"
// (opening one blocks), "device" (a link to /dev/zero, whose reads never end), "folder", or a
// symbolic "link" to `start` written in a file beside it ("NAME.target"); any other kind is a
// regular file of `size` bytes that starts with `start` (the rest zero bytes, sparse). False
// when it could not be made.
bool plantHostile(const QString &kind, const QString &path, const QByteArray &start = QByteArray(), qint64 size = 0);
// Copies a built program of the suite into the temporary program directory.
QString installProgram(const QString &name);
// The assembled program directory of the build.
QString assembledDir();
// Waits until the program with this process id has handled every message sent to it before the
// call, on each of its channels: a connection that brings no message is closed by a subscriber
// only once it has taken the connections that came before it. False when it did not within
// timeoutMs (or it listens on no channel).
bool handledEarlierMessages(qint64 pid, int timeoutMs = 5000);
// Waits until the main thread of the program with this process id sleeps in its event loop with
// no timer pending, so that only a message or a signal wakes it: the kernel shows it blocked in
// poll() without a timeout. False when it did not within timeoutMs. canSeeWaits() is false where
// the kernel does not show what a process waits for.
bool sleepsUntilMessage(qint64 pid, int timeoutMs = 5000);
// The same, with a timer pending: blocked in poll() with a timeout.
bool sleepsWithTimer(qint64 pid, int timeoutMs = 5000);
bool canSeeWaits(qint64 pid);
// A program preloading libfaketime shares its clock with its children through a semaphore and a
// shared memory object named after its process id, which only its return from main removes (not
// a kill, nor the quick _exit of show): forgetFakeClock() removes them once the program with
// this process id has ended, and killFakeClockProgram() kills such a program with the children
// it started, waits for its end and removes them. Such a program runs with NO_FAKE_STAT=1 in
// its environment (as every test sets it), or the font library rewrites the system's font cache.
void forgetFakeClock(qint64 pid);
void killFakeClockProgram(QProcess &process);
// The child processes of the program with this process id, read from /proc.
QList<qint64> childrenOf(qint64 pid);
// Kills a program together with the children it started (a show it waits for), so none of them
// writes on into the test's folders, and waits for its end.
void killWithChildren(QProcess &process);

int run(QObject *test, int argc, char **argv);

} // namespace TestEnv

#define QUILLORA_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        TestClass tc;                                                                              \
        return TestEnv::run(&tc, argc, argv);                                                      \
    }
