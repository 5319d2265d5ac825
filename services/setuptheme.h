#pragma once
// The phone's theme settings, kept in "device/setup.ini", group "SETUP_THEME",
// key = element number in decimal. Every element is a path; one inside the program directory is
// stored relative to it and read back as the absolute path it names.

#include <QString>

class SETUP_THEME
{
public:
    enum Element { Wallpaper = 9, IdleClockDir = 14 };

    // The stored value, or the default of the element: for the wallpaper the picture shipped
    // in the program directory, for the idle-clock folder "device/phone".
    static QString getThemeValue(int element);
    static bool updateTheme(int element, const QString &value);

    static QString defaultWallpaper();
    static QString settingsFile();
};
