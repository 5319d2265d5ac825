#include "configsnapshot.h"

#include "inidocument.h"
#include "zconfig.h"


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

void ConfigSnapshot::parse(const QByteArray &text)
{
    if (text.isEmpty())
        return;
    QList<QByteArray> lines = text.split('\n');
    if (text.endsWith('\n'))
        lines.removeLast();

    QHash<QString, QString> *current = nullptr; // entries of the group being read, if it counts
    QStringList *keys = nullptr;
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        QByteArray name;
        if (IniDocument::isHeader(line, &name)) {
            const QString group = QString::fromUtf8(name);
            // A later header of the same name is not looked at by the store.
            current = m_groups.contains(group) ? nullptr : &m_groups[group];
            keys = current ? &m_keys[group] : nullptr;
            continue;
        }
        QByteArray key, value;
        if (!current || !IniDocument::splitEntry(line, &key, &value))
            continue;
        const QString k = QString::fromUtf8(key);
        if (!current->contains(k)) {
            current->insert(k, QString::fromUtf8(value.isNull() ? QByteArray("") : value));
            keys->append(k);
        }
    }
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
