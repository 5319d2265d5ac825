#include "folderlisting.h"

#include "device.h"

#include <QDir>
#include <QFileInfo>

namespace FolderListing {

QString resolve(const QString &folder)
{
    for (const char *root : {MemoryCard, PhoneMemory}) {
        const QString phoneRoot = QString::fromLatin1(root);
        const QString bare = phoneRoot.left(phoneRoot.size() - 1);
        if (folder == bare || folder.startsWith(phoneRoot))
            return Platform::phonePath(folder);
    }
    return folder;
}

QString imageFilter()
{
    return QStringLiteral("*.png *.jpg *.bmp");
}

QString join(const QString &current, const QString &name)
{
    if (current.endsWith(QLatin1Char('/')))
        return current + name;
    return current + QLatin1Char('/') + name;
}

Listing list(const QString &folder, const QString &nameFilter)
{
    Listing out;
    QDir dir(folder, nameFilter, QDir::Name | QDir::IgnoreCase,
             QDir::AllDirs | QDir::Dirs | QDir::Hidden);
    if (folder.isEmpty() || !dir.exists() || !dir.isReadable())
        return out;
    out.readable = true;

    QStringList folders = dir.entryList();
    std::sort(folders.begin(), folders.end());
    bool dotDot = false;
    for (const QString &name : std::as_const(folders)) {
        if (name == QLatin1String("."))
            continue;
        if (name == QLatin1String(".."))
            dotDot = true;
        out.folders.append(name);
    }

    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setNameFilters(imageFilter().split(QLatin1Char(' ')));
    QStringList files = dir.entryList();
    std::sort(files.begin(), files.end());
    for (const QString &name : std::as_const(files)) {
        if (name == QLatin1String("."))
            continue;
        out.imageNames.append(name);
    }

    out.canonicalPath = dir.canonicalPath();
    for (const QString &name : std::as_const(out.imageNames))
        out.imagePaths.append(join(out.canonicalPath, name));
    out.parentRowFirst = !dotDot && out.canonicalPath != QLatin1String("/")
                         && out.canonicalPath.size() > 1;
    return out;
}

} // namespace FolderListing
