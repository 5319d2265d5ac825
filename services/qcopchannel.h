#pragma once
// Broadcast channels between the programs of one phone.
//
// A QCopChannel object subscribes its process to a named channel; every message sent on that
// channel, by any program of the same device, arrives as received(msg, data). Subscribers
// listen on local sockets under the device's run folder ("device/run/"), one socket per
// subscription, named after the channel, the process and a serial number. A sender hands the
// message to every socket of the channel in turn, so each subscriber gets every message, and the
// messages of one sender in the order they were sent. The socket of a program that died is
// found on the next send (nobody accepts) and removed; it never holds up the others.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;
class QTimer;

class QCopChannel : public QObject
{
    Q_OBJECT
public:
    explicit QCopChannel(const QByteArray &channel, QObject *parent = nullptr);
    ~QCopChannel() override;

    QByteArray channel() const { return m_channel; }
    // False when the subscription could not be set up (the run folder cannot be written).
    bool isListening() const;

    // True when a live program of this device subscribes to the channel.
    static bool isRegistered(const QByteArray &channel);
    // The number of live subscriptions of this device to the channel.
    static int subscriberCount(const QByteArray &channel);

    // Sends one message to every subscriber of the channel. Returns false when the run folder
    // cannot be used or a live subscriber could not be given the message; a channel nobody
    // listens to is not a failure. The message has been handed over (not necessarily handled)
    // when the call returns.
    static bool send(const QByteArray &channel, const QByteArray &msg,
                     const QByteArray &data = QByteArray());

    // The folder that holds the subscribers' sockets of this device, with trailing "/".
    static QString runDirectory();

signals:
    void received(const QByteArray &msg, const QByteArray &data);

private:
    void acceptConnections();
    void deliverPending();
    void dropHead();

    QByteArray m_channel;
    QLocalServer *m_server = nullptr;
    QString m_socketPath;
    QList<QLocalSocket *> m_queue; // connections in the order they arrived
    QTimer *m_stallTimer = nullptr;
    bool m_delivering = false;
};

// A key event of the hard-key channel "/hardkey/bc": the message "keyMsg(int,int)" whose data
// holds the key code, then the key state, as two 32-bit integers of a data stream. False for any
// other message or for data too short to hold both.
bool decodeKeyMsg(const QByteArray &msg, const QByteArray &data, qint32 *code, qint32 *state);
