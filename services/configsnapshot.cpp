#include "configsnapshot.h"

#include "readlog.h"
#include "zconfig.h"

#include <QFileInfo>


ConfigSnapshot::ConfigSnapshot(const QString &path, qint64 cap)
    : m_path(path)
{
    parse(BoundedFile::read(path, cap));
}

ConfigSnapshot ConfigSnapshot::fromText(const QByteArray &text, const QString &name)
{
    ConfigSnapshot snapshot;
    snapshot.m_path = name;
    snapshot.parse(text);
    return snapshot;
}

ConfigSnapshot ConfigSnapshot::seeded(const QString &path, const QString &seedPath, qint64 cap)
{
    // Only a file that is not there at all reads as the seed, as in ZConfig: an empty or
    // unreadable file is the user's, not a missing one.
    ReadLog::note(path);
    if (QFileInfo::exists(path))
        return ConfigSnapshot(path, cap);
    ConfigSnapshot snapshot(seedPath, cap);
    snapshot.m_path = path;
    return snapshot;
}

void ConfigSnapshot::parse(const QByteArray &text)
{
    const IniDocument doc(text);
    m_keys.clear();
    m_groups = doc.entries(&m_keys);
}

bool ConfigSnapshot::hasEntry(const QString &group, const QString &key) const
{
    const auto g = m_groups.constFind(group);
    return g != m_groups.constEnd() && g->contains(key);
}

QString ConfigSnapshot::readEntry(const QString &group, const QString &key, const QString &def) const
{
    const auto g = m_groups.constFind(group);
    if (g == m_groups.constEnd())
        return def;
    const auto v = g->constFind(key);
    return v == g->constEnd() ? def : *v;
}

int ConfigSnapshot::readNumEntry(const QString &group, const QString &key, int def) const
{
    return ZConfig::toNumber(readEntry(group, key), def);
}

bool ConfigSnapshot::readBoolEntry(const QString &group, const QString &key, bool def) const
{
    return ZConfig::toFlag(readEntry(group, key), def);
}

QStringList ConfigSnapshot::readListEntry(const QString &group, const QString &key, QChar sep) const
{
    return ZConfig::toList(readEntry(group, key), sep);
}

QStringList ConfigSnapshot::keyList(const QString &group) const
{
    return m_keys.value(group);
}
