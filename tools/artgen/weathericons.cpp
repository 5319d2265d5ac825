// Weather icons, 48 x 48, named after the conditions of the forecast file ("rain.gif" in the
// file shows rain.png). Every shape has a soft dark edge so that it reads on light and dark
// wallpapers alike.

#include "art.h"

#include <QPainter>
#include <QtMath>
#include <functional>

namespace {

const QColor kEdge(0x1e, 0x2a, 0x3a, 150);

void sun(QPainter &p, const QPointF &c, double r, bool rays = true, int alpha = 255)
{
    if (rays) {
        p.setPen(QPen(QColor(0xff, 0xb3, 0x1a, alpha), r * 0.22, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4 + M_PI / 8;
            p.drawLine(QPointF(c.x() + r * 1.35 * qCos(a), c.y() + r * 1.35 * qSin(a)),
                       QPointF(c.x() + r * 1.75 * qCos(a), c.y() + r * 1.75 * qSin(a)));
        }
    }
    QRadialGradient g(c.x() - r * 0.3, c.y() - r * 0.3, r * 1.3);
    g.setColorAt(0, QColor(0xff, 0xf1, 0x8c, alpha));
    g.setColorAt(1, QColor(0xff, 0xa8, 0x10, alpha));
    p.setPen(QPen(QColor(0xc8, 0x6a, 0x00, alpha * 3 / 4), 1.0));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void moon(QPainter &p, const QPointF &c, double r)
{
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    QPainterPath bite;
    bite.addEllipse(QPointF(c.x() + r * 0.55, c.y() - r * 0.35), r * 0.85, r * 0.85);
    QLinearGradient g(c.x() - r, c.y() - r, c.x() + r, c.y() + r);
    g.setColorAt(0, QColor(0xff, 0xf6, 0xc8));
    g.setColorAt(1, QColor(0xf0, 0xd2, 0x6a));
    p.setPen(QPen(QColor(0x8a, 0x7a, 0x3a, 180), 1.0));
    p.setBrush(g);
    p.drawPath(disc.subtracted(bite));
}

void cloud(QPainter &p, const QRectF &box, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(0, box.top(), 0, box.bottom());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(kEdge, 1.2));
    p.setBrush(g);
    p.drawPath(Art::cloudPath(box));
}

void whiteCloud(QPainter &p, const QRectF &box)
{
    cloud(p, box, QColor(0xff, 0xff, 0xff), QColor(0xd8, 0xe2, 0xee));
}

void greyCloud(QPainter &p, const QRectF &box)
{
    cloud(p, box, QColor(0xb4, 0xbe, 0xca), QColor(0x86, 0x92, 0xa2));
}

void darkCloud(QPainter &p, const QRectF &box)
{
    cloud(p, box, QColor(0x8a, 0x94, 0xa4), QColor(0x56, 0x60, 0x72));
}

void drops(QPainter &p, const QList<QPointF> &at, double length)
{
    for (const QPointF &d : at) {
        p.setPen(QPen(QColor(0x12, 0x4a, 0x9a, 160), 3.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(d, QPointF(d.x() - length * 0.35, d.y() + length));
        p.setPen(QPen(QColor(0x4a, 0xa8, 0xff), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(d, QPointF(d.x() - length * 0.35, d.y() + length));
    }
}

void flakes(QPainter &p, const QList<QPointF> &at, double r)
{
    for (const QPointF &c : at) {
        for (int pass = 0; pass < 2; ++pass) {
            p.setPen(pass == 0 ? QPen(QColor(0x2a, 0x5a, 0x9a, 170), 2.8, Qt::SolidLine, Qt::RoundCap)
                               : QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 3; ++i) {
                const double a = i * M_PI / 3 + M_PI / 2;
                p.drawLine(QPointF(c.x() - r * qCos(a), c.y() - r * qSin(a)),
                           QPointF(c.x() + r * qCos(a), c.y() + r * qSin(a)));
            }
        }
    }
}

void bars(QPainter &p, const QList<QLineF> &lines, const QColor &colour)
{
    for (const QLineF &l : lines) {
        p.setPen(QPen(QColor(0x2a, 0x34, 0x44, 120), 4.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(l);
        p.setPen(QPen(colour, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(l);
    }
}

void bolt(QPainter &p)
{
    QPolygonF b;
    b << QPointF(25, 27) << QPointF(18, 38) << QPointF(23.5, 38) << QPointF(20, 46) << QPointF(31, 33)
      << QPointF(25.5, 33) << QPointF(29, 27);
    p.setPen(QPen(QColor(0x8a, 0x4a, 0x00), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xff, 0xd2, 0x2a));
    p.drawPolygon(b);
}

void windLines(QPainter &p)
{
    const QColor c(0xe8, 0xf4, 0xff);
    for (int pass = 0; pass < 2; ++pass) {
        QPen pen = pass == 0 ? QPen(QColor(0x1e, 0x3a, 0x5a, 150), 4.6, Qt::SolidLine, Qt::RoundCap)
                             : QPen(c, 2.8, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        QPainterPath a;
        a.moveTo(5, 17);
        a.lineTo(30, 17);
        a.cubicTo(37, 17, 38, 8, 32, 8);
        a.cubicTo(29, 8, 28, 11, 29, 12.5);
        QPainterPath b;
        b.moveTo(5, 26);
        b.lineTo(38, 26);
        b.cubicTo(46, 26, 46, 15, 40, 15.5);
        QPainterPath c2;
        c2.moveTo(9, 35);
        c2.lineTo(27, 35);
        c2.cubicTo(34, 35, 34, 44, 28.5, 43.5);
        c2.cubicTo(26, 43.2, 25.5, 41, 26.5, 40);
        p.drawPath(a);
        p.drawPath(b);
        p.drawPath(c2);
    }
}

struct WeatherIcon
{
    const char *name;
    std::function<void(QPainter &)> draw;
};

std::vector<WeatherIcon> weatherIcons()
{
    return {
        {"sunny", [](QPainter &p) { sun(p, QPointF(24, 24), 11); }},
        {"clear_night", [](QPainter &p) {
             moon(p, QPointF(22, 25), 14);
             p.setPen(QPen(QColor(0x8a, 0x7a, 0x3a, 150), 0.8));
             p.setBrush(QColor(0xff, 0xf6, 0xc8));
             p.drawPath(Art::starPath(QPointF(38, 11), 4.5, 1.9));
             p.drawPath(Art::starPath(QPointF(40, 27), 3.0, 1.3));
         }},
        {"partly_cloudy", [](QPainter &p) {
             sun(p, QPointF(19, 18), 9);
             whiteCloud(p, QRectF(14, 20, 30, 20));
         }},
        {"cloudy", [](QPainter &p) {
             greyCloud(p, QRectF(16, 8, 28, 19));
             whiteCloud(p, QRectF(4, 17, 34, 23));
         }},
        {"overcast", [](QPainter &p) {
             darkCloud(p, QRectF(14, 7, 30, 20));
             greyCloud(p, QRectF(3, 16, 36, 24));
         }},
        {"light_rain", [](QPainter &p) {
             whiteCloud(p, QRectF(5, 6, 38, 25));
             drops(p, {QPointF(19, 34), QPointF(30, 34)}, 8);
         }},
        {"rain", [](QPainter &p) {
             greyCloud(p, QRectF(5, 5, 38, 25));
             drops(p, {QPointF(14, 33), QPointF(23, 35), QPointF(32, 33), QPointF(41, 35)}, 9);
         }},
        {"heavy_rain", [](QPainter &p) {
             darkCloud(p, QRectF(5, 3, 38, 25));
             drops(p, {QPointF(11, 30), QPointF(19, 32), QPointF(27, 30), QPointF(35, 32), QPointF(43, 30)}, 13);
         }},
        {"showers", [](QPainter &p) {
             sun(p, QPointF(16, 14), 8);
             whiteCloud(p, QRectF(12, 13, 32, 21));
             drops(p, {QPointF(24, 37), QPointF(34, 37)}, 8);
         }},
        {"thunderstorm", [](QPainter &p) {
             darkCloud(p, QRectF(5, 3, 38, 25));
             drops(p, {QPointF(13, 31), QPointF(38, 31)}, 9);
             bolt(p);
         }},
        {"snow", [](QPainter &p) {
             whiteCloud(p, QRectF(5, 4, 38, 25));
             flakes(p, {QPointF(14, 36), QPointF(25, 40), QPointF(36, 36)}, 4.5);
         }},
        {"sleet", [](QPainter &p) {
             greyCloud(p, QRectF(5, 4, 38, 25));
             drops(p, {QPointF(17, 33)}, 9);
             flakes(p, {QPointF(32, 38)}, 4.5);
         }},
        {"fog", [](QPainter &p) {
             greyCloud(p, QRectF(8, 3, 32, 21));
             bars(p, {QLineF(7, 29, 41, 29), QLineF(11, 35.5, 37, 35.5), QLineF(7, 42, 35, 42)},
                  QColor(0xe6, 0xea, 0xf0));
         }},
        {"haze", [](QPainter &p) {
             sun(p, QPointF(24, 18), 10, true, 200);
             bars(p, {QLineF(6, 31, 42, 31), QLineF(10, 37.5, 38, 37.5), QLineF(14, 44, 34, 44)},
                  QColor(0xf2, 0xd8, 0xa8));
         }},
        {"wind", [](QPainter &p) { windLines(p); }},
        {"drizzle", [](QPainter &p) {
             whiteCloud(p, QRectF(5, 6, 38, 25));
             drops(p, {QPointF(15, 34), QPointF(24, 38), QPointF(33, 34)}, 4);
         }},
        {"light_snow", [](QPainter &p) {
             whiteCloud(p, QRectF(5, 5, 38, 25));
             flakes(p, {QPointF(24, 38)}, 5);
         }},
        {"heavy_snow", [](QPainter &p) {
             greyCloud(p, QRectF(5, 3, 38, 24));
             flakes(p, {QPointF(11, 33), QPointF(24, 35), QPointF(37, 33), QPointF(17, 43), QPointF(31, 43)}, 4);
         }},
        {"hail", [](QPainter &p) {
             darkCloud(p, QRectF(5, 3, 38, 25));
             p.setPen(QPen(QColor(0x2a, 0x5a, 0x9a, 170), 1.2));
             p.setBrush(QColor(0xee, 0xf6, 0xff));
             for (const QPointF &c : {QPointF(14, 35), QPointF(25, 39), QPointF(36, 35), QPointF(20, 44), QPointF(31, 45)})
                 p.drawEllipse(c, 3.0, 3.0);
         }},
    };
}

} // namespace

namespace Art {

QStringList weatherIconNames()
{
    QStringList names;
    for (const WeatherIcon &w : weatherIcons())
        names << QString::fromLatin1(w.name);
    return names;
}

int drawWeatherIcons(const QString &progDir)
{
    int failed = 0;
    for (const WeatherIcon &w : weatherIcons()) {
        QImage img = canvas(48, 48);
        QPainter p(&img);
        prepare(p);
        w.draw(p);
        p.end();
        if (!save(img, progDir, QLatin1String("resource/WeatherIcons"), QLatin1String(w.name)))
            ++failed;
    }
    return failed;
}

} // namespace Art
