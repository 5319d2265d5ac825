// Test helper: subscribes to the channels named as arguments and prints every message it gets,
// one line each: "<channel> <message> <data in hex>".
#include "qcopchannel.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList channels = QCoreApplication::arguments().mid(1);
    for (const QString &name : channels) {
        auto *channel = new QCopChannel(name.toUtf8(), &app);
        QObject::connect(channel, &QCopChannel::received, channel,
                         [channel](const QByteArray &msg, const QByteArray &data) {
                             std::printf("%s %s %s\n", channel->channel().constData(),
                                         msg.constData(), data.toHex().constData());
                             std::fflush(stdout);
                         });
    }
    return app.exec();
}
