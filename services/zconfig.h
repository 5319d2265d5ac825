#pragma once
// Configuration store: an ini-style file of "[Group]" headers and "key = value" lines.
//
// Every read passes its default. A file that does not exist reads as empty and is created by
// the first write. Every write is on disk when the call returns: it takes a lock, merges the
// change into what is on disk now (another program may have written meanwhile) and replaces
// the file atomically, so a crash leaves the old or the new file, never half of one. Every read
// sees the latest completed write of any program. A store on no file (an empty path) reads
// empty and refuses every write.

#include "inidocument.h"

#include <QString>
#include <QStringList>

#include <memory>

class QFile;

class ZConfig
{
public:
    explicit ZConfig(const QString &path);
    ~ZConfig();
    ZConfig(const ZConfig &) = delete;
    ZConfig &operator=(const ZConfig &) = delete;

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

    // Each returns false when the file could not be written, and refuses (false, nothing
    // written) a group or key that could not be read back (IniDocument::canHold).
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

    // What identifies one state of the file: every write replaces the file, so a new inode
    // tells a change even when size and times are the same.
    struct Stamp
    {
        bool exists = false;
        quint64 device = 0, inode = 0;
        qint64 size = -1, modifiedNs = 0, changedNs = 0;
        bool operator==(const Stamp &o) const;
    };

    QString m_path;
    QString m_seed;
    mutable IniDocument m_doc;
    mutable Stamp m_stamp;
    // The file last read, kept open so that its inode cannot be handed to a later file while
    // this object still compares with it.
    mutable std::unique_ptr<QFile> m_pinned;
    mutable bool m_loaded = false;
};
