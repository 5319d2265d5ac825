#pragma once
// The picture files a composition draws (theme pictures, weather icons), each opened once and
// decoded at most once however many items draw it.
//
// These are the suite's own pictures, PNG files as a rule: a file is read as the format its
// name says, so that the image reader does not ask every format it knows about the file; a
// file whose content is of another format, or of a format only an image plugin reads, is still
// read, by its content, with the plugins allowed (see ImagePlugins). Only regular files
// up to BoundedFile::kPictureCap are read.
//
// With a cache file (useCache), what was decoded is kept there as raw pixels under each file's
// stamp (RawImage::stamp), so the next run reads no picture file beyond the stamp's few bytes
// and decodes nothing. The cache holds the pictures of one run (the current theme's), at most
// kCacheCap bytes; it is rewritten only when a run decoded something, and a cache that is no
// regular file, too large, truncated or malformed is simply not used.

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

class QFile;

class PictureFiles
{
public:
    // The largest cache file, and the most pixel bytes it keeps.
    static constexpr qint64 kCacheCap = 8 * 1024 * 1024;

    // Takes decoded pictures from the cache file `path` (read at once) and keeps them there on
    // saveCache().
    void useCache(const QString &path);
    // Replaces the cache file with the pictures of this run when any of them was decoded; true
    // when nothing needed writing or the cache was written.
    bool saveCache();

    // The size the file holds, read from its header; invalid when it is no readable picture.
    QSize storedSize(const QString &path);
    // The picture, decoded at `size` when given and different from its own (the aspect ratio
    // not kept, as the image reader scales); a null image when it cannot be read.
    QImage picture(const QString &path, QSize size = QSize());

    // Decodings done so far (a file decoded once at a size counts once; a picture taken from
    // the cache counts none).
    int decodings() const { return m_decodings; }

private:
    struct Pictures
    {
        QSize stored;
        QHash<QSize, QImage> images; // by the size asked for
    };
    struct Entry
    {
        Pictures pictures;
        QByteArray stamp;            // empty without a cache
        std::shared_ptr<QFile> file; // open while pictures may still be decoded from it
    };
    Entry &entry(const QString &path);

    QHash<QString, Entry> m_entries;
    QHash<QByteArray, Pictures> m_cached; // by stamp
    QString m_cachePath;
    int m_decodings = 0;
};
