#include "boundedfile.h"

#include <QFile>
#include <QFileInfo>

namespace BoundedFile {

bool isRegular(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile();
}

QByteArray read(const QString &path, qint64 cap, bool *whole)
{
    if (whole)
        *whole = true;
    if (!isRegular(path))
        return QByteArray();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray bytes = file.read(cap);
    if (whole && !file.atEnd())
        *whole = false;
    return bytes;
}

} // namespace BoundedFile
