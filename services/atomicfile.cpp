#include "atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicFile {

namespace {

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

bool replace(const QString &path, const std::function<bool(QIODevice &)> &write, QString *error)
{
    QString ignored;
    QString &reason = error ? *error : ignored;
    const QFileInfo info(path);
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    struct stat old;
    const bool hadFile = ::lstat(name.constData(), &old) == 0 && S_ISREG(old.st_mode);

    // A new name beside the old one, created exclusively, so no link or other file is opened.
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".")
                                 + QString::number(QRandomGenerator::global()->generate(), 36));
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        reason = errnoText(errno);
        return false;
    }
    if (hadFile)
        ::fchmod(fd, old.st_mode & 07777);
    QFile file;
    bool ok = file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) && write(file) && file.flush();
    if (!ok)
        reason = file.errorString();
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        reason = errnoText(errno);
    }
    file.close();
    if (ok && ::rename(temp.constData(), name.constData()) != 0) {
        ok = false;
        reason = errnoText(errno);
    }
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}

bool replace(const QString &path, const QByteArray &bytes, QString *error)
{
    return replace(path, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); }, error);
}

} // namespace AtomicFile
