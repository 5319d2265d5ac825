#include "wallpaperloader.h"

#include "boundedfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace WallpaperLoader {

namespace {

const QString kKeyText = QStringLiteral("Source");
// A 100 MP photo in 32 bits is 400 MB; decoding at the picture's size never allocates that
// much, but the reader checks the limit against the stated size of some formats.
constexpr int kAllocationLimitMB = 1024;
// zlib's fastest level on QImageWriter's scale (see show).
constexpr int kPngCompression = 11;

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

    QImageReader reader(path);
    reader.setAutoTransform(true); // photos stand as a viewer shows them
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty()) {
        result.problem = reader.errorString();
        return result;
    }
    // The scaled size applies before the turn: a picture turned a quarter is decoded to the
    // target's size on its side.
    const bool sideways = reader.transformation() & QImageIOHandler::TransformationRotate90;
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
    return result;
}

QString sourceKey(const QString &path)
{
    const QFileInfo info(path);
    return info.absoluteFilePath() + QLatin1Char('|') + QString::number(info.size()) + QLatin1Char('|')
        + QString::number(info.lastModified().toMSecsSinceEpoch());
}

Result load(const QString &path, QSize target, const QString &cachePath)
{
    const QString key = sourceKey(path);
    if (BoundedFile::isRegular(cachePath) && QFileInfo(cachePath).size() <= BoundedFile::kPictureCap) {
        QImageReader cached(cachePath, "png");
        if (cached.text(kKeyText) == key && cached.size() == target) {
            Result result;
            result.image = cached.read();
            if (!result.image.isNull()) {
                result.image = result.image.convertToFormat(QImage::Format_RGB32);
                result.fromCache = true;
                return result;
            }
        }
    }

    Result result = decode(path, target);
    if (result.image.isNull())
        return result;
    QImage stored = result.image;
    stored.setText(kKeyText, key);
    QDir().mkpath(QFileInfo(cachePath).absolutePath());
    QSaveFile file(cachePath);
    if (file.open(QIODevice::WriteOnly)) {
        QImageWriter writer(&file, "png");
        writer.setCompression(kPngCompression);
        if (writer.write(stored))
            file.commit();
        else
            file.cancelWriting();
    }
    return result;
}

} // namespace WallpaperLoader
