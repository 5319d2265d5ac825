#pragma once
// Bounded reading of the files a picture is composed from.
//
// show runs every minute without anyone watching, so no file may stall it: only regular files
// are read (a FIFO, a device or a folder reads as missing, since opening one could block or
// never end), and each kind of file is read up to a size fitted to what it can hold.

#include <QByteArray>
#include <QString>

namespace BoundedFile {

// Size caps in bytes. A theme, settings.ini or the weather file is a few KB; notify.db can
// hold 100,000 notices; pictures are read by the image reader, which streams them.
constexpr qint64 kConfigCap = 256 * 1024;
constexpr qint64 kWeatherCap = 64 * 1024;
constexpr qint64 kNotifyCap = 16 * 1024 * 1024;
constexpr qint64 kPictureCap = 64 * 1024 * 1024;
constexpr qint64 kWallpaperCap = 1024 * 1024 * 1024;

// True when the path names a regular file (after symbolic links).
bool isRegular(const QString &path);

// The first `cap` bytes of a regular file; empty for anything else. `whole` (when given) is
// set to false when the file held more than the cap.
QByteArray read(const QString &path, qint64 cap, bool *whole = nullptr);

} // namespace BoundedFile
