#pragma once
// The X server's root window as a desktop: its size, and its background picture set the way
// desktops without a shell expect it.

#include "desktopscreen.h"

#include <QImage>
#include <QString>

namespace Desktop::RootWindow {

// The default screen of DISPLAY: the whole root window, its primary monitor (the first one when
// none is primary; the whole root without monitors) and the scale of Xft.dpi. Invalid when
// there is no X server.
Screen screen();

// Makes `image` the root window's background: a pixmap of a connection that stays after it
// closes, named by the properties _XROOTPMAP_ID and ESETROOT_PMAP_ID, so programs with
// pseudo-transparency find it. The connection that kept the previous picture is ended, which
// frees that picture: however many pictures are set, one connection stays. False with the
// reason when the server cannot be reached or its pixels are not 24- or 32-bit.
bool setBackground(const QImage &image, QString *error);

// A copy of the root window's picture as it shows now (the one _XROOTPMAP_ID names), kept on
// the server by a connection of its own after it closes; 0 when no picture is named, or with
// the reason when the server cannot be reached.
quint32 keepBackground(QString *error);
// Shows a picture keepBackground() kept again, named by both properties, and ends the
// connection of the picture shown until now. With 0, or a picture the server no longer has,
// the server's own background returns and the properties are removed.
bool restoreBackground(quint32 kept, QString *error);
// Frees a copy keepBackground() made that is not needed after all (its record could not be
// stored); nothing when the display cannot be opened.
void dropBackground(quint32 kept);

} // namespace Desktop::RootWindow
