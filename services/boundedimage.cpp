#include "boundedimage.h"

#include <QFile>
#include <QImageReader>

#include <sys/stat.h>

namespace BoundedFile {

QImage readImage(const QString &path)
{
    // The reader reads the very file that was checked, not whatever the path names later.
    struct stat st;
    const std::unique_ptr<QFile> file = openRegular(path, &st);
    if (!file || st.st_size > kPictureCap)
        return QImage();
    QImageReader reader(file.get());
    return reader.read();
}

} // namespace BoundedFile
