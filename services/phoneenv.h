#pragma once
// The environment every program of the suite starts in, without any widget: the platform
// plugin where there is no display, and the phone's font family.

namespace PhoneEnv {

// Switches to the offscreen platform when nothing names a display; call before any
// application object exists.
void chooseHeadlessPlatform();
// Maps the phone's font family "AMCSL" to the fonts of the machine that replace it, so Latin
// and Chinese texts render everywhere. Needs a QGuiApplication.
void substitutePhoneFont();

} // namespace PhoneEnv
