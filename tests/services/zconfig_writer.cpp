// Writes keys 0..N-1 of one group, one write each: the other half of the concurrent-writers test.
#include "zconfig.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 4)
        return 2;
    ZConfig config(QString::fromLocal8Bit(argv[1]));
    const QString group = QString::fromLocal8Bit(argv[2]);
    const int count = atoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        if (!config.writeEntry(group, QString::number(i), i))
            return 1;
    }
    return 0;
}
