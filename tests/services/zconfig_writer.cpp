// The other programs of the store tests.
//   zconfig_writer FILE GROUP COUNT [PREFIX]  writes keys PREFIX0..PREFIX<COUNT-1>, one write each;
//                                             exits 1 at the first write that reports failure
//   zconfig_writer --hold FILE SECONDS        takes the file's lock, prints "locked", reads the
//                                             file, waits, writes "Holder/done = 1" into what it
//                                             read and lets the lock go
#include "inidocument.h"
#include "storelock.h"
#include "zconfig.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QThread>

#include <cstdio>

namespace {

int hold(const QString &path, int seconds)
{
    StoreLock lock(path);
    if (!lock.lock())
        return 3;
    std::printf("locked\n");
    std::fflush(stdout);
    QFile in(path);
    IniDocument doc(in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray());
    QThread::sleep(seconds);
    doc.setValue(QStringLiteral("Holder"), QStringLiteral("done"), QStringLiteral("1"));
    QSaveFile out(path);
    const QByteArray bytes = doc.toBytes();
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit() ? 0 : 4;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 3 && args.at(0) == QLatin1String("--hold"))
        return hold(args.at(1), args.at(2).toInt());
    if (args.size() < 3)
        return 2;
    ZConfig config(args.at(0));
    const QString group = args.at(1);
    const int count = args.at(2).toInt();
    const QString prefix = args.value(3);
    for (int i = 0; i < count; ++i) {
        if (!config.writeEntry(group, prefix + QString::number(i), i))
            return 1;
    }
    return 0;
}
