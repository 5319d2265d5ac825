#pragma once
// The emulated phone of one program directory.
//
// The phone's absolute paths ("/tmp/tmp.theme", "/ezxlocal/.weather", "/mmc/mmca1/", ...)
// live under "device/" inside the program directory, so two program directories are two
// independent phones. Every part of the suite maps a phone path through phonePath().

#include <QString>

namespace Platform {

// The program directory: the path by which the running program was started (its first
// argument), cut after the last "/", the "/" kept; empty when that path has no "/".
QString programDir();

// The same rule applied to any start path.
QString programDirOf(const QString &startPath);

// Maps a phone path such as "/tmp/tmp.theme" to its place under the device root of this
// program directory ("<programDir>device/tmp/tmp.theme").
QString phonePath(const QString &phoneAbsolutePath);

// The device root itself, with trailing "/".
QString deviceRoot();

// Quotes a text for the POSIX shell: the result is one word whatever the text holds.
QString shellQuote(const QString &text);

} // namespace Platform
