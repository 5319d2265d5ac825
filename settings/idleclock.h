#pragma once
// Hands the theme's clock over to the phone's own idle-screen clock: the values written to the
// phone's "phone_p.ini" from the theme's "SysTime" item.

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

// The clock can be handed over only with a folder of the phone's settings and a placed clock of
// a real size.
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

} // namespace IdleClock
