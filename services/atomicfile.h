#pragma once
// Atomic replace of a file: the new content goes to a new file in the same folder, which is
// then renamed over the name, so a reader sees the old file or the new one, whole.
//
// The name itself is replaced: when it is a symbolic link, the link gives way to the new file
// and its target is left alone (a replace never writes through a link, wherever it points).
// The new file keeps the permissions of the regular file it replaces; a new name gets the
// usual ones (0666 less the umask).

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace AtomicFile {

// Writes what `write` puts into the device and replaces path with it; false (with *error set
// to a short reason) when anything fails, leaving what was at path as it was.
bool replace(const QString &path, const std::function<bool(QIODevice &)> &write, QString *error = nullptr);
bool replace(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace AtomicFile
