#pragma once
// Hands the theme's clock over to the phone's own idle-screen clock: the values written to the
// phone's "phone_p.ini" from the theme's "SysTime" item. Once the user has handed the clock
// over, settings.ini remembers it ("ClockFollowsTheme"), and every change of the current theme
// (in the settings program or by the daemon's theme keys) hands the new theme's clock over too.

#include <QString>

class ZConfig;

namespace IdleClock {

struct Item
{
    int fontSize = -1;
    int red = -1, green = -1, blue = -1;
    int posX = -1, posY = -1;
    bool enable = false;
};

struct Values
{
    int paddingRight = 0;
    int paddingBottom = 0;
    int size = 0;
    int color = 0;
};

// The "SysTime" item of a theme store.
Item readItem(const ZConfig &theme);

// The clock can be handed over only with a folder of the phone's settings and no coordinate of
// 0 (a clock never placed). A missing "SysTime" reads -1 and is handed over, below the screen.
bool canHandOver(const Item &item, const QString &phoneDir);

// 0xRRGGBB of the three parts (each kept within 0..255): red 255, green 0, blue 10 give
// 16711690.
int colorValue(int red, int green, int blue);

// textWidth and lineHeight measure "00:00" in the clock's font; softKeyHeight is the height of
// the soft-key bar below the idle screen's clock area. A disabled clock is placed below the
// screen (y 400), so the phone's clock leaves the visible area too.
Values compute(const Item &item, int textWidth, int lineHeight, int softKeyHeight);

// Width of "00:00" and height of a line in the phone font at the clock's size.
void measure(int fontSize, int *textWidth, int *lineHeight);

// Writes the four entries; false when the file could not be written.
bool write(const QString &phoneIniPath, const Values &values);

// The phone's clock settings file in the folder the phone's settings name (element 14).
QString phoneIniPath(const QString &phoneDir);

enum class Outcome {
    Written,  // the phone's clock settings hold the theme's clock: restart the phone
    Refused,  // no folder of the phone's settings, or a clock coordinate of 0
    Failed,   // the phone's clock settings could not be written; they are as they were
    Skipped,  // nothing to hand over: the clock does not follow the theme
};

// Hands the item over: checks, measures, computes and writes.
Outcome handOver(const Item &item, const QString &phoneDir, int softKeyHeight);

// The settings.ini key (group "Quillora") that remembers the hand-over.
extern const char *const FollowKey;
bool follows(const ZConfig &settings);

// After the current theme changed to the theme file: when the clock follows the theme, hands
// the theme's clock over (a theme whose "SysTime" is missing or disabled moves the phone's clock
// below the screen); otherwise the phone's clock stays where it is (Skipped).
Outcome followTheme(const ZConfig &settings, const QString &themeFile, const QString &phoneDir,
                    int softKeyHeight);

} // namespace IdleClock
