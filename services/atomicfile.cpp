#include "atomicfile.h"

#include "posixfile.h"

#include <QFile>
#include <QFileInfo>

namespace AtomicFile {

bool replace(const QString &path, const std::function<bool(QIODevice &)> &write, QString *error)
{
    QString written;
    std::string reason;
    const bool ok = PosixFile::replace(QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString(),
                                       [&write, &written](int fd) {
                                           QFile file;
                                           const bool done = file.open(fd, QIODevice::WriteOnly,
                                                                       QFileDevice::DontCloseHandle)
                                               && write(file) && file.flush();
                                           if (!done)
                                               written = file.errorString();
                                           return done;
                                       },
                                       &reason);
    if (!ok && error)
        *error = written.isEmpty() ? QString::fromLocal8Bit(reason.c_str()) : written;
    return ok;
}

bool replace(const QString &path, const QByteArray &bytes, QString *error)
{
    return replace(path, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); }, error);
}

} // namespace AtomicFile
