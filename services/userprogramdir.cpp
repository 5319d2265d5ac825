#include "userprogramdir.h"

#include "atomicfile.h"
#include "boundedfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace UserProgramDir {

const char *const InstalledMarker = "installed";

namespace {

// Written last into the user's directory: the installed directory it was made from, and the
// marker's text (the version), so an update of the installed suite completes it once more.
const QString kStamp = QStringLiteral(".made-from");

// A FIFO or device under the name reads as nothing rather than blocking the start.
QByteArray readSmall(const QString &path)
{
    return BoundedFile::read(path, 4096);
}

// A program is linked, so the user always runs the installed one; a script is data the
// settings program may rewrite (the rotator's start script), so it is copied like any file.
bool isProgram(const QFileInfo &info)
{
    return info.isExecutable() && !readSmall(info.filePath()).startsWith("#!");
}

bool fill(const QString &from, const QString &to, bool top)
{
    if (!QDir().mkpath(to))
        return false;
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (top && entry.fileName() == QLatin1String(InstalledMarker))
            continue;
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (!fill(entry.filePath(), target, false))
                return false;
            continue;
        }
        const QFileInfo existing(target);
        if (existing.exists())
            continue; // the user's own file, or one made before
        if (existing.isSymLink())
            QFile::remove(target); // a link into an installed directory that moved away
        if (isProgram(entry)) {
            if (!QFile::link(entry.absoluteFilePath(), target))
                return false;
        } else if (!QFile::copy(entry.filePath(), target)
                   || !QFile::setPermissions(target, entry.permissions() | QFile::ReadOwner | QFile::WriteOwner)) {
            return false;
        }
    }
    return true;
}

} // namespace

QString location()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/quillora")) + QLatin1Char('/');
}

bool mustNotWrite(const QString &dir)
{
    return QFileInfo::exists(dir + QLatin1String(InstalledMarker)) || !QFileInfo(dir).isWritable();
}

QString ensure(const QString &installedDir, const QString &userDir)
{
    const QByteArray wanted = installedDir.toUtf8() + '\n' + readSmall(installedDir + QLatin1String(InstalledMarker));
    if (readSmall(userDir + kStamp) == wanted)
        return userDir;
    if (!QDir().mkpath(userDir))
        return QString();
    QLockFile lock(userDir + kStamp + QStringLiteral(".lock"));
    // Stale only when its holder is gone, however long making the directory takes.
    lock.setStaleLockTime(0);
    if (!lock.tryLock(60000))
        return QString();
    // Another program may have made it while this one waited.
    if (readSmall(userDir + kStamp) == wanted)
        return userDir;
    if (!fill(installedDir, userDir, true))
        return QString();
    if (!AtomicFile::replace(userDir + kStamp, wanted))
        return QString();
    return userDir;
}

} // namespace UserProgramDir
