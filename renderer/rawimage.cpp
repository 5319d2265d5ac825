#include "rawimage.h"

#include "posixfile.h"

#include "atomicfile.h"
#include "boundedfile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSysInfo>

#include <memory>
#include <sys/stat.h>

namespace RawImage {

namespace {

// Bytes of the file's start and end that the stamp's hash covers.
constexpr qint64 kSampleBytes = 16 * 1024;
// An indexed picture has at most this many colours.
constexpr quint32 kMaxColours = 256;
constexpr quint8 kLittleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? 1 : 0;

} // namespace

QByteArray stamp(const QString &path, QFile &file, const struct stat &st)
{
    const QFileInfo info(path);
    QByteArray key = QFile::encodeName(info.absoluteFilePath());
    struct stat link;
    if (::lstat(QFile::encodeName(path).constData(), &link) == 0 && S_ISLNK(link.st_mode))
        key += "->" + QFile::encodeName(info.canonicalFilePath());
    const qint64 size = qint64(st.st_size);
    QByteArray bytes;
    if (file.seek(0))
        bytes = file.read(kSampleBytes);
    if (size > kSampleBytes && file.seek(qMax(kSampleBytes, size - kSampleBytes)))
        bytes += file.read(kSampleBytes);
    key += '|' + QByteArray::number(size) + '|' + QByteArray::number(quint64(st.st_dev)) + ':'
        + QByteArray::number(quint64(st.st_ino)) + '|' + QByteArray::number(PosixFile::nanoseconds(st.st_mtim)) + '|'
        + QByteArray::number(PosixFile::nanoseconds(st.st_ctim)) + '|'
        + QByteArray::number(quint64(qHash(QByteArrayView(bytes), 0)), 16);
    return key;
}

QByteArray stamp(const QString &path)
{
    struct stat st;
    const std::unique_ptr<QFile> file = BoundedFile::openRegular(path, &st);
    return file ? stamp(path, *file, st) : QByteArray();
}

void write(QDataStream &out, const QImage &image)
{
    if (image.width() > kMaxSide || image.height() > kMaxSide) {
        out.setStatus(QDataStream::WriteFailed);
        return;
    }
    out << qint32(image.width()) << qint32(image.height()) << qint32(image.format())
        << qint32(image.bytesPerLine());
    const QList<QRgb> colours = image.colorTable();
    out << quint32(colours.size());
    for (QRgb colour : colours)
        out << quint32(colour);
    out.writeRawData(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes()));
}

QImage read(QDataStream &in)
{
    qint32 width = 0, height = 0, format = 0, bytesPerLine = 0;
    quint32 colourCount = 0;
    in >> width >> height >> format >> bytesPerLine >> colourCount;
    if (in.status() != QDataStream::Ok || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide
        || format <= QImage::Format_Invalid || format >= QImage::NImageFormats || colourCount > kMaxColours
        || bytesPerLine < 1) {
        in.setStatus(QDataStream::ReadCorruptData);
        return QImage();
    }
    // No allocation beyond what the stream still holds.
    const qint64 bytes = qint64(bytesPerLine) * height;
    if (!in.device() || in.device()->bytesAvailable() < bytes + 4 * qint64(colourCount)) {
        in.setStatus(QDataStream::ReadPastEnd);
        return QImage();
    }
    QList<QRgb> colours;
    for (quint32 i = 0; i < colourCount; ++i) {
        quint32 colour = 0;
        in >> colour;
        colours << colour;
    }
    QImage image(width, height, QImage::Format(format));
    if (image.isNull() || image.bytesPerLine() != bytesPerLine || image.sizeInBytes() != bytes) {
        in.setStatus(QDataStream::ReadCorruptData);
        return QImage();
    }
    if (!colours.isEmpty())
        image.setColorTable(colours);
    if (in.readRawData(reinterpret_cast<char *>(image.bits()), int(bytes)) != bytes) {
        in.setStatus(QDataStream::ReadPastEnd);
        return QImage();
    }
    return image;
}

bool readCache(const QString &path, quint32 mark, qint64 cap, const std::function<bool(QDataStream &)> &read)
{
    struct stat st;
    const std::unique_ptr<QFile> file = BoundedFile::openRegular(path, &st);
    if (!file || qint64(st.st_size) > cap)
        return false;
    QDataStream in(file.get());
    quint32 stored = 0;
    quint8 littleEndian = 0;
    in >> stored >> littleEndian;
    if (in.status() != QDataStream::Ok || stored != mark || littleEndian != kLittleEndian)
        return false;
    return read(in) && in.status() == QDataStream::Ok && in.atEnd();
}

bool writeCache(const QString &path, quint32 mark, const std::function<void(QDataStream &)> &write)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return AtomicFile::replace(path, [&](QIODevice &device) {
        QDataStream out(&device);
        out << mark << kLittleEndian;
        write(out);
        return out.status() == QDataStream::Ok;
    });
}

} // namespace RawImage
