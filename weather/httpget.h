#pragma once
// One HTTP GET on the calling thread, with every resource it uses ended when it ends.
//
// The forecast is a single small answer, so the request is plain: HTTP/1.1 with
// "Connection: close", no redirects, no compression. Everything is bounded: the whole request
// has one time limit, the status line and header lines together at most kMaxHeadBytes, the body
// at most the caller's cap. Whatever happens, the socket is closed and deleted before finished()
// and no thread is left behind, so hundreds of failed attempts leave nothing behind.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QAbstractSocket;
class QTimer;

namespace Weather {

class HttpGet : public QObject
{
    Q_OBJECT
public:
    enum Outcome { Pending, Done, TimedOut, TooLarge, Failed };

    static constexpr int kMaxHeadBytes = 16 * 1024;

    explicit HttpGet(QObject *parent = nullptr);
    ~HttpGet() override;

    // Starts the request; finished() follows once, from the event loop.
    void start(const QUrl &url, const QByteArray &userAgent, qint64 maxBody, int timeoutMs);

    Outcome outcome() const { return m_outcome; }
    int status() const { return m_status; }
    QByteArray reason() const { return m_reason; }
    QByteArray body() const { return m_body; }
    // The reason of a Failed outcome, as the network layer or the parser gave it.
    QString errorText() const { return m_error; }

signals:
    void finished();

private:
    void connected();
    void readable();
    bool parseHead();
    bool parseBody();
    void end(Outcome outcome, const QString &error = QString());

    QAbstractSocket *m_socket = nullptr;
    QTimer *m_timer = nullptr;
    QUrl m_url;
    QByteArray m_userAgent;
    qint64 m_maxBody = 0;
    QByteArray m_buffer;
    bool m_headDone = false;
    bool m_chunked = false;
    qint64 m_length = -1; // Content-Length; -1 when the body ends with the connection
    qint64 m_chunkLeft = -1;
    int m_status = 0;
    QByteArray m_reason;
    QByteArray m_body;
    QString m_error;
    Outcome m_outcome = Pending;
};

} // namespace Weather
