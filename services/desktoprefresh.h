#pragma once
// Runs the desktop refresh program "show" of a program directory and waits for it.
//
// The wait has a time limit: a "show" that does not end within it (blocked on a file, a slow
// memory card) is ended together with every process it started, and the caller carries on, so
// a background program never hangs for good in a redraw.

#include <QDateTime>
#include <QString>

namespace Platform {

// True when "show" ran and ended by itself with success; false when it could not be started,
// failed, or was ended at the time limit. What show prints goes to this program's output, or
// nowhere when quiet.
bool runShow(const QString &programDir, bool quiet = false);
// Like runShow, for "show --at MINUTE": the desktop of the minute that `minute` lies in, drawn
// into the waiting picture (DesktopPicture) and not shown yet.
bool prepareShow(const QString &programDir, const QDateTime &minute, bool quiet = false);

// The time limit of runShow, 20 s unless changed (tests shorten it).
int showTimeLimitMs();
void setShowTimeLimitMs(int ms);

} // namespace Platform
