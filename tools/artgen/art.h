#pragma once
// The suite's pictures, drawn with vector shapes. Every picture is deterministic: the same
// build draws the same pixels.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <QStringList>

class QPainter;

namespace Art {

// A transparent canvas and an antialiased painter set up for it.
QImage canvas(int width, int height);
void prepare(QPainter &p);

// Writes a PNG, creating its folder. Returns false when the file could not be written.
bool save(const QImage &image, const QString &path);
// The same for the picture NAME.png in FOLDER of the program directory (with trailing "/").
bool save(const QImage &image, const QString &progDir, QLatin1String folder, const QString &name);

// A small deterministic random source (the same sequence on every machine).
class Random
{
public:
    explicit Random(quint32 seed) : m_state(seed ? seed : 1u) {}
    quint32 next();
    double unit();                        // [0, 1)
    double range(double low, double high); // [low, high)

private:
    quint32 m_state;
};

// Shapes shared by several pictures, in the coordinates of the painter.
QPainterPath cloudPath(const QRectF &box);
QPainterPath starPath(const QPointF &centre, double outer, double inner, int points = 5);

// Each writes its pictures under the program directory (with trailing "/") and returns the
// number of files that could not be written.
int drawIcons(const QString &progDir);
int drawWeatherIcons(const QString &progDir);
int drawWallpapers(const QString &progDir);
int drawThemeImages(const QString &progDir);

// Names of what is drawn, without folder and extension.
QStringList iconNames();
QStringList systemIconNames();
QStringList weatherIconNames();
QStringList wallpaperNames();
QStringList themeImageNames();

} // namespace Art
