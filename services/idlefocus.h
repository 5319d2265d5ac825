#pragma once
// Which window is in front on the phone: the idle screen (the desktop) or another one.
//
// The emulated phone keeps it in "device/idle/focus": "1" while the idle screen is in front,
// "0" while another window covers it; no file means the idle screen is in front.

// Non-zero while the idle screen is the window in front. Cheap enough for a tick every half
// second: the file is read again only when it changed.
int UTIL_GetIdleFocus();

namespace Platform {
// Records which window is in front, replacing the file atomically. False when it could not
// be written.
bool setIdleFocus(bool idleInFront);
}
