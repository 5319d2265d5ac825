#pragma once
// The phone's own digital clock on the idle screen, placed by the idle-clock settings file
// "phone_p.ini" in the folder of the phone's theme element 14.
//
//   [Idle]                  Padding_Right  = distance from the right screen edge to the clock
//                           Padding_Bottom = distance from the top of the soft-key bar to the
//                                            clock's bottom (negative: below the bar, unseen)
//   [Font_DigitalClockStd]  Size           = size of the phone font, in points
//                           Color          = 0xRRGGBB as a decimal number

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

namespace PhoneClock {

struct Settings
{
    int paddingRight = 8;
    int paddingBottom = 6;
    int size = 18;
    QColor color = Qt::white;
};

// The settings file of this phone.
QString settingsPath();
// The settings in the file; what is missing or unusable keeps the phone's own default.
Settings read(const QString &path);

QFont font(const Settings &settings);
// The box of the clock on the 240 x 320 screen: as wide as "00:00" and as high as a line of
// the clock's font, its right edge Padding_Right from the screen's right edge, its bottom
// Padding_Bottom above the soft-key bar.
QRect placement(const Settings &settings, const QFont &font);

} // namespace PhoneClock
