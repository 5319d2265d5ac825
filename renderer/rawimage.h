#pragma once
// Decoded pictures kept in files of raw pixels, and the stamp that tells when such a file no
// longer matches the picture file it was made from.
//
// A raw picture is its width, height, pixel format and bytes per line, the colour table of an
// indexed format, then its bytes as they lie in memory, so reading it back costs one copy and
// draws exactly like the picture it was made from. Reading checks every figure against what the
// stream still holds: a truncated or malformed file reads as no picture, never as a crash or a
// huge allocation.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

class QDataStream;
class QFile;
struct stat;

namespace RawImage {

// The stamp of a picture file, taken on the file as opened (`st` its status): what tells one
// file's content from another's without decoding it. Absolute path, the target of a link, size,
// device and inode, modification and change times in nanoseconds, and a hash of the file's
// first and last bytes (file systems with coarse times, such as a memory card's). The file is
// left where it was read last; seek before reading it again.
QByteArray stamp(const QString &path, QFile &file, const struct stat &st);
// The same for a path; empty when it is no regular file.
QByteArray stamp(const QString &path);

// The largest side a raw picture may have: room for monitors side by side, and a picture of
// at most 1 GB.
constexpr int kMaxSide = 16384;

// Writes `image`; a picture with a side above kMaxSide is not written, and out.status() says so.
void write(QDataStream &out, const QImage &image);
// The next raw picture of `in`; a null image when the stream holds none (in.status() tells).
QImage read(QDataStream &in);

// A cache file of raw pictures begins with the mark of its kind (32 bits, big-endian) and the
// byte order of its pixels (8 bits: 1 when little-endian); the rest is the kind's own. It is
// read straight into the pictures, with no copy of the pixels on the way.
//
// Reads the cache file `path` when it is a regular file of at most `cap` bytes with `mark` and
// this machine's byte order: `read` takes the stream from there. True when `read` returned true
// with the stream whole and read to its very end.
bool readCache(const QString &path, quint32 mark, qint64 cap, const std::function<bool(QDataStream &)> &read);
// Replaces the cache file `path` (AtomicFile; its folder made when missing) with `mark`, the
// byte order and what `write` puts after them. False when it could not be written whole.
bool writeCache(const QString &path, quint32 mark, const std::function<void(QDataStream &)> &write);

} // namespace RawImage
