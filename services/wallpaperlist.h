#pragma once
// The wallpaper list file "wallpaper.list" of the program directory: one image path per line,
// each ended by "\n", in rotation order. A path that does not begin with "/" is relative to the
// folder of the list, so a program directory that is copied or moved keeps its wallpapers; a
// write names every file inside that folder relative to it. The file is always rewritten whole.
//
// The one reader and writer of the file, for the manager, the reorder dialog, the image picker
// and the rotator: blank lines carry no entry anywhere, and a path that would not stay one line
// of the file (a line break or another control character in it) never gets into it.

#include <QString>
#include <QStringList>

namespace WallpaperList {

// "<program directory>wallpaper.list", of this program's directory or of the one given.
QString listFile();
QString listFile(const QString &programDir);

enum class ReadStatus {
    Read,       // the file was read
    Missing,    // no such file: an empty list
    Unreadable, // the file exists but could not be read; it must not be overwritten
};

// Appends every line of the file (UTF-8, line end dropped) to `entries`, a relative line as the
// absolute path it names; blank lines carry no entry and are skipped. When the file cannot be opened, `entries` is left as it was.
ReadStatus readList(const QString &file, QStringList &entries);

// Replaces the file by the entries, each followed by "\n" (a file inside the list's folder
// relative to it), atomically: a failed write leaves
// the old file in place. An entry that is not storable (below) is left out. Returns false when
// nothing was written.
bool writeList(const QString &file, const QStringList &entries);

// True when a path can stand as one entry of the file: not empty, and free of line breaks and
// other control characters (U+0000 to U+001F and U+007F).
bool isStorable(const QString &path);

// The text after the last "/" of a path; the whole path when it holds no "/".
QString fileNameOf(const QString &path);

// Keeps a list in step with its file, and refuses to replace a file it could not read, so a
// file that is there but unreadable is never emptied by a rewrite.
class Store
{
public:
    explicit Store(const QString &file = listFile()) : m_file(file) {}

    QString file() const { return m_file; }
    // Reads the file, appending to `entries`.
    void read(QStringList &entries);
    // Rewrites the file with `entries`; false when it was not written.
    bool write(const QStringList &entries) const;
    bool writable() const { return !m_unreadable; }

private:
    QString m_file;
    bool m_unreadable = false;
};

} // namespace WallpaperList
