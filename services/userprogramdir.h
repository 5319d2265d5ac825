#pragma once
// The user's own program directory, for a program directory that must not be written.
//
// An installed program directory (one that holds the marker file below) is never written, nor
// is one the user cannot write. Programs started from such a directory work in the user's own
// program directory instead, "$XDG_DATA_HOME/quillora/" ("~/.local/share/quillora/" when the
// variable is unset), made from the installed one on the first start: links to its programs,
// copies of its data files. Files the user already has there are kept.

#include <QString>

namespace UserProgramDir {

// The file whose presence marks an installed program directory; it holds the suite's version.
extern const char *const InstalledMarker;

// "$XDG_DATA_HOME/quillora/" or "$HOME/.local/share/quillora/", with trailing "/".
QString location();

// True when programs must not write into the directory: it is marked as installed, or it
// cannot be written.
bool mustNotWrite(const QString &dir);

// Makes the user's program directory `userDir` from `installedDir` (both with trailing "/"),
// or completes it after the installed one changed, and returns `userDir`; empty when it could
// not be made. Two programs starting at once take turns through a lock file in `userDir`; a
// directory once made costs one small read.
QString ensure(const QString &installedDir, const QString &userDir = location());

} // namespace UserProgramDir
