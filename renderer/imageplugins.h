#pragma once
// Qt's image format plugins (JPEG, GIF, ...) for show. Loading them costs a new process more
// than reading all of its own pictures, which are PNG files the built-in reader takes: show
// switches them off at start, and only the decoding of a wallpaper (a photo in any format)
// switches them on again.

namespace ImagePlugins {

// From now on only the built-in formats (PNG, BMP, PPM, XBM, XPM) are read. Needs the
// application object.
void builtInOnly();
// The plugins are found again, where builtInOnly() hid them.
void allow();

} // namespace ImagePlugins
