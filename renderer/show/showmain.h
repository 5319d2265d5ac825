#pragma once
// show: one redraw of the desktop from the current files.
//
// The picture is written atomically to the idle screen's picture of the emulated phone
// ("/idle/desktop.png" under the device root), so a reader never sees half a picture. On
// success the absolute path of the picture is printed on standard output and the exit status
// is 0; on failure a one-line message goes to standard error and the status is 1.
//
// With a real desktop chosen in group "Desktop" of settings.ini (docs/desktop.md), the picture
// then also goes there, composed at the screen's size; a desktop that does not take it adds one
// line "show: desktop TARGET: REASON" to standard error, and the status stays 0.
//
// "show --check [THEME]" draws no desktop: it checks a theme (a file of theme/, ".theme" may be
// left out, or any path holding a "/"; without a name the current theme) against a busy day and
// prints one line per problem on standard output. Exit status 0 when there are none, 1 when
// there are, 2 when the theme cannot be read.
