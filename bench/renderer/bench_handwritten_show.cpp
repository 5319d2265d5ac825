// A hand-written program that draws the all-items picture with bare QPainter calls and writes
// it as show does, as a yardstick for show as a whole process. It links Qt Core and Gui and
// nothing of the suite, and maps the phone font itself.
// Usage: bench_handwritten_show --prepare          (writes the all-items files into its folder)
//        bench_handwritten_show [--default-compression]

#include "allitems.h"

#include <QDir>
#include <QFont>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath() + QLatin1Char('/');
    if (argc > 1 && std::strcmp(argv[1], "--prepare") == 0)
        return AllItems::prepare(dir) ? 0 : 1;
    const bool naive = argc > 1 && std::strcmp(argv[1], "--default-compression") == 0;

    QFont::insertSubstitutions(QStringLiteral("AMCSL"), {QStringLiteral("DejaVu Sans"),
                                                         QStringLiteral("WenQuanYi Micro Hei"),
                                                         QStringLiteral("Noto Sans CJK SC")});
    const QImage picture = AllItems::drawBare(dir);
    const QString target = dir + QStringLiteral("device/idle/desktop.png");
    QDir().mkpath(QFileInfo(target).absolutePath());
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    QImageWriter writer(&file, "png");
    if (!naive)
        writer.setCompression(11); // as show writes it
    if (!writer.write(picture) || !file.commit())
        return 1;
    std::printf("%s\n", qPrintable(target));
    std::fflush(stdout);
    _exit(0); // as show ends once the picture is on disk
}
