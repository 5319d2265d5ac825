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
    enum Mode { Answer, Silent, Trickle };

    ForecastServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
    }

    void answer(int status, const QByteArray &body)
    {
        mode = Answer;
        m_status = status;
        m_body = body;
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
        socket->write("HTTP/1.1 " + QByteArray::number(m_status) + " Whatever\r\nContent-Type: application/json\r\n"
                      "Content-Length: " + QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n");
        socket->write(m_body);
        socket->disconnectFromHost();
    }

    int m_status = 200;
    QByteArray m_body;
    QHash<QTcpSocket *, QByteArray> m_pending;
};
