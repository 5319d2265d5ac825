#include "boundedfile.h"

#include "posixfile.h"

#include "notifydb.h"
#include "readlog.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace BoundedFile {

qint64 storeCap(const QString &path)
{
    static const QString notices = QFileInfo(NoticeDb::filePath(QString())).fileName();
    return QFileInfo(path).fileName() == notices ? kNotifyCap : kConfigCap;
}

bool isRegular(const QString &path)
{
    if (path.isEmpty())
        return false;
    ReadLog::note(path);
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

std::unique_ptr<QFile> openRegular(const QString &path, struct stat *st)
{
    if (path.isEmpty())
        return nullptr;
    ReadLog::note(path);
    const int fd = PosixFile::openRegular(QFile::encodeName(path).toStdString(), st);
    if (fd < 0)
        return nullptr;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

QByteArray readOpen(QFile &file, qint64 cap, bool *whole)
{
    // One byte more than the cap tells a file of exactly the cap from a larger one.
    QByteArray bytes = file.read(cap + 1);
    if (whole)
        *whole = bytes.size() <= cap;
    if (bytes.size() > cap)
        bytes.truncate(int(cap));
    return bytes;
}

QByteArray read(const QString &path, qint64 cap, bool *whole)
{
    if (whole)
        *whole = true;
    const std::unique_ptr<QFile> file = openRegular(path);
    return file ? readOpen(*file, cap, whole) : QByteArray();
}

} // namespace BoundedFile
