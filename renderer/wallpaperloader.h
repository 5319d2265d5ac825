#pragma once
// The wallpaper as the desktop needs it: any JPEG or PNG, from one pixel to a phone's 100 MP
// photo, decoded straight to the picture's size (JPEG decodes at 1/2, 1/4 or 1/8 of its size
// on the way), turned as its EXIF orientation says, and stretched to fill the picture.
//
// Decoding a large photo takes a while, and show runs every minute, so the scaled picture is
// kept in a cache file of raw pixels together with the key of its source; a photo is decoded
// once per change, not once per minute. A source that already has the picture's size and
// stands upright is taken as it is, pixel for pixel, and kept in the cache all the same: reading
// raw pixels costs far less than decoding even a small PNG.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace WallpaperLoader {

struct Result
{
    QImage image;     // `target` sized; null when the picture could not be read
    QString problem;  // why it could not, for one line of the log
    bool fromCache = false;
    bool asStored = false; // the source had the target's size and needed no turn
};

// Reads the picture file at `path` scaled to `target`, without cache.
Result decode(const QString &path, QSize target);

// The key of a source picture in the cache: what tells one file's content from another's
// without decoding it. Absolute path, the target of a link, size, device and inode,
// modification and change times in nanoseconds, and a hash of the file's first and last
// bytes (file systems with coarse times, such as a memory card's); see RawImage::stamp. Empty
// when the file cannot be looked at.
QByteArray sourceKey(const QString &path);

// The cached picture of `cachePath` when it was made from a source of key `key` at size
// `target`; a null image otherwise (no regular file, too large, truncated or malformed).
QImage readCache(const QString &cachePath, const QByteArray &key, QSize target);
// Replaces the cache file with `image` under `key` (AtomicFile): a reader sees the old or the
// new cache, and a link at that name is replaced, never written through. False when it could
// not be written.
bool writeCache(const QString &cachePath, const QByteArray &key, const QImage &image);

// Like decode(), through the cache file `cachePath` (a cache that cannot be written is simply
// not kept).
Result load(const QString &path, QSize target, const QString &cachePath);

} // namespace WallpaperLoader
