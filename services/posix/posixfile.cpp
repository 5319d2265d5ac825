#include "posixfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PosixFile {

namespace {

std::string base36(std::uint32_t value)
{
    std::string text;
    do {
        text.insert(text.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36]);
        value /= 36;
    } while (value);
    return text;
}

std::uint32_t randomNumber()
{
    std::uint32_t value = 0;
    if (::getrandom(&value, sizeof value, GRND_NONBLOCK) != ssize_t(sizeof value)) {
        struct timespec t;
        ::clock_gettime(CLOCK_MONOTONIC, &t);
        value = std::uint32_t(t.tv_nsec) ^ (std::uint32_t(::getpid()) << 12);
    }
    return value;
}

} // namespace

bool replace(const std::string &path, const std::function<bool(int fd)> &write, std::string *error)
{
    std::string ignored;
    std::string &reason = error ? *error : ignored;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    struct stat old;
    const bool hadFile = ::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    // A new name beside the old one, created exclusively, so no link or other file is opened.
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = folder + '.' + name + '.' + base36(randomNumber());
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (hadFile)
        ::fchmod(fd, old.st_mode & 07777);
    bool ok = write(fd);
    if (!ok && reason.empty())
        reason = "the file could not be written";
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        reason = std::strerror(errno);
    }
    ::close(fd);
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        reason = std::strerror(errno);
    }
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

int openRegular(const std::string &path, struct stat *st)
{
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat own;
    struct stat *status = st ? st : &own;
    if (::fstat(fd, status) != 0 || !S_ISREG(status->st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool readRegular(const std::string &path, std::size_t cap, std::string *content, bool *whole)
{
    content->clear();
    if (whole)
        *whole = true;
    struct stat st;
    const int fd = openRegular(path, &st);
    if (fd < 0)
        return false;
    // Room for what the file holds and one byte more, which tells a file that grew since or one
    // over the cap; the room grows with a growing file, up to one byte over the cap.
    content->resize(std::min<std::size_t>(cap, std::size_t(st.st_size)) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == content->size()) {
            if (got > cap)
                break;
            content->resize(std::min(cap + 1, 2 * got));
        }
        const ssize_t n = ::read(fd, &(*content)[got], content->size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            content->clear();
            return false;
        }
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    ::close(fd);
    if (got > cap) {
        got = cap;
        if (whole)
            *whole = false;
    }
    content->resize(got);
    return true;
}

} // namespace PosixFile
