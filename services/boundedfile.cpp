#include "boundedfile.h"

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
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting for one.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat own;
    struct stat *status = st ? st : &own;
    if (::fstat(fd, status) != 0 || !S_ISREG(status->st_mode)) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
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
