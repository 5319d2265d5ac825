#pragma once
// File operations on the system's own calls, without Qt: shared by the suite's Qt code and by
// the lean front of show, which answers most of the daemon's minutes without loading Qt at all.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <sys/stat.h>
#include <functional>
#include <string>

namespace PosixFile {

// Atomic replace of `path`: what `write` puts into the file descriptor goes to a new file in
// the same folder, which is synced and then renamed over the name, so a reader sees the old
// file or the new one, whole. The name itself is replaced: a symbolic link there gives way to
// the new file and its target is left alone. The new file keeps the permissions of the regular
// file it replaces; a new name gets the usual ones (0666 less the umask). False (with *error set
// to a short reason, when given) when anything fails, leaving what was at `path` as it was.
bool replace(const std::string &path, const std::function<bool(int fd)> &write, std::string *error = nullptr);

// Opens a regular file for reading without waiting on anything else at the path (opening a
// FIFO would block): the descriptor (close-on-exec, blocking again), or -1 when the path holds
// no regular file. `st` (when given) receives its status.
int openRegular(const std::string &path, struct stat *st = nullptr);

// Reads a regular file, at most `cap` bytes of it; anything else (a FIFO, a device, a folder)
// is not opened. False when it is not a regular file or cannot be read; *whole (when given)
// is false when the file holds more than `cap` bytes.
bool readRegular(const std::string &path, std::size_t cap, std::string *content, bool *whole = nullptr);

// Nanoseconds of a time of stat().
inline std::int64_t nanoseconds(const struct timespec &t)
{
    return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace PosixFile
