#pragma once
// notify.db, the notices and festivals of the user and the shipped festivals: its file, the
// desktop's read-only view of it, and the list managers' reads and rewrites as UTF-8 bytes.
//
// All of them read with the configuration store's parser (IniDocument), so the lists hold
// exactly what the configuration store and the desktop read: a group runs from
// its first "[Name]" header to the next header of any group, and its entries are the
// "key = value" lines in it; blank lines, comments and other stray lines inside the group do not
// end it, a later header of the same name is not part of it, and of a key written twice the
// first entry counts. A line's key is the text before its first "=" without the blanks around
// it, its value the text after that "=" less one blank after it, so a value may hold "=" and
// ":".

#include "configsnapshot.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace NoticeDb {

struct Entry
{
    QByteArray key;
    QByteArray value;
    bool operator==(const Entry &o) const { return key == o.key && value == o.value; }
};

// The file of a program directory: "<programDir>notify.db".
QString filePath(const QString &programDir);
// The desktop's view of it for one picture (at most BoundedFile::kNotifyCap bytes).
ConfigSnapshot snapshot(const QString &programDir);

// The entries of a group in file order, each key once.
QList<Entry> readGroup(const QByteArray &text, const QByteArray &group);

// The entries of a group in a file; a missing or unreadable file has none.
QList<Entry> readGroupFile(const QString &path, const QByteArray &group);

// The text without the entries of the group whose key is `key` (every one of them, so that no
// older entry of the key comes to light). Every other line is kept byte for byte and in its
// order, and each is ended by "\n".
QByteArray removeFromGroup(const QByteArray &text, const QByteArray &group, const QByteArray &key);

enum class RewriteResult {
    Written,     // the file now holds the rewritten text
    Missing,     // there is no file, so there is nothing to remove
    Unreadable,  // the file could not be read; it was left as it was
    WriteFailed  // the new text could not be stored; the old file is whole
};

// Removes the entries of `key` from the group in the file, with the configuration store's own
// locked rewrite (StoreLock::rewrite): a crash leaves the old or the new file, and a file that
// cannot be read is never replaced.
RewriteResult rewriteGroupFile(const QString &path, const QByteArray &group, const QByteArray &key);

} // namespace NoticeDb
