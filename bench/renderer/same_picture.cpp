// same_picture A B: ends with 0 when the two picture files hold the same pixels (whatever their
// encoding), 1 when they differ (saying where first), 2 when one cannot be read.
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: same_picture A B\n");
        return 2;
    }
    const QImage a = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
    const QImage b = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_ARGB32);
    if (a.isNull() || b.isNull()) {
        std::fprintf(stderr, "same_picture: cannot read %s\n", a.isNull() ? argv[1] : argv[2]);
        return 2;
    }
    if (a.size() != b.size()) {
        std::fprintf(stderr, "same_picture: %dx%d against %dx%d\n", a.width(), a.height(), b.width(), b.height());
        return 1;
    }
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                std::fprintf(stderr, "same_picture: first difference at (%d, %d): #%08x against #%08x\n", x, y,
                             a.pixel(x, y), b.pixel(x, y));
                return 1;
            }
    return 0;
}
