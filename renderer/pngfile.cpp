#include "pngfile.h"

#include "pngframe.h"

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

bool Bands::isValid() const
{
    const int count = size.isEmpty() ? 0 : (size.height() + kBandRows - 1) / kBandRows;
    return count > 0 && deflated.size() == count && sums.size() == count;
}

namespace {

// The rows of one band as the stream holds them: a filter byte (none) and R, G, B per pixel.
QByteArray bandRows(const QImage &pixels, int band)
{
    const int first = band * kBandRows;
    const int rows = qMin(kBandRows, pixels.height() - first);
    const int width = pixels.width();
    QByteArray bytes(qsizetype(rows) * (1 + 3 * width), Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(bytes.data());
    for (int y = first; y < first + rows; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        *out++ = 0;
        for (int x = 0; x < width; ++x) {
            *out++ = uchar(qRed(line[x]));
            *out++ = uchar(qGreen(line[x]));
            *out++ = uchar(qBlue(line[x]));
        }
    }
    return bytes;
}

// Compresses one band with `stream` (a raw deflate stream, reset here); the last band ends it.
// Empty when the library did not take the whole band.
QByteArray deflateBand(z_stream &stream, const QByteArray &rows, bool last)
{
    ::deflateReset(&stream);
    QByteArray out(qsizetype(::deflateBound(&stream, uLong(rows.size())) + 16), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(rows.constData()));
    stream.avail_in = uInt(rows.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const int status = ::deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
    if (status != (last ? Z_STREAM_END : Z_OK) || stream.avail_in != 0 || stream.avail_out == 0)
        return QByteArray();
    out.truncate(out.size() - qsizetype(stream.avail_out));
    return out;
}

} // namespace

Bands deflateBands(const QImage &image, const Bands *kept, int first, int last)
{
    Bands bands;
    if (image.isNull())
        return bands;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    bands.size = pixels.size();
    const int count = (pixels.height() + kBandRows - 1) / kBandRows;
    const bool reuse = kept && kept->isValid() && kept->size == bands.size;
    z_stream stream{};
    if (::deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return Bands();
    for (int band = 0; band < count; ++band) {
        const int top = band * kBandRows;
        const int bottom = top + kBandRows - 1;
        if (reuse && (bottom < first || top > last)) {
            bands.deflated << kept->deflated.at(band);
            bands.sums << kept->sums.at(band);
            continue;
        }
        const QByteArray rows = bandRows(pixels, band);
        const QByteArray deflated = deflateBand(stream, rows, band == count - 1);
        if (deflated.isEmpty()) {
            ::deflateEnd(&stream);
            return Bands();
        }
        bands.deflated << deflated;
        bands.sums << quint32(::adler32_z(1, reinterpret_cast<const Bytef *>(rows.constData()), size_t(rows.size())));
    }
    ::deflateEnd(&stream);
    return bands;
}

std::vector<PngFrame::BandSums> sumsOf(const Bands &bands)
{
    std::vector<PngFrame::BandSums> sums;
    for (qsizetype band = 0; band < bands.deflated.size(); ++band) {
        const QByteArray &bytes = bands.deflated.at(band);
        PngFrame::BandSums one;
        one.size = quint32(bytes.size());
        one.adler = bands.sums.at(band);
        one.crc = quint32(::crc32_z(0, reinterpret_cast<const Bytef *>(bytes.constData()), size_t(bytes.size())));
        one.rows = qMin(kBandRows, bands.size.height() - int(band) * kBandRows);
        sums.push_back(one);
    }
    return sums;
}

bool writeBands(QIODevice *device, const Bands &bands, QString *error)
{
    if (!bands.isValid()) {
        *error = QStringLiteral("no picture");
        return false;
    }
    const std::vector<PngFrame::BandSums> sums = sumsOf(bands);
    const std::string head = PngFrame::head(bands.size.width(), bands.size.height(), sums);
    QByteArray file(head.data(), qsizetype(head.size()));
    for (const QByteArray &band : bands.deflated)
        file.append(band);
    const std::string tail = PngFrame::tail(bands.size.width(), sums);
    file.append(tail.data(), qsizetype(tail.size()));
    if (device->write(file) != file.size()) {
        *error = device->errorString();
        return false;
    }
    return true;
}

} // namespace PngFile
