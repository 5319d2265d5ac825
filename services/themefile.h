#pragma once
// Theme files: "theme/NAME" of the program directory, their pictures in "theme/images/", and the
// working copy of a theme under edit, which the desktop draws in place of the current theme.
// This is the one place that turns a theme name into a file; a name that could lead out of
// theme/ names no file at all.

#include <QString>

namespace ThemeFile {

// A theme file name that stays inside theme/: not empty, no "/", no control characters, not
// "." or "..".
bool isName(const QString &fileName);

QString dir(const QString &programDir);       // "<programDir>theme/"
QString imagesDir(const QString &programDir); // "<programDir>theme/images/"
// The file of a theme name; empty when the name is not one (see isName()).
QString path(const QString &programDir, const QString &fileName);
// The file of a picture a theme names (BGImage, TodayBGImage).
QString imagePath(const QString &programDir, const QString &image);
// The phone's working copy of the theme under edit.
QString workingCopy();

// Group "Quillora" of settings.ini: the theme drawn and the themes the hard keys cycle through.
inline constexpr QLatin1String kSettingsGroup("Quillora");
inline constexpr QLatin1String kCurrentTheme("CurrentTheme");
inline constexpr QLatin1String kThemeList("ThemeList");
inline constexpr QLatin1Char kThemeListSeparator(';');

} // namespace ThemeFile

// The keys of an item group of a theme file.
namespace ThemeKey {
inline constexpr QLatin1String Enable("Enable");
inline constexpr QLatin1String BGImage("BGImage");
inline constexpr QLatin1String BGImageX("BGImage_X");
inline constexpr QLatin1String BGImageY("BGImage_Y");
inline constexpr QLatin1String BGImageW("BGImage_W");
inline constexpr QLatin1String BGImageH("BGImage_H");
inline constexpr QLatin1String FontSize("FontSize");
inline constexpr QLatin1String Shadow("Shadow");
inline constexpr QLatin1String RotateAngle("RotateAngle");
inline constexpr QLatin1String FontColorR("FontColor_R");
inline constexpr QLatin1String FontColorG("FontColor_G");
inline constexpr QLatin1String FontColorB("FontColor_B");
inline constexpr QLatin1String PositionX("Position_X");
inline constexpr QLatin1String PositionY("Position_Y");
inline constexpr QLatin1String TextFormat("TextFormat");
inline constexpr QLatin1String MonthList("MonthList");
inline constexpr QLatin1String WeekList("WeekList");
inline constexpr QLatin1String ScaleX("Scale_X");
inline constexpr QLatin1String ScaleY("Scale_Y");
inline constexpr QLatin1String TodayColorR("TodayColor_R");
inline constexpr QLatin1String TodayColorG("TodayColor_G");
inline constexpr QLatin1String TodayColorB("TodayColor_B");
inline constexpr QLatin1String TodayBGImage("TodayBGImage");
inline constexpr QLatin1String BoxW("Box_W");
inline constexpr QLatin1String BoxH("Box_H");
inline constexpr QLatin1String Fit("Fit");
} // namespace ThemeKey
