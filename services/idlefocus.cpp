#include "idlefocus.h"

#include "atomicfile.h"
#include "boundedfile.h"

#include "device.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

struct FocusCache
{
    QByteArray path;
    bool valid = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    int focus = 1;
};

bool sameFile(const FocusCache &cache, const struct stat &st)
{
    return cache.valid && cache.device == st.st_dev && cache.inode == st.st_ino
        && cache.size == st.st_size && cache.modified.tv_sec == st.st_mtim.tv_sec
        && cache.modified.tv_nsec == st.st_mtim.tv_nsec && cache.changed.tv_sec == st.st_ctim.tv_sec
        && cache.changed.tv_nsec == st.st_ctim.tv_nsec;
}

int parseFocus(const QByteArray &content)
{
    return content.trimmed() == "0" ? 0 : 1;
}

} // namespace

int UTIL_GetIdleFocus()
{
    // Asked every half second by the daemon: the path is made again only for another program
    // directory.
    static FocusCache cache;
    static QString programDir;
    const QString dir = Platform::programDir();
    if (dir != programDir || cache.path.isEmpty()) {
        programDir = dir;
        cache = FocusCache();
        cache.path = QFile::encodeName(Platform::phonePath(QStringLiteral("/idle/focus")));
    }
    const QByteArray &path = cache.path;
    struct stat st;
    if (::stat(path.constData(), &st) != 0) {
        cache.valid = false;
        return 1;
    }
    if (sameFile(cache, st))
        return cache.focus;

    const std::unique_ptr<QFile> file = BoundedFile::openRegular(QFile::decodeName(path));
    if (!file) {
        cache.valid = false;
        return 1;
    }
    cache.focus = parseFocus(file->read(16));
    cache.valid = true;
    cache.device = st.st_dev;
    cache.inode = st.st_ino;
    cache.size = st.st_size;
    cache.modified = st.st_mtim;
    cache.changed = st.st_ctim;
    return cache.focus;
}

namespace Platform {

bool setIdleFocus(bool idleInFront)
{
    const QString path = phonePath(QStringLiteral("/idle/focus"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    return AtomicFile::replace(path, idleInFront ? QByteArray("1") : QByteArray("0"));
}

} // namespace Platform
