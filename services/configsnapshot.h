#pragma once
// A read-only configuration store for one rendering.
//
// The renderer reads a few hundred entries of the settings, the theme and the notice database
// while it draws one picture. This store reads its file once, parses it with the configuration
// store's own parser (IniDocument), and answers every read from memory with the same results
// ZConfig gives: the first "[Group]" of a name and the first entry of a key count, numbers and
// flags are converted the same way, and every read passes its default. A picture is thus drawn
// from one version of each file even if another program rewrites it meanwhile.

#include "boundedfile.h"
#include "inidocument.h"

#include <QString>
#include <QStringList>

class ConfigSnapshot
{
public:
    // Reads a regular file of at most `cap` bytes (see BoundedFile); anything else reads empty.
    explicit ConfigSnapshot(const QString &path, qint64 cap = BoundedFile::kConfigCap);
    // The view a ZConfig with this seed gives: while the file does not exist, the seed's entries.
    static ConfigSnapshot seeded(const QString &path, const QString &seedPath,
                                 qint64 cap = BoundedFile::kConfigCap);
    // A store over text held in memory.
    static ConfigSnapshot fromText(const QByteArray &text, const QString &name = QString());

    QString path() const { return m_path; }
    bool hasEntry(const QString &group, const QString &key) const;
    QString readEntry(const QString &group, const QString &key, const QString &def = QString()) const;
    int readNumEntry(const QString &group, const QString &key, int def = 0) const;
    bool readBoolEntry(const QString &group, const QString &key, bool def = false) const;
    QStringList readListEntry(const QString &group, const QString &key, QChar sep) const;
    // The keys of a group in the order of the file.
    QStringList keyList(const QString &group) const;

private:
    ConfigSnapshot() = default;
    void parse(const QByteArray &text);

    QString m_path;
    IniDocument::Entries m_groups;
    QHash<QString, QStringList> m_keys;
};
