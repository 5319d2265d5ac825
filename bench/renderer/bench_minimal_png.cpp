// The least a Qt program of the suite does: start offscreen and write a 240 x 320 PNG.
// Usage: bench_minimal_png <picture>

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QImage image(240, 320, QImage::Format_RGB32);
    image.fill(QColor(24, 26, 32));
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    QImageWriter writer(&file, "png");
    writer.setCompression(11); // as show writes it
    return writer.write(image) && file.commit() ? 0 : 1;
}
