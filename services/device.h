#pragma once
// The emulated phone of one program directory.
//
// The phone's absolute paths ("/tmp/tmp.theme", "/ezxlocal/.weather", "/mmc/mmca1/", ...)
// live under "device/" inside the program directory, so two program directories are two
// independent phones. Every part of the suite maps a phone path through phonePath().

#include <QString>
#include <QStringList>

namespace Platform {

// The program directory, as an absolute path with trailing "/": the folder of the path by which
// the running program was started (its first argument; the working directory when that path
// has no "/"). When that folder must not be written (an installed program directory, or one
// the user cannot write), the user's own program directory instead (userprogramdir.h).
QString programDir();

// The choice of programDir() for a start folder (relative to the working directory).
QString programDirChosenFor(const QString &startDir);

// The start folder of a start path: cut after the last "/", the "/" kept; empty when the path
// has no "/".
QString programDirOf(const QString &startPath);

// Maps a phone path such as "/tmp/tmp.theme" to its place under the device root of this
// program directory ("<programDir>device/tmp/tmp.theme").
QString phonePath(const QString &phoneAbsolutePath);

// The device root itself, with trailing "/".
QString deviceRoot();

// A path as the files of the program directory `dir` store it: a path that lies inside `dir`
// (by its own name, or once the links among its folders are followed) relative to it, "." for
// `dir` itself, so the directory can be copied or moved and keeps naming its own files; any
// other path as it stands.
QString storablePath(const QString &path, const QString &dir);
// The same for many paths at once, each folder's links followed once.
QStringList storablePaths(const QStringList &paths, const QString &dir);

// The path a stored one names: a relative path below `dir` ("." is `dir` itself), an absolute
// one as it stands.
QString resolvedPath(const QString &stored, const QString &dir);

// Quotes a text for the POSIX shell: the result is one word whatever the text holds.
QString shellQuote(const QString &text);

} // namespace Platform
