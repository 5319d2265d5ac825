#include "readlog.h"

#include <QDir>

namespace ReadLog {

namespace {
thread_local Recording *t_open = nullptr;
}

void note(const QString &path)
{
    Recording *recording = t_open;
    if (!recording || path.isEmpty())
        return;
    const QString absolute = QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    if (!recording->m_ignored.isEmpty() && absolute.startsWith(recording->m_ignored))
        return;
    if (!recording->m_seen.contains(absolute)) {
        recording->m_seen.insert(absolute);
        recording->m_paths << absolute;
    }
}

Recording::Recording(const QString &ignoredFolder)
    : m_outer(t_open)
{
    if (!ignoredFolder.isEmpty())
        m_ignored = QDir::cleanPath(QDir::current().absoluteFilePath(ignoredFolder)) + QLatin1Char('/');
    t_open = this;
}

Recording::~Recording()
{
    t_open = m_outer;
}

} // namespace ReadLog
