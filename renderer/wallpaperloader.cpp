#include "wallpaperloader.h"

#include "boundedfile.h"
#include "imageplugins.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSysInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <sys/stat.h>

namespace WallpaperLoader {

namespace {

// A 100 MP photo in 32 bits is 400 MB; decoding at the picture's size never allocates that
// much, but the reader checks the limit against the stated size of some formats.
constexpr int kAllocationLimitMB = 1024;
// The cache file: this mark and version, the byte order of the pixels, the source's key, the
// size, then the rows of 32-bit pixels (0xffRRGGBB words) one after the other.
constexpr quint32 kCacheMark = 0x57504331;
constexpr quint8 kLittleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? 1 : 0;
// The longest key a cache may hold (a path is at most 4 KB).
constexpr int kMaxKeyBytes = 16 * 1024;
// Bytes of the file's start and end that the key's hash covers.
constexpr qint64 kSampleBytes = 16 * 1024;

qint64 nanoseconds(const struct timespec &t)
{
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// A hash of the first and last kSampleBytes of a regular file; empty when unreadable.
QByteArray contentSample(const QString &path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QByteArray();
    QByteArray bytes = file.read(kSampleBytes);
    if (size > kSampleBytes && file.seek(qMax(kSampleBytes, size - kSampleBytes)))
        bytes += file.read(kSampleBytes);
    return QByteArray::number(quint64(qHash(QByteArrayView(bytes), 0)), 16);
}

} // namespace

Result decode(const QString &path, QSize target)
{
    Result result;
    if (!QFileInfo::exists(path)) {
        result.problem = QStringLiteral("no such file");
        return result;
    }
    if (!BoundedFile::isRegular(path)) {
        result.problem = QStringLiteral("not a regular file");
        return result;
    }
    if (QFileInfo(path).size() > BoundedFile::kWallpaperCap) {
        result.problem = QStringLiteral("file too large");
        return result;
    }
    if (QImageReader::allocationLimit() < kAllocationLimitMB)
        QImageReader::setAllocationLimit(kAllocationLimitMB);

    // A photo may be of any format: the image plugins are asked when the built-in formats
    // do not know it.
    QImageReader reader(path);
    reader.setAutoTransform(true); // photos stand as a viewer shows them
    QSize stored = reader.size();
    if (!stored.isValid()) {
        ImagePlugins::allow();
        reader.setFileName(path);
        stored = reader.size();
    }
    if (!stored.isValid() || stored.isEmpty()) {
        result.problem = reader.errorString();
        return result;
    }
    // The scaled size applies before the turn: a picture turned a quarter is decoded to the
    // target's size on its side.
    const QImageIOHandler::Transformations turn = reader.transformation();
    const bool sideways = turn & QImageIOHandler::TransformationRotate90;
    const QSize decoded = sideways ? target.transposed() : target;
    if (stored != decoded)
        reader.setScaledSize(decoded);
    QImage image = reader.read();
    if (image.isNull()) {
        result.problem = reader.errorString();
        return result;
    }
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    result.image = image.convertToFormat(QImage::Format_RGB32);
    result.asStored = stored == target && turn == QImageIOHandler::TransformationNone;
    return result;
}

QByteArray sourceKey(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return QByteArray();
    const QFileInfo info(path);
    QByteArray key = QFile::encodeName(info.absoluteFilePath());
    struct stat link;
    if (::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode))
        key += "->" + QFile::encodeName(info.canonicalFilePath());
    key += '|' + QByteArray::number(qint64(st.st_size)) + '|' + QByteArray::number(quint64(st.st_dev)) + ':'
        + QByteArray::number(quint64(st.st_ino)) + '|' + QByteArray::number(nanoseconds(st.st_mtim)) + '|'
        + QByteArray::number(nanoseconds(st.st_ctim)) + '|' + contentSample(path, qint64(st.st_size));
    return key;
}

QImage readCache(const QString &cachePath, const QByteArray &key, QSize target)
{
    if (key.isEmpty() || !BoundedFile::isRegular(cachePath))
        return QImage();
    QFile file(cachePath);
    const qint64 pixelBytes = qint64(target.width()) * target.height() * 4;
    if (file.size() > pixelBytes + kMaxKeyBytes + 64 || !file.open(QIODevice::ReadOnly))
        return QImage();
    QDataStream in(&file);
    quint32 mark = 0;
    quint8 littleEndian = 0;
    QByteArray storedKey;
    qint32 width = 0, height = 0;
    in >> mark >> littleEndian >> storedKey >> width >> height;
    if (in.status() != QDataStream::Ok || mark != kCacheMark || littleEndian != kLittleEndian
        || storedKey != key || QSize(width, height) != target || file.bytesAvailable() != pixelBytes)
        return QImage();
    QImage image(target, QImage::Format_RGB32);
    const qsizetype row = qsizetype(target.width()) * 4;
    for (int y = 0; y < target.height(); ++y)
        if (in.readRawData(reinterpret_cast<char *>(image.scanLine(y)), row) != row)
            return QImage();
    return image;
}

bool writeCache(const QString &cachePath, const QByteArray &key, const QImage &image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const QFileInfo info(cachePath);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QTemporaryFile file(info.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return false;
    QDataStream out(&file);
    out << kCacheMark << kLittleEndian << key << qint32(pixels.width()) << qint32(pixels.height());
    const int row = pixels.width() * 4;
    for (int y = 0; y < pixels.height(); ++y)
        out.writeRawData(reinterpret_cast<const char *>(pixels.constScanLine(y)), row);
    if (out.status() != QDataStream::Ok || !file.flush())
        return false;
    // A rename replaces whatever has the name, a link included, in one step.
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(info.absoluteFilePath()).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

Result load(const QString &path, QSize target, const QString &cachePath)
{
    const QByteArray key = sourceKey(path);
    Result result;
    result.image = readCache(cachePath, key, target);
    if (!result.image.isNull()) {
        result.fromCache = true;
        return result;
    }
    result = decode(path, target);
    if (!result.image.isNull() && !result.asStored && !key.isEmpty())
        writeCache(cachePath, key, result.image);
    return result;
}

} // namespace WallpaperLoader
