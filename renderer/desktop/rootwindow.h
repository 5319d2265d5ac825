#pragma once
// The X server's root window as a desktop: its size, and its background picture set the way
// desktops without a shell expect it.

#include <QImage>
#include <QSize>
#include <QString>

namespace Desktop::RootWindow {

// The size of the default screen of DISPLAY in pixels; empty when there is no X server.
QSize size();

// Makes `image` the root window's background: a pixmap of a connection that stays after it
// closes, named by the properties _XROOTPMAP_ID and ESETROOT_PMAP_ID, so programs with
// pseudo-transparency find it. The connection that kept the previous picture is ended, which
// frees that picture: however many pictures are set, one connection stays. False with the
// reason when the server cannot be reached or its pixels are not 24- or 32-bit.
bool setBackground(const QImage &image, QString *error);

} // namespace Desktop::RootWindow
