#pragma once
// Configuration store: an ini-style file of "[Group]" headers and "key = value" lines.
//
// Every read passes its default. A file that does not exist reads as empty and is created by
// the first write. Every write is on disk when the call returns: it takes a lock, merges the
// change into what is on disk now (another program may have written meanwhile) and replaces
// the file atomically, so a crash leaves the old or the new file, never half of one.

#include "inidocument.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class ZConfig
{
public:
    explicit ZConfig(const QString &path, bool create = true);

    QString path() const { return m_path; }

    // A file of first entries: while the store's own file does not exist, reads come from the
    // seed, and the first write creates the file from the seed's entries and the change.
    void setSeed(const QString &seedPath);
    // Reads the file again, dropping what a failed write kept for this session.
    void reload();

    QString readEntry(const QString &group, const QString &key, const QString &def = QString()) const;
    int readNumEntry(const QString &group, const QString &key, int def = 0) const;
    bool readBoolEntry(const QString &group, const QString &key, bool def = false) const;
    QStringList readListEntry(const QString &group, const QString &key, QChar sep) const;

    // Each returns false when the file could not be written.
    bool writeEntry(const QString &group, const QString &key, const QString &value);
    bool writeEntry(const QString &group, const QString &key, const char *value);
    bool writeEntry(const QString &group, const QString &key, int value);
    bool writeEntry(const QString &group, const QString &key, bool value);
    bool writeEntry(const QString &group, const QString &key, const QStringList &value, QChar sep);
    bool removeEntry(const QString &group, const QString &key);

    bool hasEntry(const QString &group, const QString &key) const;
    QStringList groupList() const;

    // How stored texts read as numbers, flags and lists; shared by every reader of these files.
    static int toNumber(const QString &stored, int def);
    static bool toFlag(const QString &stored, bool def);
    static QStringList toList(const QString &stored, QChar sep);

    QStringList keyList(const QString &group) const;

private:
    template <typename Change>
    bool modify(Change change);
    void refresh() const;

    QString m_path;
    QString m_seed;
    mutable IniDocument m_doc;
    mutable QDateTime m_stamp;
    mutable qint64 m_size = -1;
    mutable bool m_loaded = false;
};
