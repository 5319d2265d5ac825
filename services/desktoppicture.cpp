#include "desktoppicture.h"

#include "device.h"

#include <QFile>

#include <cstdio>
#include <sys/stat.h>

namespace DesktopPicture {

QString path()
{
    return Platform::phonePath(QStringLiteral("/idle/desktop.png"));
}

QString waitingPath()
{
    return Platform::phonePath(QStringLiteral("/idle/cache/desktop.next.png"));
}

bool commitWaiting()
{
    return std::rename(QFile::encodeName(waitingPath()).constData(), QFile::encodeName(path()).constData()) == 0;
}

QByteArray stamp()
{
    struct stat st;
    if (::stat(QFile::encodeName(path()).constData(), &st) != 0)
        return QByteArray();
    return QByteArray::number(quint64(st.st_dev)) + ':' + QByteArray::number(quint64(st.st_ino)) + ':'
        + QByteArray::number(qint64(st.st_ctim.tv_sec)) + '.' + QByteArray::number(qint64(st.st_ctim.tv_nsec));
}

void discardWaiting()
{
    QFile::remove(waitingPath());
}

} // namespace DesktopPicture
