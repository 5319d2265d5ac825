#pragma once
// Bounded reading of every file of the suite.
//
// No file may stall a program: show runs every minute without anyone watching, the daemons run
// for days, and the settings program must start on a broken machine. So only regular files are
// read (a FIFO, a device or a folder reads as missing, since reading one could block or never
// end), a file is opened without blocking and checked on the open descriptor, and each kind of
// file is read up to a size fitted to what it can hold.

#include <QByteArray>
#include <QString>

#include <memory>

class QFile;
struct stat;

namespace BoundedFile {

// Size caps in bytes. A theme, settings.ini, setup.ini or the weather file is a few KB; notify.db
// can hold 100,000 notices; pictures are read by the image reader, which streams them.
constexpr qint64 kConfigCap = 256 * 1024;
constexpr qint64 kWeatherCap = 64 * 1024;
constexpr qint64 kListCap = 4 * 1024 * 1024;
constexpr qint64 kNotifyCap = 16 * 1024 * 1024;
constexpr qint64 kPictureCap = 64 * 1024 * 1024;
constexpr qint64 kWallpaperCap = 1024 * 1024 * 1024;

// The cap of a file of the configuration store by its name: notify.db holds the notices, every
// other store file is a small settings file.
qint64 storeCap(const QString &path);

// True when the path names a regular file (after symbolic links).
bool isRegular(const QString &path);

// The file opened for reading when it is a regular file (after symbolic links), else null. The
// open never blocks; *st (when given) is the status of what was opened.
std::unique_ptr<QFile> openRegular(const QString &path, struct stat *st = nullptr);

// At most `cap` bytes of an open file from where it stands. `whole` (when given) is set to false
// when the file held more than the cap.
QByteArray readOpen(QFile &file, qint64 cap, bool *whole = nullptr);

// The first `cap` bytes of a regular file; empty for anything else. `whole` (when given) is
// set to false when the file held more than the cap.
QByteArray read(const QString &path, qint64 cap, bool *whole = nullptr);

} // namespace BoundedFile
