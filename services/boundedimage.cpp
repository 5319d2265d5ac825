#include "boundedimage.h"

#include <QFileInfo>
#include <QImageReader>

namespace BoundedFile {

QImage readImage(const QString &path)
{
    if (!isRegular(path) || QFileInfo(path).size() > kPictureCap)
        return QImage();
    QImageReader reader(path);
    return reader.read();
}

} // namespace BoundedFile
