#include "notifydb.h"

#include "inidocument.h"
#include "storelock.h"

#include <QFile>

namespace NoticeDb {

QString filePath(const QString &programDir)
{
    return programDir + QStringLiteral("notify.db");
}

ConfigSnapshot snapshot(const QString &programDir)
{
    return ConfigSnapshot(filePath(programDir), BoundedFile::kNotifyCap);
}

QList<Entry> readGroup(const QByteArray &text, const QByteArray &group)
{
    QList<Entry> entries;
    for (const auto &[key, value] : IniDocument(text).groupEntries(group))
        entries.append({key, value});
    return entries;
}

QList<Entry> readGroupFile(const QString &path, const QByteArray &group)
{
    return readGroup(BoundedFile::read(path, BoundedFile::kNotifyCap), group);
}

QByteArray removeFromGroup(const QByteArray &text, const QByteArray &group, const QByteArray &key)
{
    IniDocument doc(text);
    doc.removeAll(group, key);
    QByteArray out = doc.toBytes();
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += '\n';
    return out;
}

RewriteResult rewriteGroupFile(const QString &path, const QByteArray &group, const QByteArray &key)
{
    const auto change = [&](const QByteArray &text) { return removeFromGroup(text, group, key); };
    switch (StoreLock::rewrite(path, change, false)) {
    case StoreLock::Rewrite::Written:
        return RewriteResult::Written;
    case StoreLock::Rewrite::Missing:
        return RewriteResult::Missing;
    case StoreLock::Rewrite::Unreadable:
        return RewriteResult::Unreadable;
    case StoreLock::Rewrite::LockFailed:
    case StoreLock::Rewrite::WriteFailed:
        break;
    }
    return RewriteResult::WriteFailed;
}

} // namespace NoticeDb
