// qcop CHANNEL MESSAGE [INT...]
// Sends one message on a broadcast channel of the phone of this program directory. The integers
// become the message data, each a 32-bit integer in a data stream, so
//     qcop /hardkey/bc 'keyMsg(int,int)' 4171 1
// is a press of key 4171. Integers may be written in decimal or, with "0x", in hexadecimal.
//
// qcop --key CODE
// presses and releases the hard key CODE: "keyMsg(int,int)" with CODE, 1 and then with CODE, 2
// on "/hardkey/bc", for a desktop shortcut to run.
//
// Exit status 0 when every listener was handed the message, 1 when one could not be, 2 for a
// wrong command line, 3 when a message (a key's press or release too) found nobody listening on
// its channel.
#include "qcopchannel.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>

#include <cstdio>

namespace {

int fail(const QByteArray &line, int code)
{
    std::fprintf(stderr, "qcop: %s\n", line.constData());
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 2 && args.at(0) == QLatin1String("--key")) {
        bool ok = false;
        const qint32 code = args.at(1).toInt(&ok, 0);
        if (!ok)
            return fail("not a 32-bit integer: " + args.at(1).toLocal8Bit(), 2);
        for (const qint32 state : {1, 2}) {
            QByteArray data;
            QDataStream out(&data, QIODevice::WriteOnly);
            out << code << state;
            int reached = 0;
            if (!QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", data, &reached))
                return fail("could not deliver the key to every listener", 1);
            // A press nobody heard is not followed by its release.
            if (reached == 0)
                return fail("nobody listens on /hardkey/bc; the key is lost", 3);
        }
        return 0;
    }
    if (args.size() < 2)
        return fail("usage: qcop CHANNEL MESSAGE [INT...] | qcop --key CODE", 2);

    QByteArray data;
    {
        QDataStream out(&data, QIODevice::WriteOnly);
        for (int i = 2; i < args.size(); ++i) {
            bool ok = false;
            const qint32 value = args.at(i).toInt(&ok, 0);
            if (!ok)
                return fail("not a 32-bit integer: " + args.at(i).toLocal8Bit(), 2);
            out << value;
        }
    }

    const QByteArray channel = args.at(0).toUtf8();
    int reached = 0;
    if (!QCopChannel::send(channel, args.at(1).toUtf8(), data, &reached))
        return fail("could not deliver the message on " + channel + " to every listener", 1);
    if (reached == 0)
        return fail("nobody listens on " + channel + "; the message is lost", 3);
    return 0;
}
