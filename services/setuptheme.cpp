#include "setuptheme.h"

#include "device.h"
#include "zconfig.h"

namespace {
const QString kGroup = QStringLiteral("SETUP_THEME");
}

QString SETUP_THEME::settingsFile()
{
    return Platform::phonePath(QStringLiteral("/setup.ini"));
}

QString SETUP_THEME::defaultWallpaper()
{
    return Platform::programDir() + QStringLiteral("resource/wallpapers/default.png");
}

QString SETUP_THEME::getThemeValue(int element)
{
    QString def;
    if (element == Wallpaper)
        def = defaultWallpaper();
    else if (element == IdleClockDir)
        def = Platform::phonePath(QStringLiteral("/phone"));
    const QString value = ZConfig(settingsFile()).readEntry(kGroup, QString::number(element));
    return value.isEmpty() ? def : Platform::resolvedPath(value, Platform::programDir());
}

bool SETUP_THEME::updateTheme(int element, const QString &value)
{
    ZConfig config(settingsFile());
    // A file of the program directory is stored relative to it, so the directory can move.
    return config.writeEntry(kGroup, QString::number(element), Platform::storablePath(value, Platform::programDir()));
}
