// artgen <program directory>
// Draws every picture of the suite into the program directory: menu and tab icons, system
// icons, the program icon, weather icons, wallpapers and the pictures of the shipped themes.

#include "art.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen <program directory>\n");
        return 2;
    }
    // Only images are drawn; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    QString dir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');

    int failed = 0;
    failed += Art::drawIcons(dir);
    failed += Art::drawWeatherIcons(dir);
    failed += Art::drawWallpapers(dir);
    failed += Art::drawThemeImages(dir);
    if (failed) {
        std::fprintf(stderr, "artgen: %d pictures could not be written\n", failed);
        return 1;
    }
    return 0;
}
