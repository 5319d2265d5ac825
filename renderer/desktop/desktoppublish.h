#pragma once
// Puts the desktop picture on the session's real desktop, as group "Desktop" of settings.ini
// says (see desktopconfig.h). show calls publish() after every picture.
//
// The picture covers the whole screen: the phone's wallpaper filled to the screen, and the
// theme's items drawn over it at an integer scale k where the layout says, on the primary
// monitor. The root window takes it from memory; for the other desktops it is written under
// two alternating names in the cache folder, so a desktop that ignores a picture rewritten at
// the same path sees a new name every time, the folder never holds more than two pictures, and
// the picture a desktop shows is never removed or half written.

#include "desktoplayout.h"
#include "desktopscreen.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace Desktop {

// $XDG_CACHE_HOME/quillora/ (~/.cache/quillora/ without it), with trailing "/".
QString cacheFolder();

// Writes `image` under whichever of "desktop-a.png" and "desktop-b.png" in `folder` was not
// written last, atomically; its path, or empty with the reason.
QString writePicture(const QString &folder, const QImage &image, QString *error);

// The screen's picture: `wallpaper` (a file, or nothing for a plain dark picture) filled to
// `screen` keeping its shape, and `items` (device pixels) at `layout`.
QImage composeScreen(QSize screen, const Layout &layout, const QString &wallpaper, const QImage &items,
                     const QString &wallpaperCache);

// One publish for the program directory: nothing for the phone (besides giving back the user's
// own wallpaper settings that real desktops kept); otherwise the screen's picture on the chosen
// target, after every other target's kept settings went back. The lines to report: one for
// each kept settings that cannot go back yet (they stay kept for the next run), and one naming
// the target and the reason when it failed.
QStringList publish(const QString &programDir);
// True when publish() has nothing to do: the phone alone shows the picture, and no real
// desktop's settings wait to go back.
bool publishesNothing(const QString &programDir);

} // namespace Desktop
