#include "qcopchannel.h"

#include "device.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QtEndian>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Every frame starts with this tag and the length of the rest, so a stray connection is never
// taken for a message and a frame too long for the channel is refused before it is read.
const quint32 kFrameTag = 0x51435032; // "QCP2"
const int kHeaderSize = 8;
// The three length fields of channel, message and data inside a frame.
const int kFieldsOverhead = 12;
// How long a subscriber keeps a connection that has not brought a whole message.
const int kIdleTimeoutMs = 2000;
// How long a sender waits for a subscriber's socket to take the rest of a message that did not
// fit at once (only large messages to a subscriber that reads slowly ever wait).
const int kWriteWaitMs = 3;
// Connections a subscriber's socket holds before it accepts them: the messages that wait for a
// busy or stopped subscriber.
const int kBacklog = 256;
// How long a subscriber that ran out of file descriptors waits before it takes connections again.
const int kRetryMs = 100;
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

// Makes the folder (its parent must exist) or finds it, and makes sure that it is a folder of
// this user that nobody else can enter: another user's folder, or a link, is refused.
bool makePrivateFolder(const QString &path, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        *error = QStringLiteral("cannot make the folder %1").arg(path);
        return false;
    }
    struct stat st;
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        *error = QStringLiteral("the folder %1 is not a folder of this user").arg(path);
        return false;
    }
    if ((st.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0) {
        *error = QStringLiteral("cannot make the folder %1 private").arg(path);
        return false;
    }
    return true;
}

// The run folder, made private; empty (and the reason in *error) when it cannot be used.
QString usableRunDirectory(QString *error)
{
    const QString dir = QCopChannel::runDirectory();
    const QString deviceRun = QDir::cleanPath(QDir(Platform::phonePath(QStringLiteral("/run/"))).absolutePath());
    if (dir == deviceRun + QLatin1Char('/')) {
        if (!QDir().mkpath(QFileInfo(deviceRun).path())) {
            *error = QStringLiteral("cannot make the folder %1").arg(QFileInfo(deviceRun).path());
            return QString();
        }
        return makePrivateFolder(deviceRun, error) ? dir : QString();
    }
    // The short folder of a deep program directory: a private folder of the user, then one
    // for the device inside it.
    const QString device = QDir::cleanPath(dir);
    return makePrivateFolder(QFileInfo(device).path(), error) && makePrivateFolder(device, error)
        ? dir
        : QString();
}

QByteArray encodeFrame(const QByteArray &channel, const QByteArray &msg, const QByteArray &data)
{
    QByteArray frame(kHeaderSize, '\0');
    {
        QDataStream out(&frame, QIODevice::WriteOnly | QIODevice::Append);
        out << channel << msg << data;
    }
    qToBigEndian(kFrameTag, frame.data());
    qToBigEndian(quint32(frame.size() - kHeaderSize), frame.data() + 4);
    return frame;
}

enum class Take { Incomplete, Message, Bad };

// Takes the one frame of a connection from the bytes that arrived so far.
Take takeFrame(const QByteArray &bytes, int maxPayload, QByteArray *channel, QByteArray *msg,
               QByteArray *data)
{
    if (bytes.size() >= 4 && qFromBigEndian<quint32>(bytes.constData()) != kFrameTag)
        return Take::Bad;
    if (bytes.size() < kHeaderSize)
        return Take::Incomplete;
    const quint32 length = qFromBigEndian<quint32>(bytes.constData() + 4);
    if (length > quint32(maxPayload))
        return Take::Bad;
    if (bytes.size() < kHeaderSize + qsizetype(length))
        return Take::Incomplete;
    QDataStream in(bytes.mid(kHeaderSize, length));
    in >> *channel >> *msg >> *data;
    return in.status() == QDataStream::Ok ? Take::Message : Take::Bad;
}

enum class Delivery { Delivered, Gone, Busy };

Delivery deliver(const QString &path, const QByteArray &frame)
{
    QLocalSocket socket;
    socket.connectToServer(path, QIODevice::WriteOnly);
    if (socket.state() != QLocalSocket::ConnectedState) {
        const QLocalSocket::LocalSocketError error = socket.error();
        socket.abort();
        // Nobody listens there any more: the program died without closing it. Otherwise its
        // queue of waiting connections is full: a subscriber that has not read for long.
        return error == QLocalSocket::ConnectionRefusedError
                || error == QLocalSocket::ServerNotFoundError
            ? Delivery::Gone
            : Delivery::Busy;
    }
    socket.write(frame);
    socket.flush();
    if (socket.bytesToWrite() > 0)
        socket.waitForBytesWritten(kWriteWaitMs);
    const bool whole = socket.bytesToWrite() == 0;
    // What was written waits in the socket for the subscriber even after this end is closed.
    socket.abort();
    return whole ? Delivery::Delivered : Delivery::Busy;
}

// A listening local socket at path, or -1.
int listenAt(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (native.size() >= int(sizeof(address.sun_path)))
        return -1;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0 || ::listen(fd, kBacklog) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

QString QCopChannel::runDirectory()
{
    QString dir = QDir::cleanPath(QDir(Platform::phonePath(QStringLiteral("/run/"))).absolutePath())
        + QLatin1Char('/');
    if (dir.toLocal8Bit().size() + kMaxSocketName <= kMaxSocketPath)
        return dir;
    // A program directory too deep for socket paths: the sockets move to a short folder of the
    // user that every program of the same device finds by the device root's canonical path.
    const QString root = Platform::deviceRoot();
    QDir().mkpath(root);
    const QByteArray canonical = QFileInfo(root).canonicalFilePath().toUtf8();
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString base = !runtime.isEmpty() && QFileInfo(runtime).isDir()
        ? runtime + QStringLiteral("/quillora-run")
        : QDir::tempPath() + QStringLiteral("/quillora-run-%1").arg(::geteuid());
    return base + QLatin1Char('/')
        + QString::fromLatin1(QCryptographicHash::hash(canonical, QCryptographicHash::Sha1)
                                  .toHex()
                                  .left(16))
        + QLatin1Char('/');
}

QCopChannel::QCopChannel(const QByteArray &channel, QObject *parent)
    : QObject(parent)
    , m_channel(channel)
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, [this] {
        m_notifier->setEnabled(true);
        acceptConnections();
    });

    const QString dir = usableRunDirectory(&m_error);
    if (dir.isEmpty())
        return;
    const QString name = QStringLiteral("%1-%2-%3")
                             .arg(channelKey(channel))
                             .arg(QCoreApplication::applicationPid())
                             .arg(g_serial++);
    // The socket is made under a hidden name and then renamed into place, so a sender never
    // finds a socket file that is not listening yet and takes it for a dead one.
    const QString hidden = dir + QLatin1Char('.') + name;
    QFile::remove(hidden);
    m_listener = listenAt(hidden);
    if (m_listener < 0) {
        m_error = QStringLiteral("cannot listen at %1: %2").arg(hidden, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    const QString visible = dir + name;
    if (::rename(QFile::encodeName(hidden).constData(), QFile::encodeName(visible).constData()) != 0) {
        m_error = QStringLiteral("cannot name the socket %1").arg(visible);
        QFile::remove(hidden);
        ::close(m_listener);
        m_listener = -1;
        return;
    }
    m_socketPath = visible;
    m_notifier = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QCopChannel::acceptConnections);
}

QCopChannel::~QCopChannel()
{
    delete m_notifier;
    if (m_listener >= 0)
        ::close(m_listener);
    if (!m_socketPath.isEmpty())
        QFile::remove(m_socketPath);
}

bool QCopChannel::isListening() const
{
    return !m_socketPath.isEmpty() && m_listener >= 0;
}

bool QCopChannel::checkListening(std::initializer_list<const QCopChannel *> channels)
{
    bool all = true;
    for (const QCopChannel *c : channels) {
        if (c->isListening())
            continue;
        std::fprintf(stderr, "%s: cannot listen on the channel \"%s\": %s\n",
                     qPrintable(QCoreApplication::applicationName()), c->channel().constData(),
                     qPrintable(c->errorString()));
        all = false;
    }
    return all;
}

void QCopChannel::acceptConnections()
{
    while (m_listener >= 0) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // Out of descriptors: the socket keeps listening, and the connections wait in
                // its queue until one is free again.
                m_notifier->setEnabled(false);
                m_retry->start(kRetryMs);
            }
            break; // EAGAIN: nothing more waits
        }
        auto *socket = new QLocalSocket(this);
        if (!socket->setSocketDescriptor(fd, QLocalSocket::ConnectedState, QIODevice::ReadOnly)) {
            ::close(fd);
            delete socket;
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, &QCopChannel::serve);
        connect(socket, &QLocalSocket::disconnected, this, &QCopChannel::serve);
        // A sender that never finishes its message is let go after a while. The timer ends with
        // its connection, so a subscriber with nothing else to do sleeps until the next message.
        auto *idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, &QLocalSocket::abort);
        idle->start(kIdleTimeoutMs);
        m_connections.append({socket, QByteArray()});
    }
    serve();
}

void QCopChannel::close(int index)
{
    QLocalSocket *socket = m_connections.takeAt(index).socket;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void QCopChannel::serve()
{
    // Every connection brings one message and is served on its own. Within one pass they are
    // read in the order they arrived: a sender writes a message whole before it connects for
    // the next, so its messages are handed on in the order it sent them. A slot that runs a
    // nested event loop does not get the next message before it returns.
    if (m_serving) {
        m_again = true;
        return;
    }
    m_serving = true;
    QPointer<QCopChannel> self(this);
    const int maxPayload = kFieldsOverhead + int(m_channel.size()) + MaxMessageSize;
    do {
        m_again = false;
        for (int i = 0; i < m_connections.size();) {
            QLocalSocket *socket = m_connections.at(i).socket;
            if (socket->state() == QLocalSocket::ConnectedState)
                socket->waitForReadyRead(0); // takes what the system holds for it now
            m_connections[i].bytes += socket->readAll();
            QByteArray channel, msg, data;
            const Take take = takeFrame(m_connections.at(i).bytes, maxPayload, &channel, &msg, &data);
            if (take == Take::Incomplete && socket->state() == QLocalSocket::ConnectedState) {
                ++i;
                continue;
            }
            close(i); // done, refused, or its sender left without a whole message
            if (take != Take::Message || channel != m_channel)
                continue;
            emit received(msg, data);
            if (!self)
                return;
        }
    } while (m_again);
    m_serving = false;
}

bool QCopChannel::send(const QByteArray &channel, const QByteArray &msg, const QByteArray &data, int *reached)
{
    if (reached)
        *reached = 0;
    if (msg.size() + data.size() > MaxMessageSize)
        return false;
    QString error;
    const QString dir = usableRunDirectory(&error);
    if (dir.isEmpty())
        return false;

    const QByteArray frame = encodeFrame(channel, msg, data);
    bool allReached = true;
    const QStringList names = socketsOf(dir, channel);
    for (const QString &name : names) {
        const QString path = dir + name;
        switch (deliver(path, frame)) {
        case Delivery::Delivered:
            if (reached)
                ++*reached;
            break;
        case Delivery::Gone:
            QFile::remove(path);
            break;
        case Delivery::Busy:
            allReached = false;
            break;
        }
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
