// Pictures of the shipped themes, written to theme/images/: translucent panels behind the
// items, a clock plate and the markers of today's cell in the month grid. Each is drawn at
// the size its theme places it, so nothing is stretched.

#include "art.h"

#include <QPainter>
#include <QtMath>
#include <functional>

namespace {

struct Panel
{
    QColor top, bottom; // fill gradient
    QColor border;
    double radius;
};

void panel(QPainter &p, const QSizeF &size, const Panel &style)
{
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, style.top);
    g.setColorAt(1, style.bottom);
    p.setPen(QPen(style.border, 1.0));
    p.setBrush(g);
    p.drawRoundedRect(r, style.radius, style.radius);
}

// Warm, dark lacquer with a thin gold edge.
const Panel kLantern{QColor(0x3a, 0x0c, 0x1c, 165), QColor(0x1c, 0x06, 0x14, 185), QColor(0xf0, 0xc0, 0x6a, 150), 8};
// Cool, dark glass with a pale edge.
const Panel kFrost{QColor(0x1a, 0x34, 0x5c, 160), QColor(0x0a, 0x18, 0x30, 190), QColor(0xc8, 0xe6, 0xff, 140), 9};

void lanternOrnament(QPainter &p, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    p.setPen(QPen(QColor(0xf0, 0xc0, 0x6a, 200), 1.0));
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.top() + h * 0.14));
    QRadialGradient glow(r.center(), w * 0.7);
    glow.setColorAt(0, QColor(0xff, 0x8a, 0x4a, 235));
    glow.setColorAt(1, QColor(0xc0, 0x1c, 0x20, 235));
    p.setBrush(glow);
    p.setPen(QPen(QColor(0x70, 0x08, 0x10), 0.8));
    p.drawEllipse(QRectF(r.left(), r.top() + h * 0.2, w, h * 0.55));
    p.setPen(QPen(QColor(0xff, 0xd2, 0x7a, 170), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(r.left() + w * 0.3, r.top() + h * 0.2, w * 0.4, h * 0.55));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xb0, 0x4a));
    p.drawRoundedRect(QRectF(r.left() + w * 0.25, r.top() + h * 0.14, w * 0.5, h * 0.08), 1, 1);
    p.drawRoundedRect(QRectF(r.left() + w * 0.25, r.top() + h * 0.73, w * 0.5, h * 0.08), 1, 1);
    p.setPen(QPen(QColor(0xe8, 0x3a, 0x3a), 1.2));
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(r.center().x() + i * 1.5, r.top() + h * 0.82), QPointF(r.center().x() + i * 2.2, r.bottom()));
}

void todayMarker(QPainter &p, const QSizeF &s, const QColor &fill, const QColor &edge, bool ring)
{
    const QRectF r(0.8, 0.8, s.width() - 1.6, s.height() - 1.6);
    if (ring) {
        p.setPen(QPen(edge, 1.6));
        p.setBrush(fill);
        p.drawEllipse(r);
    } else {
        QRadialGradient g(r.center(), r.width() * 0.7);
        g.setColorAt(0, fill.lighter(125));
        g.setColorAt(1, fill);
        p.setPen(QPen(edge, 1.0));
        p.setBrush(g);
        p.drawRoundedRect(r, 4, 4);
    }
}

// Off-white paper with faint fibres.
void paper(QPainter &p, const QSizeF &size)
{
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(0xfb, 0xf7, 0xee, 228));
    g.setColorAt(1, QColor(0xf0, 0xe8, 0xd6, 228));
    p.setPen(QPen(QColor(0x8a, 0x74, 0x5a, 130), 1.0));
    p.setBrush(g);
    p.drawRoundedRect(r, 5, 5);
    Art::Random rnd(quint32(size.width() * 1000 + size.height()));
    for (int i = 0; i < int(size.width() * size.height() / 400); ++i) {
        const QPointF a(rnd.range(4, size.width() - 4), rnd.range(4, size.height() - 4));
        const double len = rnd.range(3, 9), turn = rnd.range(0, M_PI);
        p.setPen(QPen(QColor(0xa0, 0x8a, 0x6a, int(rnd.range(15, 40))), 0.6));
        p.drawLine(a, QPointF(a.x() + len * qCos(turn), a.y() + len * qSin(turn)));
    }
}

// A brush stroke that swells in the middle and thins at both ends.
void brushStroke(QPainter &p, const QPointF &from, const QPointF &to, double width, const QColor &ink)
{
    const QLineF line(from, to);
    const QPointF n = QPointF(-line.dy(), line.dx()) / line.length();
    QPainterPath path;
    const int steps = 24;
    QList<QPointF> left, right;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double w = width * qSin(M_PI * (0.08 + 0.84 * t)) * (1.0 - 0.35 * t);
        const QPointF c = line.pointAt(t);
        left << c + n * w;
        right << c - n * w;
    }
    path.moveTo(left.first());
    for (const QPointF &pt : left)
        path.lineTo(pt);
    for (int i = right.size() - 1; i >= 0; --i)
        path.lineTo(right.at(i));
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(path);
}

// A red seal: a square stamp with worn edges and a carved pattern.
void seal(QPainter &p, const QRectF &r)
{
    const QColor red(0xb8, 0x24, 0x24, 225);
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawRoundedRect(r, 2.5, 2.5);
    p.setPen(QPen(QColor(0xfb, 0xf2, 0xe4, 230), 1.4, Qt::SolidLine, Qt::SquareCap));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(3, 3, -3, -3));
    // A square meander carved into the stamp.
    const double x0 = r.left() + 7, y0 = r.top() + 7, w = r.width() - 14, h = r.height() - 14;
    QPolygonF meander;
    meander << QPointF(x0, y0 + h) << QPointF(x0, y0) << QPointF(x0 + w, y0) << QPointF(x0 + w, y0 + h)
            << QPointF(x0 + w * 0.3, y0 + h) << QPointF(x0 + w * 0.3, y0 + h * 0.3)
            << QPointF(x0 + w * 0.7, y0 + h * 0.3) << QPointF(x0 + w * 0.7, y0 + h * 0.65);
    p.drawPolyline(meander);
}

struct ThemeImage
{
    const char *name;
    QSize size;
    std::function<void(QPainter &, const QSizeF &)> draw;
};

std::vector<ThemeImage> themeImages()
{
    return {
        // Lantern: warm panels over the evening wallpaper.
        {"lantern_top", {232, 72}, [](QPainter &p, const QSizeF &s) {
             panel(p, s, kLantern);
             p.setPen(QPen(QColor(0xf0, 0xc0, 0x6a, 90), 1.0));
             p.drawLine(QPointF(126.5, 8), QPointF(126.5, 44));
             lanternOrnament(p, QRectF(205, 26, 18, 40));
         }},
        {"lantern_cal", {144, 84}, [](QPainter &p, const QSizeF &s) {
             panel(p, s, kLantern);
             p.setPen(QPen(QColor(0xf0, 0xc0, 0x6a, 110), 1.0));
             p.drawLine(QPointF(8, 15.5), QPointF(s.width() - 8, 15.5));
         }},
        {"lantern_note", {84, 84}, [](QPainter &p, const QSizeF &s) {
             panel(p, s, Panel{QColor(0x4a, 0x1a, 0x10, 150), QColor(0x2a, 0x0c, 0x0a, 175),
                               QColor(0xf0, 0xc0, 0x6a, 150), 8});
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(0xd0, 0x2a, 0x2a, 210));
             p.drawRoundedRect(QRectF(s.width() / 2 - 9, -0.5, 18, 5), 2, 2);
         }},
        {"lantern_notify", {232, 84}, [](QPainter &p, const QSizeF &s) {
             panel(p, s, Panel{kLantern.top, kLantern.bottom, kLantern.border, 6});
         }},
        {"lantern_weather", {232, 52}, [](QPainter &p, const QSizeF &s) {
             panel(p, s, kLantern);
             p.setPen(QPen(QColor(0xf0, 0xc0, 0x6a, 70), 1.0));
             for (int k = 1; k < 5; ++k)
                 p.drawLine(QPointF(k * 46.0 + 0.5, 5), QPointF(k * 46.0 + 0.5, s.height() - 5));
         }},
        {"lantern_today", {16, 13}, [](QPainter &p, const QSizeF &s) {
             todayMarker(p, s, QColor(0xd8, 0x26, 0x2a), QColor(0xff, 0xd2, 0x7a), false);
         }},
        // Frost: cool glass panels, text with shadows.
        {"frost_clock", {226, 84}, [](QPainter &p, const QSizeF &s) {
             panel(p, s, kFrost);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(0xd8, 0xf0, 0xff, 230));
             p.drawEllipse(QPointF(76, 22), 3, 3);
             p.drawEllipse(QPointF(76, 37), 3, 3);
             p.setPen(QPen(QColor(0xc8, 0xe6, 0xff, 90), 1.0));
             p.drawLine(QPointF(150.5, 12), QPointF(150.5, s.height() - 12));
         }},
        {"frost_cal", {126, 104}, [](QPainter &p, const QSizeF &s) { panel(p, s, kFrost); }},
        {"frost_weather", {96, 144}, [](QPainter &p, const QSizeF &s) {
             panel(p, s, kFrost);
             p.setPen(QPen(QColor(0xc8, 0xe6, 0xff, 80), 1.0));
             for (int k = 0; k < 5; ++k) {
                 const double y = 15.5 + k * 25;
                 p.drawLine(QPointF(6, y), QPointF(s.width() - 6, y));
             }
         }},
        {"frost_notes", {126, 96}, [](QPainter &p, const QSizeF &s) { panel(p, s, kFrost); }},
        // Ink: rice paper with brush marks, opaque enough for dark ink on any wallpaper.
        {"ink_paper", {224, 124}, [](QPainter &p, const QSizeF &s) {
             paper(p, s);
             brushStroke(p, QPointF(98, 14), QPointF(100, 110), 3.2, QColor(0x28, 0x24, 0x22, 150));
             brushStroke(p, QPointF(16, 113), QPointF(90, 110), 2.2, QColor(0x28, 0x24, 0x22, 90));
             seal(p, QRectF(196, 8, 26, 26));
         }},
        {"ink_note", {224, 94}, [](QPainter &p, const QSizeF &s) {
             paper(p, s);
             // Notices on the left, the note on the right.
             brushStroke(p, QPointF(154, 8), QPointF(156, 86), 1.6, QColor(0x28, 0x24, 0x22, 80));
         }},
        {"ink_weather", {224, 72}, [](QPainter &p, const QSizeF &s) {
             paper(p, s);
             // Between the temperatures and the wind only: above them the city and the
             // description run across the whole width.
             brushStroke(p, QPointF(134, 38), QPointF(135, 57), 1.8, QColor(0x28, 0x24, 0x22, 90));
         }},
        // Named by the weather description items: any picture name there switches the day's
        // weather icon on, so this one stands for "icon shown" in the item editor.
        {"weathericon", {24, 24}, [](QPainter &p, const QSizeF &) {
             p.setPen(QPen(QColor(0xc8, 0x6a, 0x00), 0.8));
             p.setBrush(QColor(0xff, 0xc0, 0x2a));
             p.drawEllipse(QPointF(9, 9), 5, 5);
             p.setPen(QPen(QColor(0x1e, 0x2a, 0x3a, 150), 1.0));
             p.setBrush(Qt::white);
             p.drawPath(Art::cloudPath(QRectF(6, 9, 16, 11)));
         }},
        {"frost_today", {15, 13}, [](QPainter &p, const QSizeF &s) {
             todayMarker(p, s, QColor(0x1c, 0x5a, 0xa8, 235), QColor(0xe8, 0xf6, 0xff), true);
         }},
    };
}

} // namespace

namespace Art {

QStringList themeImageNames()
{
    QStringList names;
    for (const ThemeImage &t : themeImages())
        names << QString::fromLatin1(t.name);
    return names;
}

int drawThemeImages(const QString &progDir)
{
    int failed = 0;
    for (const ThemeImage &t : themeImages()) {
        QImage img = canvas(t.size.width(), t.size.height());
        QPainter p(&img);
        prepare(p);
        t.draw(p, QSizeF(t.size));
        p.end();
        if (!save(img, progDir, QLatin1String("theme/images"), QLatin1String(t.name)))
            ++failed;
    }
    return failed;
}

} // namespace Art
