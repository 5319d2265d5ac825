#include "zconfig.h"

#include "atomicfile.h"
#include "boundedfile.h"
#include "readlog.h"
#include "storelock.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

// The shipped defaults, read while the file itself does not exist yet.
QByteArray readSeed(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

bool ZConfig::Stamp::operator==(const Stamp &o) const
{
    return exists == o.exists && device == o.device && inode == o.inode && size == o.size
        && modifiedNs == o.modifiedNs && changedNs == o.changedNs;
}

namespace {

template <typename Stamp>
Stamp stampOf(const struct stat &st)
{
    Stamp s;
    s.exists = true;
    s.device = quint64(st.st_dev);
    s.inode = quint64(st.st_ino);
    s.size = qint64(st.st_size);
    s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return s;
}

} // namespace

ZConfig::ZConfig(const QString &path)
    : m_path(path)
{
    refresh();
}

ZConfig::~ZConfig() = default;

void ZConfig::refresh() const
{
    // Reads see what other programs wrote since: the file is parsed again when it changed.
    ReadLog::note(m_path);
    ReadLog::note(m_seed);
    struct stat st;
    const Stamp now = ::stat(QFile::encodeName(m_path).constData(), &st) == 0 ? stampOf<Stamp>(st)
                                                                             : Stamp();
    if (m_loaded && now == m_stamp)
        return;
    m_loaded = true;
    m_stamp = now; // a file that cannot be opened is tried again only once it changes
    m_pinned.reset();
    QByteArray text;
    if (now.exists) {
        // A FIFO, a device or a folder reads as an empty store, never as a wait; a file
        // larger than its cap is read up to the cap.
        if (auto file = BoundedFile::openRegular(m_path, &st)) {
            // The stamp of what is read, not of what stat() saw: the file may have been
            // replaced in between.
            m_stamp = stampOf<Stamp>(st);
            text = BoundedFile::readOpen(*file, BoundedFile::storeCap(m_path));
            m_pinned = std::move(file);
        }
    }
    if (!now.exists && !m_seed.isEmpty())
        text = readSeed(m_seed);
    m_doc.parse(text);
}

void ZConfig::setSeed(const QString &seedPath)
{
    m_seed = seedPath;
    reload();
}

void ZConfig::reload()
{
    m_loaded = false;
    refresh();
}

QString ZConfig::readEntry(const QString &group, const QString &key, const QString &def) const
{
    refresh();
    if (!m_doc.hasEntry(group, key))
        return def;
    return m_doc.value(group, key);
}

int ZConfig::toNumber(const QString &stored, int def)
{
    bool ok = false;
    const int n = stored.trimmed().toInt(&ok, 10);
    return ok ? n : def;
}

bool ZConfig::toFlag(const QString &stored, bool def)
{
    const QString v = stored.trimmed().toLower();
    if (v == QLatin1String("true") || v == QLatin1String("1") || v == QLatin1String("yes")
        || v == QLatin1String("on"))
        return true;
    if (v == QLatin1String("false") || v == QLatin1String("0") || v == QLatin1String("no")
        || v == QLatin1String("off"))
        return false;
    return def;
}

QStringList ZConfig::toList(const QString &stored, QChar sep)
{
    return stored.isEmpty() ? QStringList() : stored.split(sep);
}

int ZConfig::readNumEntry(const QString &group, const QString &key, int def) const
{
    return toNumber(readEntry(group, key), def);
}

bool ZConfig::readBoolEntry(const QString &group, const QString &key, bool def) const
{
    return toFlag(readEntry(group, key), def);
}

QStringList ZConfig::readListEntry(const QString &group, const QString &key, QChar sep) const
{
    return toList(readEntry(group, key), sep);
}

template <typename Change>
bool ZConfig::modify(Change change)
{
    if (m_path.isEmpty())
        return false; // a store on no file, such as a theme name that names none
    IniDocument doc;
    const StoreLock::Rewrite result = StoreLock::rewrite(
        m_path,
        [&](const QByteArray &current) {
            doc.parse(current);
            change(doc);
            return doc.toBytes();
        },
        true, m_seed);
    if (result == StoreLock::Rewrite::LockFailed)
        return false;
    m_loaded = false;
    refresh();
    if (result == StoreLock::Rewrite::Written)
        return true;
    if (result == StoreLock::Rewrite::Unreadable)
        change(doc); // on what could be read: nothing
    m_doc = doc; // the caller still sees its own value for this session
    return false;
}

bool ZConfig::writeEntry(const QString &group, const QString &key, const QString &value)
{
    if (!IniDocument::canHold(group, key))
        return false;
    return modify([&](IniDocument &doc) { doc.setValue(group, key, value); });
}

bool ZConfig::writeEntry(const QString &group, const QString &key, const char *value)
{
    return writeEntry(group, key, QString::fromUtf8(value));
}

bool ZConfig::writeEntry(const QString &group, const QString &key, int value)
{
    return writeEntry(group, key, QString::number(value));
}

bool ZConfig::writeEntry(const QString &group, const QString &key, bool value)
{
    return writeEntry(group, key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

bool ZConfig::writeEntry(const QString &group, const QString &key, const QStringList &value, QChar sep)
{
    return writeEntry(group, key, value.join(sep));
}

bool ZConfig::removeEntry(const QString &group, const QString &key)
{
    if (!hasEntry(group, key))
        return true;
    return modify([&](IniDocument &doc) { doc.removeEntry(group, key); });
}

bool ZConfig::hasEntry(const QString &group, const QString &key) const
{
    refresh();
    return m_doc.hasEntry(group, key);
}

QStringList ZConfig::groupList() const
{
    refresh();
    return m_doc.groupList();
}

QStringList ZConfig::keyList(const QString &group) const
{
    refresh();
    return m_doc.keyList(group);
}
