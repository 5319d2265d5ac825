#include "idlefocus.h"

#include "atomicfile.h"
#include "boundedfile.h"

#include "device.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Asked every half second by the daemon. The file is looked up in its folder, which is kept
    // open: a whole path walked anew each time costs the daemon more than all else it does while
    // the idle screen stays as it is. A folder removed since is opened again by its path.
    static FocusCache cache;
    static QString programDir;
    static int folder = -1;
    static QByteArray name;
    const QString dir = Platform::programDir();
    if (dir != programDir || cache.path.isEmpty()) {
        programDir = dir;
        cache = FocusCache();
        const QFileInfo file(Platform::phonePath(QStringLiteral("/idle/focus")));
        cache.path = QFile::encodeName(file.filePath());
        name = QFile::encodeName(file.fileName());
        if (folder >= 0)
            ::close(folder);
        folder = -1;
    }
    const QByteArray &path = cache.path;
    struct stat st;
    struct stat folderStat;
    bool found = folder >= 0 && ::fstatat(folder, name.constData(), &st, 0) == 0;
    if (!found && (folder < 0 || ::fstat(folder, &folderStat) != 0 || folderStat.st_nlink == 0)) {
        if (folder >= 0)
            ::close(folder);
        folder = ::open(QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath()).constData(),
                        O_PATH | O_DIRECTORY | O_CLOEXEC);
        found = ::stat(path.constData(), &st) == 0;
    }
    if (!found) {
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
