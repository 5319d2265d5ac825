#pragma once
// The idle screen's picture and the waiting picture of a coming minute.
//
// The daemon has the desktop of the coming minute drawn shortly before it begins, into the
// waiting picture, and puts it in place of the desktop picture when it begins: one rename, so
// the phone shows the new minute at its start and never before.

#include <QByteArray>
#include <QString>

namespace DesktopPicture {

// device/idle/desktop.png, the picture the phone shows.
QString path();
// device/idle/cache/desktop.next.png, drawn ahead by "show --at MINUTE".
QString waitingPath();
// Puts the waiting picture in place of the desktop picture in one step (a link at the
// desktop's name is replaced, not written through); false when there is none.
bool commitWaiting();
// What tells one desktop picture file from another: device, inode and change time; empty
// when there is none.
QByteArray stamp();
// Removes the waiting picture, when its minute will not be shown.
void discardWaiting();

} // namespace DesktopPicture
