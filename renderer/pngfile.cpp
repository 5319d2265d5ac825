#include "pngfile.h"

#include <QIODevice>
#include <QImage>
#include <QSysInfo>

#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace PngFile {

namespace {

struct Sink
{
    QIODevice *device;
    bool failed = false;
};

void writeBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto *sink = static_cast<Sink *>(png_get_io_ptr(png));
    if (!sink->failed && sink->device->write(reinterpret_cast<const char *>(data), qint64(length)) != qint64(length))
        sink->failed = true;
}

void flushBytes(png_structp) {}

// The encoding proper. Kept free of objects with destructors: an error of the library returns
// here through longjmp.
bool encode(png_structp png, png_infop info, const QImage &pixels, bool alpha)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, png_uint_32(pixels.width()), png_uint_32(pixels.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, Z_BEST_SPEED);
    png_write_info(png, info);
    // The image's 32-bit pixels are 0xAARRGGBB words: B, G, R, A in memory on a little-endian
    // machine, A, R, G, B on a big-endian one.
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        png_set_bgr(png);
        if (!alpha)
            png_set_filler(png, 0, PNG_FILLER_AFTER);
    } else {
        if (alpha)
            png_set_swap_alpha(png);
        else
            png_set_filler(png, 0, PNG_FILLER_BEFORE);
    }
    for (int y = 0; y < pixels.height(); ++y)
        png_write_row(png, const_cast<png_bytep>(pixels.constScanLine(y)));
    png_write_end(png, info);
    return true;
}

} // namespace

bool write(QIODevice *device, const QImage &image, QString *error)
{
    if (image.isNull()) {
        *error = QStringLiteral("no picture");
        return false;
    }
    const bool alpha = image.hasAlphaChannel();
    const QImage pixels = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        *error = QStringLiteral("out of memory");
        return false;
    }
    Sink sink{device};
    png_set_write_fn(png, &sink, writeBytes, flushBytes);
    const bool encoded = encode(png, info, pixels, alpha);
    png_destroy_write_struct(&png, &info);
    if (!encoded || sink.failed) {
        *error = sink.failed ? device->errorString() : QStringLiteral("the encoder failed");
        return false;
    }
    return true;
}

} // namespace PngFile
