#pragma once
// show: one redraw of the desktop from the current files.
//
// The picture is written atomically to the idle screen's picture of the emulated phone
// ("/idle/desktop.png" under the device root), so a reader never sees half a picture. On
// success the absolute path of the picture is printed on standard output and the exit status
// is 0; on failure a one-line message goes to standard error and the status is 1.
