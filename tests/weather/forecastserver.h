#pragma once
// A forecast service on 127.0.0.1 for the tests: answers every request the same way and keeps
// the request lines it saw. It listens once the application object exists.

#include <QByteArray>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

class ForecastServer : public QTcpServer
{
public:
    // Silent accepts and never answers; Trickle sends a header, then a byte a second; StuckHead
    // and StuckStatus send header lines or one status line forever, as fast as they are taken.
    enum Mode { Answer, Silent, Trickle, StuckHead, StuckStatus };

    ForecastServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                    m_pending.remove(socket);
                    socket->deleteLater();
                });
            }
        });
    }

    void answer(int status, const QByteArray &body, const QByteArray &reason = "Whatever")
    {
        mode = Answer;
        m_status = status;
        m_body = body;
        m_reason = reason;
    }

    QString urlTemplate() const
    {
        return QStringLiteral("http://127.0.0.1:") + QString::number(serverPort())
               + QStringLiteral("/v1/forecast?latitude=%1&longitude=%2");
    }

    Mode mode = Answer;
    QStringList requests;

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &seen = m_pending[socket];
        seen += socket->readAll();
        if (!seen.contains("\r\n\r\n"))
            return;
        requests << QString::fromLatin1(seen.left(seen.indexOf("\r\n")));
        m_pending.remove(socket);
        if (mode == Silent)
            return;
        if (mode == Trickle) {
            // A header, then one byte a second: each pause is short, the whole never ends.
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
            auto *timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket] { socket->write(" "); });
            timer->start(1000);
            return;
        }
        if (mode == StuckHead || mode == StuckStatus) {
            socket->write(mode == StuckHead ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 200 ");
            const QByteArray more = mode == StuckHead ? QByteArray("X-Padding: ").append(1000, 'x').append("\r\n")
                                                      : QByteArray(1024, 'x');
            connect(socket, &QTcpSocket::bytesWritten, socket, [socket, more] {
                if (socket->bytesToWrite() < 64 * 1024)
                    socket->write(more);
            });
            return;
        }
        socket->write("HTTP/1.1 " + QByteArray::number(m_status) + " " + m_reason + "\r\nContent-Type: application/json\r\n"
                      "Content-Length: " + QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n");
        socket->write(m_body);
        socket->disconnectFromHost();
    }

    int m_status = 200;
    QByteArray m_body;
    QByteArray m_reason;
    QHash<QTcpSocket *, QByteArray> m_pending;
};
