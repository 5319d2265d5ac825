#pragma once
// The files a piece of work looked at. While a recording is open, the suite's readers
// (BoundedFile, ConfigSnapshot, the language files, ...) note every path they open, read or look
// for, whether it is there or not. The desktop keeps its still part under what these files
// held, and draws it anew when any of them differs.

#include <QSet>
#include <QString>
#include <QStringList>

namespace ReadLog {

// Notes `path` in the open recording; nothing when none is open.
void note(const QString &path);

// Notes what is read from its construction to its end, in this thread. Paths under
// `ignoredFolder` (the caches made from other files, which are noted themselves) are left out.
// A recording opened inside another takes the notes until it ends.
class Recording
{
public:
    explicit Recording(const QString &ignoredFolder = QString());
    ~Recording();
    Recording(const Recording &) = delete;
    Recording &operator=(const Recording &) = delete;

    // Each path once, in the order first noted.
    const QStringList &paths() const { return m_paths; }

private:
    friend void note(const QString &path);
    QString m_ignored;
    QStringList m_paths;
    QSet<QString> m_seen;
    Recording *m_outer = nullptr;
};

} // namespace ReadLog
