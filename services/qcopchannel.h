#pragma once
// Broadcast channels between the programs of one phone.
//
// A QCopChannel object subscribes its process to a named channel; every message sent on that
// channel, by any program of the same device, arrives as received(msg, data). Subscribers
// listen on local sockets in the device's run folder, one socket per subscription, named after
// the channel, the process and a serial number; the folder is private to the user. A sender
// hands the message to every socket of the channel in turn, one connection per message, so each
// subscriber gets every message, and the messages of one sender in the order they were sent.
//
// Nothing waits on a peer: a subscriber serves every connection on its own, so a sender that
// goes quiet halfway holds up no other message, and a sender never waits for a subscriber that
// is busy or stopped (its messages wait in the system's queue of that socket until it reads
// them; when that queue is full, the send reports failure at once). The socket of a program
// that died is found on the next send and removed.
//
// A subscriber outlives running out of file descriptors: it stops taking connections until one
// is free again, and the senders' messages wait in the queue of its socket meanwhile.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <initializer_list>

class QLocalSocket;
class QSocketNotifier;
class QTimer;

class QCopChannel : public QObject
{
    Q_OBJECT
public:
    // The largest message a channel carries: the message name and its data together, in bytes.
    static constexpr int MaxMessageSize = 64 * 1024;

    explicit QCopChannel(const QByteArray &channel, QObject *parent = nullptr);
    ~QCopChannel() override;

    QByteArray channel() const { return m_channel; }
    // False when the subscription could not be set up; errorString() then says why.
    bool isListening() const;
    QString errorString() const { return m_error; }

    // For a program that cannot work deaf: true when every channel listens; otherwise writes
    // one line per deaf channel to standard error, naming the program, and returns false.
    static bool checkListening(std::initializer_list<const QCopChannel *> channels);

    // True when a live program of this device subscribes to the channel.
    static bool isRegistered(const QByteArray &channel);
    // The number of live subscriptions of this device to the channel.
    static int subscriberCount(const QByteArray &channel);

    // Sends one message to every subscriber of the channel without waiting on any of them (at
    // most a few milliseconds in all). Returns false when the message is larger than
    // MaxMessageSize, when the run folder cannot be used, or when a live subscriber could not
    // be given the message; a channel nobody listens to is not a failure. The message has been
    // handed over (not necessarily handled) when the call returns. *reached (when given) is the
    // number of subscribers that were handed the message.
    static bool send(const QByteArray &channel, const QByteArray &msg,
                     const QByteArray &data = QByteArray(), int *reached = nullptr);

    // The folder that holds the subscribers' sockets of this device, with trailing "/".
    static QString runDirectory();

signals:
    void received(const QByteArray &msg, const QByteArray &data);

private:
    struct Connection
    {
        QLocalSocket *socket;
        QByteArray bytes;
    };

    void acceptConnections();
    void serve();
    void close(int index);

    QByteArray m_channel;
    int m_listener = -1; // the listening socket
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_retry = nullptr; // takes connections again after descriptors ran out
    QString m_socketPath;
    QString m_error;
    QList<Connection> m_connections; // in the order they arrived
    bool m_serving = false;
    bool m_again = false;
};

// A key event of the hard-key channel "/hardkey/bc": the message "keyMsg(int,int)" whose data
// holds the key code, then the key state, as two 32-bit integers of a data stream. False for any
// other message or for data too short to hold both.
bool decodeKeyMsg(const QByteArray &msg, const QByteArray &data, qint32 *code, qint32 *state);
