#include "wallpaperlist.h"

#include "atomicfile.h"
#include "boundedfile.h"

#include "device.h"

#include <QFile>
#include <QFileInfo>
#include <QBuffer>

namespace WallpaperList {

QString listFile()
{
    return listFile(Platform::programDir());
}

QString listFile(const QString &programDir)
{
    return programDir + QStringLiteral("wallpaper.list");
}

namespace {

// The folder of the list, with trailing "/": relative entries name files below it.
QString folderOf(const QString &file)
{
    return QFileInfo(file).absolutePath() + QLatin1Char('/');
}

} // namespace

ReadStatus readList(const QString &file, QStringList &entries)
{
    const QString folder = folderOf(file);
    const std::unique_ptr<QFile> opened = BoundedFile::openRegular(file);
    if (!opened)
        return QFile::exists(file) ? ReadStatus::Unreadable : ReadStatus::Missing;
    // At most the list's cap, line by line.
    QByteArray text = BoundedFile::readOpen(*opened, BoundedFile::kListCap);
    QBuffer f(&text);
    f.open(QIODevice::ReadOnly);
    // Line by line as bytes, each decoded as UTF-8, so one odd line cannot shift the others.
    while (!f.atEnd()) {
        QByteArray line = f.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const QString entry = QString::fromUtf8(line);
        entries.append(Platform::resolvedPath(entry, folder));
    }
    if (opened->error() != QFileDevice::NoError)
        return ReadStatus::Unreadable;
    return ReadStatus::Read;
}

bool writeList(const QString &file, const QStringList &entries)
{
    // Files of the list's own folder, the program directory, are named relative to it.
    QByteArray bytes;
    for (const QString &entry : Platform::storablePaths(entries, folderOf(file))) {
        if (!isStorable(entry))
            continue;
        bytes += entry.toUtf8();
        bytes += '\n';
    }
    return AtomicFile::replace(file, bytes);
}

bool isStorable(const QString &path)
{
    if (path.isEmpty())
        return false;
    for (const QChar c : path) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

void Store::read(QStringList &entries)
{
    m_unreadable = readList(m_file, entries) == ReadStatus::Unreadable;
}

bool Store::write(const QStringList &entries) const
{
    if (m_unreadable)
        return false;
    return writeList(m_file, entries);
}

} // namespace WallpaperList
