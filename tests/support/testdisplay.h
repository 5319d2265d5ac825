#pragma once
// A virtual X display of the test's own (Xvfb), ended with the object.

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

class TestDisplay
{
public:
    TestDisplay() = default;
    TestDisplay(const TestDisplay &) = delete;
    TestDisplay &operator=(const TestDisplay &) = delete;
    ~TestDisplay()
    {
        // Asked to end first: a display server that is killed leaves its socket in /tmp.
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished();
        }
    }

    static bool available() { return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty(); }

    // Starts the server with one screen of that size and depth; the display's name (":N"), or
    // empty when it did not start.
    QByteArray start(const QString &screen)
    {
        m_server.start(QStandardPaths::findExecutable(QStringLiteral("Xvfb")),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                        QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                        QStringLiteral("0"), screen});
        if (!m_server.waitForStarted() || !m_server.waitForReadyRead(20000))
            return QByteArray();
        while (!m_server.canReadLine() && m_server.waitForReadyRead(20000)) {
        }
        const QByteArray number = m_server.readLine().trimmed();
        return number.isEmpty() ? QByteArray() : ":" + number;
    }

private:
    QProcess m_server;
};
