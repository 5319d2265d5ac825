#include "httpget.h"

#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

namespace Weather {

HttpGet::HttpGet(QObject *parent) : QObject(parent), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] { end(TimedOut); });
}

HttpGet::~HttpGet()
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        delete m_socket;
    }
}

void HttpGet::start(const QUrl &url, const QByteArray &userAgent, qint64 maxBody, int timeoutMs)
{
    m_url = url;
    m_userAgent = userAgent;
    m_maxBody = maxBody;
    m_buffer.clear();
    m_body.clear();
    m_headDone = m_chunked = false;
    m_length = m_chunkLeft = -1;
    m_status = 0;
    m_reason.clear();
    m_outcome = Pending;
    const bool tls = url.scheme() == QLatin1String("https");
    if (tls && !QSslSocket::supportsSsl()) {
        QTimer::singleShot(0, this, [this] { end(Failed, QStringLiteral("no TLS support for https")); });
        return;
    }
    m_socket = tls ? new QSslSocket : static_cast<QAbstractSocket *>(new QTcpSocket);
    connect(m_socket, &QAbstractSocket::readyRead, this, &HttpGet::readable);
    connect(m_socket, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        // The server closing the connection ends a body that runs to the end of the connection.
        if (error == QAbstractSocket::RemoteHostClosedError)
            return;
        end(Failed, m_socket->errorString());
    });
    connect(m_socket, &QAbstractSocket::disconnected, this, [this] {
        readable();
        if (m_outcome != Pending)
            return;
        if (m_headDone && !m_chunked && m_length < 0)
            end(Done);
        else
            end(Failed, m_headDone ? QStringLiteral("the answer was cut short")
                                   : QStringLiteral("the connection closed without an answer"));
    });
    m_timer->start(timeoutMs);
    const quint16 port = quint16(url.port(tls ? 443 : 80));
    if (tls) {
        auto *ssl = static_cast<QSslSocket *>(m_socket);
        connect(ssl, &QSslSocket::encrypted, this, &HttpGet::connected);
        ssl->connectToHostEncrypted(url.host(), port);
    } else {
        connect(m_socket, &QAbstractSocket::connected, this, &HttpGet::connected);
        m_socket->connectToHost(url.host(), port);
    }
}

void HttpGet::connected()
{
    QByteArray target = m_url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (m_url.hasQuery())
        target += '?' + m_url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = m_url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    if (m_url.port() >= 0)
        host += ':' + QByteArray::number(m_url.port());
    m_socket->write("GET " + target + " HTTP/1.1\r\nHost: " + host + "\r\nUser-Agent: " + m_userAgent
                    + "\r\nAccept-Encoding: identity\r\nConnection: close\r\n\r\n");
}

void HttpGet::readable()
{
    if (m_outcome != Pending || !m_socket)
        return;
    // Never more than the answer may hold is taken from the socket at once.
    while (m_outcome == Pending && m_socket->bytesAvailable() > 0) {
        m_buffer += m_socket->read(qMax<qint64>(kMaxHeadBytes, m_maxBody) + 1);
        if (!m_headDone && !parseHead())
            return;
        if (m_headDone && !parseBody())
            return;
    }
}

// Takes the status line and header lines off the buffer; false once the request has ended.
bool HttpGet::parseHead()
{
    while (!m_headDone) {
        if (m_buffer.size() >= 5 && !m_buffer.startsWith("HTTP/")) {
            end(Failed, QStringLiteral("the server's answer is not HTTP"));
            return false;
        }
        int endOfHead = m_buffer.indexOf("\r\n\r\n");
        int separator = 4;
        const int bare = m_buffer.indexOf("\n\n");
        if (bare >= 0 && (endOfHead < 0 || bare < endOfHead)) {
            endOfHead = bare;
            separator = 2;
        }
        if (endOfHead < 0 || endOfHead > kMaxHeadBytes) {
            if (m_buffer.size() <= kMaxHeadBytes)
                return true; // more to come
            end(Failed, QStringLiteral("the server's answer header is longer than %1 KB").arg(kMaxHeadBytes / 1024));
            return false;
        }
        const QList<QByteArray> lines = m_buffer.left(endOfHead).split('\n');
        m_buffer.remove(0, endOfHead + separator);
        const QList<QByteArray> statusLine = lines.first().trimmed().split(' ');
        bool ok = false;
        m_status = statusLine.value(1).toInt(&ok);
        if (!ok || m_status < 100 || m_status > 999) {
            end(Failed, QStringLiteral("the server's answer is not HTTP"));
            return false;
        }
        const QByteArray first = lines.first().trimmed();
        const int afterCode = first.indexOf(' ', first.indexOf(' ') + 1);
        m_reason = afterCode < 0 ? QByteArray() : first.mid(afterCode + 1);
        if (m_status < 200)
            continue; // an interim answer; the real one follows
        m_headDone = true;
        for (int i = 1; i < lines.size(); ++i) {
            const QByteArray &line = lines.at(i);
            const int colon = line.indexOf(':');
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (colon <= 0)
                continue;
            if (name == "content-length")
                m_length = value.toLongLong(&ok);
            if (name == "content-length" && (!ok || m_length < 0)) {
                end(Failed, QStringLiteral("the server's answer has no valid length"));
                return false;
            }
            if (name == "transfer-encoding" && value.toLower().contains("chunked"))
                m_chunked = true;
        }
        if (m_length > m_maxBody) {
            end(TooLarge);
            return false;
        }
    }
    return true;
}

// Moves what the buffer holds into the body; false once the request has ended.
bool HttpGet::parseBody()
{
    if (!m_chunked) {
        m_body += m_buffer;
        m_buffer.clear();
        if (m_length >= 0 && m_body.size() >= m_length) {
            m_body.truncate(m_length);
            end(Done);
        } else if (m_body.size() > m_maxBody) {
            end(TooLarge);
        }
        return m_outcome == Pending;
    }
    // Chunks: a hexadecimal size line, that many bytes, CR LF; size 0 ends the body.
    while (m_outcome == Pending) {
        if (m_chunkLeft == -1) {
            const int eol = m_buffer.indexOf('\n');
            if (eol < 0) {
                if (m_buffer.size() > 1024)
                    end(Failed, QStringLiteral("the server's answer has a broken chunk"));
                break;
            }
            bool ok = false;
            m_chunkLeft = m_buffer.left(eol).split(';').first().trimmed().toLongLong(&ok, 16);
            m_buffer.remove(0, eol + 1);
            if (!ok || m_chunkLeft < 0)
                end(Failed, QStringLiteral("the server's answer has a broken chunk"));
            else if (m_chunkLeft == 0)
                end(Done);
            else if (m_body.size() + m_chunkLeft > m_maxBody)
                end(TooLarge);
        } else if (m_chunkLeft > 0) {
            if (m_buffer.isEmpty())
                break;
            const qint64 n = qMin<qint64>(m_chunkLeft, m_buffer.size());
            m_body += m_buffer.left(int(n));
            m_buffer.remove(0, int(n));
            m_chunkLeft = n == m_chunkLeft ? -2 : m_chunkLeft - n;
        } else { // -2: the line end after a chunk
            const int eol = m_buffer.indexOf('\n');
            if (eol < 0)
                break;
            m_buffer.remove(0, eol + 1);
            m_chunkLeft = -1;
        }
    }
    return m_outcome == Pending;
}

void HttpGet::end(Outcome outcome, const QString &error)
{
    if (m_outcome != Pending)
        return;
    m_outcome = outcome;
    m_error = error;
    m_timer->stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    emit finished();
}

} // namespace Weather
