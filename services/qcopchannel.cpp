#include "qcopchannel.h"

#include "device.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>

namespace {

// Every frame starts with this tag, so a stray connection is never taken for a message.
const quint32 kFrameTag = 0x51435031; // "QCP1"
// How long a sender waits for one subscriber, and how long a subscriber waits for the rest
// of a message whose first bytes arrived.
const int kSendTimeoutMs = 1000;
const int kStallTimeoutMs = 2000;
// Local socket paths are limited by the system (108 bytes with the terminating zero); the
// socket names below stay under this many bytes.
const int kMaxSocketName = 40;
const int kMaxSocketPath = 107;

std::atomic<int> g_serial{0};

// Channel names may hold "/" and any other byte; the socket names use a digest of them.
QString channelKey(const QByteArray &channel)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(channel, QCryptographicHash::Sha1).toHex().left(12));
}

QStringList socketsOf(const QString &dir, const QByteArray &channel)
{
    return QDir(dir).entryList({channelKey(channel) + QStringLiteral("-*")},
                               QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

// The process that made a socket, from its name "<key>-<pid>-<serial>".
qint64 ownerOf(const QString &socketName)
{
    const QStringList parts = socketName.split(QLatin1Char('-'));
    return parts.size() == 3 ? parts.at(1).toLongLong() : -1;
}

bool processAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

QString QCopChannel::runDirectory()
{
    QString dir = QDir::cleanPath(QDir(Platform::phonePath(QStringLiteral("/run/"))).absolutePath())
        + QLatin1Char('/');
    if (dir.toLocal8Bit().size() + kMaxSocketName <= kMaxSocketPath)
        return dir;
    // A program directory too deep for socket paths: the sockets move to a short folder that
    // every program of the same device finds by the device root's canonical path.
    const QString root = Platform::deviceRoot();
    QDir().mkpath(root);
    const QByteArray canonical = QFileInfo(root).canonicalFilePath().toUtf8();
    return QDir::tempPath() + QStringLiteral("/quillora-run-")
        + QString::fromLatin1(QCryptographicHash::hash(canonical, QCryptographicHash::Sha1)
                                  .toHex()
                                  .left(16))
        + QLatin1Char('/');
}

QCopChannel::QCopChannel(const QByteArray &channel, QObject *parent)
    : QObject(parent)
    , m_channel(channel)
    , m_server(new QLocalServer(this))
    , m_stallTimer(new QTimer(this))
{
    m_stallTimer->setSingleShot(true);
    m_stallTimer->setInterval(kStallTimeoutMs);
    connect(m_stallTimer, &QTimer::timeout, this, [this] {
        // The sender of the oldest message went quiet halfway: give up on that one message.
        if (!m_queue.isEmpty())
            dropHead();
        deliverPending();
    });
    connect(m_server, &QLocalServer::newConnection, this, &QCopChannel::acceptConnections);

    const QString dir = runDirectory();
    if (!QDir().mkpath(dir))
        return;
    const QString name = QStringLiteral("%1-%2-%3")
                             .arg(channelKey(channel))
                             .arg(QCoreApplication::applicationPid())
                             .arg(g_serial++);
    // The socket is made under a hidden name and then renamed into place, so a sender never
    // finds a socket file that is not listening yet and takes it for a dead one.
    const QString hidden = dir + QLatin1Char('.') + name;
    QFile::remove(hidden);
    if (!m_server->listen(hidden))
        return;
    const QString visible = dir + name;
    if (::rename(QFile::encodeName(hidden).constData(), QFile::encodeName(visible).constData()) != 0) {
        m_server->close();
        return;
    }
    m_socketPath = visible;
}

QCopChannel::~QCopChannel()
{
    m_server->close();
    if (!m_socketPath.isEmpty())
        QFile::remove(m_socketPath);
}

bool QCopChannel::isListening() const
{
    return !m_socketPath.isEmpty() && m_server->isListening();
}

void QCopChannel::acceptConnections()
{
    while (m_server->hasPendingConnections()) {
        QLocalSocket *socket = m_server->nextPendingConnection();
        connect(socket, &QLocalSocket::readyRead, this, &QCopChannel::deliverPending);
        connect(socket, &QLocalSocket::disconnected, this, &QCopChannel::deliverPending);
        m_queue.append(socket);
    }
    deliverPending();
}

void QCopChannel::dropHead()
{
    QLocalSocket *socket = m_queue.takeFirst();
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    m_stallTimer->stop();
}

void QCopChannel::deliverPending()
{
    // Messages are handed on strictly in the order their connections arrived. A slot that runs
    // a nested event loop does not get the next message before it returns.
    if (m_delivering)
        return;
    m_delivering = true;
    QPointer<QCopChannel> self(this);
    while (!m_queue.isEmpty()) {
        QLocalSocket *socket = m_queue.first();
        QDataStream in(socket);
        in.startTransaction();
        quint32 tag = 0;
        QByteArray channel, msg, data;
        in >> tag >> channel >> msg >> data;
        if (!in.commitTransaction()) {
            if (socket->state() == QLocalSocket::ConnectedState
                && in.status() == QDataStream::ReadPastEnd) {
                if (!m_stallTimer->isActive())
                    m_stallTimer->start();
                break; // the rest of this message is still on its way
            }
            dropHead(); // the sender left without a whole message, or sent garbage
            continue;
        }
        dropHead();
        if (tag != kFrameTag || channel != m_channel)
            continue;
        emit received(msg, data);
        if (!self)
            return;
    }
    m_delivering = false;
}

bool QCopChannel::send(const QByteArray &channel, const QByteArray &msg, const QByteArray &data)
{
    const QString dir = runDirectory();
    if (!QDir().mkpath(dir))
        return false;

    QByteArray frame;
    {
        QDataStream out(&frame, QIODevice::WriteOnly);
        out << kFrameTag << channel << msg << data;
    }

    bool allReached = true;
    const QStringList names = socketsOf(dir, channel);
    for (const QString &name : names) {
        const QString path = dir + name;
        QLocalSocket socket;
        socket.connectToServer(path);
        if (!socket.waitForConnected(kSendTimeoutMs)) {
            const QLocalSocket::LocalSocketError error = socket.error();
            if (error == QLocalSocket::ConnectionRefusedError
                || error == QLocalSocket::ServerNotFoundError) {
                // Nobody listens there any more: the program died without closing it.
                QFile::remove(path);
            } else {
                allReached = false;
            }
            continue;
        }
        socket.write(frame);
        while (socket.bytesToWrite() > 0) {
            if (!socket.waitForBytesWritten(kSendTimeoutMs))
                break;
        }
        if (socket.bytesToWrite() > 0)
            allReached = false;
        socket.disconnectFromServer();
    }
    return allReached;
}

int QCopChannel::subscriberCount(const QByteArray &channel)
{
    int count = 0;
    const QStringList names = socketsOf(runDirectory(), channel);
    for (const QString &name : names) {
        if (processAlive(ownerOf(name)))
            ++count;
    }
    return count;
}

bool QCopChannel::isRegistered(const QByteArray &channel)
{
    return subscriberCount(channel) > 0;
}

bool decodeKeyMsg(const QByteArray &msg, const QByteArray &data, qint32 *code, qint32 *state)
{
    if (msg != "keyMsg(int,int)")
        return false;
    QDataStream in(data);
    in >> *code >> *state;
    return in.status() == QDataStream::Ok;
}
