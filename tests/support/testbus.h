#pragma once
// A session bus of the test's own, and objects served on it as a service would serve them.
// For tests that link Qt D-Bus.

#include "testenv.h"

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

namespace TestBus {

// The bus daemon of the test, ended when the test ends: asked first, so its socket (in the
// test's folder) goes with it.
class Daemon
{
public:
    ~Daemon()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    // Starts it and returns its address; empty when there is no bus daemon or it did not start.
    QByteArray start()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (program.isEmpty())
            return QByteArray();
        m_process.start(program, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                                  QStringLiteral("--address=unix:dir=") + TestEnv::dir()});
        if (!m_process.waitForStarted())
            return QByteArray();
        while (!m_process.canReadLine() && m_process.waitForReadyRead(20000)) {
        }
        return m_process.readLine().trimmed();
    }

private:
    QProcess m_process;
};

// An object served on a bus under a service name from a thread of its own, as it would be from
// its own process, while the test waits for the program that calls it. It owns the object.
class Stub
{
public:
    Stub(const QByteArray &address, const QString &service, const QString &path, QObject *object,
         QDBusConnection::RegisterOptions options = QDBusConnection::ExportAllSlots)
        : m_connection(QDBusConnection::connectToBus(QString::fromLatin1(address), service)), m_path(path), m_object(object)
    {
        m_ok = m_connection.registerObject(path, object, options) && m_connection.registerService(service);
        object->moveToThread(&m_thread);
        m_thread.start();
    }
    ~Stub()
    {
        m_connection.unregisterObject(m_path);
        QObject *object = m_object;
        QMetaObject::invokeMethod(object, [object] { delete object; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
        // The name may serve another bus in the next test.
        QDBusConnection::disconnectFromBus(m_connection.name());
    }
    bool ok() const { return m_ok; }
    // Runs `read` beside the object, in its thread.
    template <typename F>
    void read(F read) { QMetaObject::invokeMethod(m_object, read, Qt::BlockingQueuedConnection); }

private:
    QThread m_thread;
    QDBusConnection m_connection;
    QString m_path;
    QObject *m_object;
    bool m_ok = false;
};

} // namespace TestBus
