#include "device.h"

#include "userprogramdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringList>

#include <cstdio>

namespace Platform {

QString programDirOf(const QString &startPath)
{
    const int slash = startPath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : startPath.left(slash + 1);
}

QString programDirChosenFor(const QString &startDir)
{
    const QString dir = QDir::cleanPath(QDir::current().absoluteFilePath(startDir)) + QLatin1Char('/');
    const QString started = dir == QLatin1String("//") ? QStringLiteral("/") : dir;
    if (!UserProgramDir::mustNotWrite(started))
        return started;
    const QString own = UserProgramDir::ensure(started);
    if (!own.isEmpty())
        return own;
    std::fprintf(stderr, "quillora: the program directory %s cannot be written, and no program directory of "
                         "the user's own could be made at %s\n",
                 qPrintable(started), qPrintable(UserProgramDir::location()));
    return started;
}

QString programDir()
{
    // Decided once per start path: the choice may make the user's directory. An application's
    // arguments stay as they are, so its start path is looked at once (the daemon asks twice a
    // second).
    static QMutex mutex;
    static QString decidedFor;
    static QString decided;
    static bool known = false;
    static const QCoreApplication *decidedIn = nullptr;
    const QMutexLocker locker(&mutex);
    const QCoreApplication *application = QCoreApplication::instance();
    if (known && application && application == decidedIn)
        return decided;
    decidedIn = application;
    const QStringList args = QCoreApplication::arguments();
    const QString startDir = args.isEmpty() ? QString() : programDirOf(args.first());
    if (!known || startDir != decidedFor) {
        decided = programDirChosenFor(startDir);
        decidedFor = startDir;
        known = true;
    }
    return decided;
}

QString deviceRoot()
{
    return programDir() + QStringLiteral("device/");
}

QString phonePath(const QString &phoneAbsolutePath)
{
    QString rel = phoneAbsolutePath;
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    return deviceRoot() + rel;
}

namespace {

// `path` relative to `dir`, both absolute and clean; empty when it does not lie inside `dir`.
QString relativeInside(const QString &path, const QString &dir)
{
    if (dir == QLatin1String("/"))
        return QString(); // a directory holding everything cannot move
    if (path == dir)
        return QStringLiteral(".");
    if (path.startsWith(dir) && path.at(dir.size()) == QLatin1Char('/'))
        return path.mid(dir.size() + 1);
    return QString();
}

} // namespace

QStringList storablePaths(const QStringList &paths, const QString &dir)
{
    if (!dir.startsWith(QLatin1Char('/')))
        return paths;
    const QString cleanDir = QDir::cleanPath(dir);
    QString canonicalDir; // looked up once, when first needed
    bool canonicalDirKnown = false;
    QHash<QString, QString> canonicalFolders; // entries mostly share a few folders
    QStringList stored;
    stored.reserve(paths.size());
    for (const QString &path : paths) {
        QString relative;
        if (path.startsWith(QLatin1Char('/'))) {
            const QString cleanPath = QDir::cleanPath(path);
            relative = relativeInside(cleanPath, cleanDir);
            if (relative.isEmpty()) {
                // The same place reached through a link (a canonical folder of the image
                // picker, a program directory started through a linked folder).
                if (!canonicalDirKnown) {
                    canonicalDir = QFileInfo(cleanDir).canonicalFilePath();
                    canonicalDirKnown = true;
                }
                const int slash = cleanPath.lastIndexOf(QLatin1Char('/'));
                const QString folder = cleanPath.left(qMax(slash, 1));
                auto known = canonicalFolders.find(folder);
                if (known == canonicalFolders.end())
                    known = canonicalFolders.insert(folder, QFileInfo(folder).canonicalFilePath());
                if (!canonicalDir.isEmpty() && !known->isEmpty())
                    relative = relativeInside(QDir::cleanPath(*known + cleanPath.mid(slash)), canonicalDir);
            }
        }
        stored << (relative.isEmpty() ? path : relative);
    }
    return stored;
}

QString storablePath(const QString &path, const QString &dir)
{
    return storablePaths({path}, dir).constFirst();
}

QString resolvedPath(const QString &stored, const QString &dir)
{
    if (stored.isEmpty() || stored.startsWith(QLatin1Char('/')))
        return stored;
    const QString base = dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
    if (stored == QLatin1String("."))
        return QDir::cleanPath(base);
    return base + stored;
}

QString shellQuote(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace Platform
