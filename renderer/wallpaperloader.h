#pragma once
// The wallpaper as the desktop needs it: any JPEG or PNG, from one pixel to a phone's 100 MP
// photo, decoded straight to the picture's size (JPEG decodes at 1/2, 1/4 or 1/8 of its size
// on the way), turned as its EXIF orientation says, and stretched to fill the picture.
//
// Decoding a large photo takes a while, and show runs every minute, so the scaled picture is
// kept in a cache file together with the key of its source (path, size and modification
// time); a photo is decoded once per change, not once per minute.

#include <QImage>
#include <QSize>
#include <QString>

namespace WallpaperLoader {

struct Result
{
    QImage image;     // `target` sized; null when the picture could not be read
    QString problem;  // why it could not, for one line of the log
    bool fromCache = false;
};

// Reads the picture file at `path` scaled to `target`, without cache.
Result decode(const QString &path, QSize target);

// The key of a source picture in the cache: its absolute path, size and modification time.
QString sourceKey(const QString &path);

// Like decode(), through the cache file `cachePath` (written atomically; a cache that cannot
// be written is simply not kept).
Result load(const QString &path, QSize target, const QString &cachePath);

} // namespace WallpaperLoader
