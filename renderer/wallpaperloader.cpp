#include "wallpaperloader.h"

#include "boundedfile.h"
#include "imageplugins.h"
#include "rawimage.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <memory>

namespace WallpaperLoader {

namespace {

// A 100 MP photo in 32 bits is 400 MB; decoding at the picture's size never allocates that
// much, but the reader checks the limit against the stated size of some formats.
constexpr int kAllocationLimitMB = 1024;
// The cache file (RawImage::readCache): this mark and version, then the source's stamp and the
// picture as raw pixels (RawImage) in Format_RGB32.
constexpr quint32 kCacheMark = 0x57504332;
// The longest key a cache may hold (a path is at most 4 KB).
constexpr int kMaxKeyBytes = 16 * 1024;

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
    return RawImage::stamp(path);
}

QImage readCache(const QString &cachePath, const QByteArray &key, QSize target)
{
    if (key.isEmpty())
        return QImage();
    QImage image;
    const qint64 cap = qint64(target.width()) * target.height() * 4 + kMaxKeyBytes + 64;
    const bool read = RawImage::readCache(cachePath, kCacheMark, cap, [&](QDataStream &in) {
        QByteArray storedKey;
        in >> storedKey;
        if (storedKey != key)
            return false;
        image = RawImage::read(in);
        return image.size() == target && image.format() == QImage::Format_RGB32;
    });
    return read ? image : QImage();
}

bool writeCache(const QString &cachePath, const QByteArray &key, const QImage &image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    return RawImage::writeCache(cachePath, kCacheMark, [&](QDataStream &out) {
        out << key;
        RawImage::write(out, pixels);
    });
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
    // A source of the picture's size is kept too: reading the cache costs less than decoding it.
    if (!result.image.isNull() && !key.isEmpty())
        writeCache(cachePath, key, result.image);
    return result;
}

} // namespace WallpaperLoader
