#include "noticedb.h"

#include "atomicfile.h"
#include "boundedfile.h"
#include "inidocument.h"
#include "storelock.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace NoticeDb {

QString filePath(const QString &programDir)
{
    return programDir + QStringLiteral("notify.db");
}

QList<QByteArray> splitLines(const QByteArray &text)
{
    if (text.isEmpty())
        return {};
    QList<QByteArray> lines = text.split('\n');
    if (text.endsWith('\n'))
        lines.removeLast();
    return lines;
}

bool splitEntry(const QByteArray &line, QByteArray *key, QByteArray *value)
{
    // The lists name an entry exactly as the configuration store reads it; a file written on
    // another system may end its lines with "\r\n".
    return IniDocument::splitEntry(line.endsWith('\r') ? line.chopped(1) : line, key, value);
}

bool isGroupHeader(const QByteArray &line, const QByteArray &group)
{
    // Only the header opens a group: a text that merely mentions a group's name, such as a
    // notice reading "CustomFestival party", must not make the entries after it look like
    // members of that group, where a delete would then remove them.
    QByteArray name;
    return IniDocument::isHeader(line, &name) && name == group;
}

namespace {

// Walks the lines of a text and tells for each whether it is an entry of the group, read as the
// configuration store and the desktop read it: the group is the part of the file from its first
// header to the next header of any group; blank lines, comments and stray lines inside it are
// passed over, and a later header of the same name opens nothing the store would look at.
template <typename Visit>
void walkGroup(const QList<QByteArray> &lines, const QByteArray &group, Visit visit)
{
    bool inGroup = false;
    bool seen = false;
    for (const QByteArray &line : lines) {
        QByteArray key, value;
        bool entry = false;
        QByteArray name;
        if (IniDocument::isHeader(line, &name)) {
            inGroup = !seen && name == group;
            seen = seen || inGroup;
        } else if (inGroup) {
            entry = splitEntry(line, &key, &value);
        }
        visit(line, entry, key, value);
    }
}

} // namespace

QList<Entry> readGroup(const QByteArray &text, const QByteArray &group)
{
    // The store reads the first entry of a key; a repeated key is not listed again.
    QList<Entry> entries;
    QSet<QByteArray> keys;
    walkGroup(splitLines(text), group,
              [&](const QByteArray &, bool entry, const QByteArray &key, const QByteArray &value) {
                  if (entry && !keys.contains(key)) {
                      keys.insert(key);
                      entries.append({key, value});
                  }
              });
    return entries;
}

QList<Entry> readGroupFile(const QString &path, const QByteArray &group)
{
    return readGroup(BoundedFile::read(path, BoundedFile::kNotifyCap), group);
}

QByteArray removeFromGroup(const QByteArray &text, const QByteArray &group, const QByteArray &key)
{
    QByteArray out;
    out.reserve(text.size() + 1);
    walkGroup(splitLines(text), group,
              [&](const QByteArray &line, bool entry, const QByteArray &k, const QByteArray &) {
                  if (entry && k == key)
                      return;
                  out += line;
                  out += '\n';
              });
    return out;
}

RewriteResult rewriteGroupFile(const QString &path, const QByteArray &group, const QByteArray &key)
{
    if (!QFileInfo::exists(path))
        return RewriteResult::Missing;

    // The same lock as the configuration store's writers, so an entry that the add and edit
    // dialogs or another program store meanwhile is not lost.
    StoreLock lock(path);
    if (!lock.lock())
        return RewriteResult::WriteFailed;

    bool whole = false;
    const QByteArray text = BoundedFile::read(path, BoundedFile::kNotifyCap, &whole);
    if (!whole || !BoundedFile::isRegular(path))
        return RewriteResult::Unreadable;

    const QByteArray out = removeFromGroup(text, group, key);
    if (!AtomicFile::replace(path, out))
        return RewriteResult::WriteFailed;
    return RewriteResult::Written;
}

} // namespace NoticeDb
