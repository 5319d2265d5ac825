// Wallpapers, 240 x 320, painted procedurally: every run paints the same pixels.

#include "art.h"

#include <QPainter>
#include <QtMath>
#include <functional>

namespace {

const int W = 240, H = 320;

// A ridge line across the picture: a sum of a few waves with fixed random phases.
QPainterPath ridge(Art::Random &rnd, double baseY, double amplitude, double bottom, int waves = 4)
{
    double phase[6], freq[6], amp[6];
    for (int i = 0; i < waves; ++i) {
        phase[i] = rnd.range(0, 2 * M_PI);
        freq[i] = (i + 1) * rnd.range(0.010, 0.018);
        amp[i] = amplitude / (i + 1) * rnd.range(0.7, 1.2);
    }
    QPainterPath path;
    path.moveTo(-4, bottom);
    for (int x = -4; x <= W + 4; x += 3) {
        double y = baseY;
        for (int i = 0; i < waves; ++i)
            y -= amp[i] * qSin(x * freq[i] + phase[i]);
        path.lineTo(x, y);
    }
    path.lineTo(W + 4, bottom);
    path.closeSubpath();
    return path;
}

void stars(QPainter &p, Art::Random &rnd, int count, double maxY, int maxAlpha)
{
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(rnd.range(0, W), rnd.range(0, maxY) * rnd.range(0.3, 1.0));
        const double r = rnd.unit() < 0.9 ? rnd.range(0.35, 0.8) : rnd.range(0.9, 1.4);
        const int a = int(maxAlpha * (1.0 - c.y() / maxY * 0.7) * rnd.range(0.5, 1.0));
        p.setBrush(QColor(255, 250, 240, qBound(0, a, 255)));
        p.drawEllipse(c, r, r);
    }
}

void glow(QPainter &p, const QPointF &c, double r, const QColor &colour)
{
    QRadialGradient g(c, r);
    QColor inner = colour, outer = colour;
    outer.setAlpha(0);
    g.setColorAt(0, inner);
    g.setColorAt(1, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

// Evening over mountains and a still lake.
void dusk(QPainter &p)
{
    Art::Random rnd(20121);
    QLinearGradient sky(0, 0, 0, 205);
    sky.setColorAt(0.00, QColor(0x14, 0x16, 0x3c));
    sky.setColorAt(0.35, QColor(0x3c, 0x25, 0x62));
    sky.setColorAt(0.65, QColor(0x9a, 0x3f, 0x74));
    sky.setColorAt(0.85, QColor(0xe0, 0x6e, 0x62));
    sky.setColorAt(1.00, QColor(0xfb, 0xb2, 0x64));
    p.fillRect(0, 0, W, 206, sky);
    stars(p, rnd, 90, 120, 230);
    glow(p, QPointF(158, 196), 90, QColor(0xff, 0xc8, 0x7a, 150));
    p.setBrush(QColor(0xff, 0xe6, 0xa6));
    p.drawEllipse(QPointF(158, 196), 17, 17);
    // Thin clouds lit from below.
    for (int i = 0; i < 5; ++i) {
        const double y = 150 + i * 9 + rnd.range(-3, 3);
        const double x = rnd.range(-30, 150);
        QLinearGradient g(x, 0, x + 140, 0);
        g.setColorAt(0, QColor(0xff, 0x9a, 0x8a, 0));
        g.setColorAt(0.5, QColor(0xff, 0xa8, 0x8c, 90));
        g.setColorAt(1, QColor(0xff, 0x9a, 0x8a, 0));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(x, y, 140, 2.6), 1.3, 1.3);
    }
    const QColor layers[] = {QColor(0x8a, 0x4a, 0x7e), QColor(0x5e, 0x31, 0x68), QColor(0x38, 0x1f, 0x4e),
                             QColor(0x1e, 0x14, 0x33)};
    const double base[] = {178, 192, 204, 214};
    const double amp[] = {22, 26, 18, 12};
    QPainterPath front;
    for (int i = 0; i < 4; ++i) {
        QPainterPath r = ridge(rnd, base[i], amp[i], 230);
        p.setBrush(layers[i]);
        p.drawPath(r);
        front = r;
    }
    // The lake mirrors the sky, darker, with streaks of light under the sun.
    QLinearGradient lake(0, 222, 0, H);
    lake.setColorAt(0, QColor(0x6e, 0x36, 0x62));
    lake.setColorAt(0.4, QColor(0x3a, 0x22, 0x52));
    lake.setColorAt(1, QColor(0x10, 0x10, 0x28));
    p.fillRect(QRectF(0, 222, W, H - 222), lake);
    for (int i = 0; i < 26; ++i) {
        const double y = 226 + i * 3.4 + rnd.range(-1, 1);
        const double w = rnd.range(10, 46) * (1.0 - i / 32.0);
        const double x = 158 - w / 2 + rnd.range(-10, 10);
        p.setBrush(QColor(0xff, 0xc8, 0x8a, int(150 * (1.0 - i / 28.0))));
        p.drawRoundedRect(QRectF(x, y, w, 1.3), 0.6, 0.6);
    }
    // Near shore.
    QPainterPath shore = ridge(rnd, 300, 8, H + 4, 3);
    p.setBrush(QColor(0x0c, 0x0a, 0x1c));
    p.drawPath(shore);
}

// Night sky with the northern lights over dark pines.
void aurora(QPainter &p)
{
    Art::Random rnd(7);
    QLinearGradient sky(0, 0, 0, H);
    sky.setColorAt(0, QColor(0x03, 0x07, 0x16));
    sky.setColorAt(0.6, QColor(0x0a, 0x1e, 0x3a));
    sky.setColorAt(1, QColor(0x10, 0x2c, 0x4a));
    p.fillRect(0, 0, W, H, sky);
    stars(p, rnd, 160, 260, 220);
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    for (int band = 0; band < 3; ++band) {
        const double baseY = 70 + band * 42;
        const double ph = rnd.range(0, 6.28), f = rnd.range(0.018, 0.03);
        const QColor c = band == 1 ? QColor(0x3a, 0xe8, 0x9a) : band == 0 ? QColor(0x2a, 0xc0, 0xb0)
                                                                        : QColor(0x8a, 0x5a, 0xe0);
        for (int x = 0; x < W; x += 2) {
            const double y = baseY + 26 * qSin(x * f + ph) + 10 * qSin(x * f * 2.7 + ph * 1.3);
            const double h = 55 + 25 * qSin(x * 0.05 + ph);
            QLinearGradient g(0, y - h, 0, y);
            QColor top = c, bottom = c;
            top.setAlpha(0);
            bottom.setAlpha(band == 2 ? 40 : 70);
            g.setColorAt(0, top);
            g.setColorAt(0.85, bottom);
            QColor end = c;
            end.setAlpha(0);
            g.setColorAt(1, end);
            p.fillRect(QRectF(x, y - h, 2, h), g);
        }
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(Qt::NoPen);
    QPainterPath hills = ridge(rnd, 262, 14, H + 2, 3);
    p.setBrush(QColor(0x0c, 0x1a, 0x2c));
    p.drawPath(hills);
    // Pines along the near slope.
    for (int i = 0; i < 34; ++i) {
        const double x = i * 7.3 + rnd.range(-2, 2);
        const double h = rnd.range(18, 42);
        const double base = 300 + rnd.range(-6, 14);
        QPolygonF tree;
        tree << QPointF(x, base - h) << QPointF(x + h * 0.22, base) << QPointF(x - h * 0.22, base);
        p.setBrush(QColor(0x04, 0x0c, 0x16));
        p.drawPolygon(tree);
    }
    p.fillRect(QRectF(0, 306, W, 14), QColor(0x04, 0x0c, 0x16));
}

// A bright morning at the sea.
void seaside(QPainter &p)
{
    Art::Random rnd(4242);
    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0, QColor(0x4a, 0xa6, 0xe8));
    sky.setColorAt(1, QColor(0xcc, 0xec, 0xfc));
    p.fillRect(0, 0, W, 200, sky);
    glow(p, QPointF(186, 62), 70, QColor(0xff, 0xfa, 0xe0, 200));
    p.setBrush(QColor(0xff, 0xfb, 0xea));
    p.drawEllipse(QPointF(186, 62), 16, 16);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        const QRectF box(rnd.range(-20, 170), rnd.range(20, 140), rnd.range(60, 100), rnd.range(22, 32));
        QLinearGradient g(0, box.top(), 0, box.bottom());
        g.setColorAt(0, QColor(255, 255, 255, 235));
        g.setColorAt(1, QColor(0xe4, 0xee, 0xf8, 220));
        p.setBrush(g);
        p.drawPath(Art::cloudPath(box));
    }
    QLinearGradient sea(0, 196, 0, 262);
    sea.setColorAt(0, QColor(0x2a, 0x8c, 0xc4));
    sea.setColorAt(1, QColor(0x3c, 0xb8, 0xc8));
    p.fillRect(QRectF(0, 196, W, 70), sea);
    for (int i = 0; i < 40; ++i) {
        const double y = rnd.range(200, 258);
        const double w = rnd.range(8, 30);
        p.setBrush(QColor(255, 255, 255, int(rnd.range(60, 140))));
        p.drawRoundedRect(QRectF(rnd.range(-10, W), y, w, 1.2), 0.6, 0.6);
    }
    // Foam and sand.
    QPainterPath foam = ridge(rnd, 262, 4, H + 4, 3);
    p.setBrush(QColor(0xf4, 0xfb, 0xfc));
    p.drawPath(foam);
    QPainterPath sand = ridge(rnd, 268, 4, H + 4, 3);
    QLinearGradient sg(0, 260, 0, H);
    sg.setColorAt(0, QColor(0xf0, 0xd8, 0xa4));
    sg.setColorAt(1, QColor(0xd8, 0xb4, 0x7c));
    p.setBrush(sg);
    p.drawPath(sand);
}

// Plum blossoms against a soft pink light.
void blossom(QPainter &p)
{
    Art::Random rnd(1989);
    QLinearGradient bg(0, 0, W, H);
    bg.setColorAt(0, QColor(0xfd, 0xe8, 0xee));
    bg.setColorAt(0.5, QColor(0xf6, 0xc0, 0xd2));
    bg.setColorAt(1, QColor(0xd6, 0x8c, 0xb4));
    p.fillRect(0, 0, W, H, bg);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 26; ++i) {
        const QPointF c(rnd.range(0, W), rnd.range(0, H));
        const double r = rnd.range(8, 30);
        glow(p, c, r, QColor(255, 255, 255, int(rnd.range(40, 110))));
    }
    // The branch: a few bent strokes from the upper left.
    struct Twig { QPointF a, c1, c2, b; double w; };
    const Twig twigs[] = {
        {{-10, 40}, {40, 50}, {80, 90}, {150, 110}, 6},
        {{70, 78}, {90, 60}, {110, 45}, {140, 38}, 3},
        {{110, 100}, {130, 130}, {150, 150}, {200, 160}, 3.5},
        {{150, 110}, {175, 112}, {200, 100}, {230, 92}, 2.5},
        {{40, 55}, {50, 80}, {45, 110}, {60, 140}, 2.5},
    };
    for (const Twig &t : twigs) {
        QPainterPath path(t.a);
        path.cubicTo(t.c1, t.c2, t.b);
        p.setPen(QPen(QColor(0x4a, 0x2a, 0x2e), t.w, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    const QPointF flowers[] = {{60, 52}, {100, 82}, {142, 40}, {128, 106}, {175, 150}, {205, 158},
                               {226, 94}, {188, 104}, {48, 92}, {58, 138}, {120, 58}, {160, 128}};
    for (const QPointF &c : flowers) {
        const double r = rnd.range(5.5, 8.5);
        const double turn = rnd.range(0, 72);
        p.setPen(QPen(QColor(0xc0, 0x4a, 0x74, 160), 0.6));
        p.setBrush(QColor(0xff, 0xf2, 0xf6));
        for (int k = 0; k < 5; ++k) {
            const double a = qDegreesToRadians(turn + k * 72);
            p.drawEllipse(QPointF(c.x() + r * 0.62 * qCos(a), c.y() + r * 0.62 * qSin(a)), r * 0.55, r * 0.55);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe8, 0x5a, 0x86));
        p.drawEllipse(c, r * 0.32, r * 0.32);
        p.setBrush(QColor(0xff, 0xd0, 0x4a));
        p.drawEllipse(c, r * 0.14, r * 0.14);
    }
    // Petals drifting down.
    for (int i = 0; i < 16; ++i) {
        p.save();
        p.translate(rnd.range(10, W - 10), rnd.range(170, H - 10));
        p.rotate(rnd.range(0, 180));
        p.setBrush(QColor(0xff, 0xee, 0xf4, 200));
        p.drawEllipse(QRectF(-3, -1.6, 6, 3.2));
        p.restore();
    }
}

// Bamboo in morning mist.
void bamboo(QPainter &p)
{
    Art::Random rnd(314);
    QLinearGradient bg(0, 0, 0, H);
    bg.setColorAt(0, QColor(0xe8, 0xf2, 0xe4));
    bg.setColorAt(1, QColor(0xb8, 0xd4, 0xb0));
    p.fillRect(0, 0, W, H, bg);
    p.setPen(Qt::NoPen);
    for (int layer = 0; layer < 3; ++layer) {
        const int alpha = 60 + layer * 70;
        const QColor stem(0x2e - layer * 8, 0x6a - layer * 12, 0x34 - layer * 6, alpha);
        for (int i = 0; i < 4 + layer; ++i) {
            const double x = rnd.range(0, W);
            const double w = 4 + layer * 2.5;
            const double lean = rnd.range(-14, 14);
            for (double y = -10; y < H; y += rnd.range(34, 52)) {
                const double seg = 30;
                const double x0 = x + lean * y / H;
                p.setBrush(stem);
                p.drawRoundedRect(QRectF(x0, y, w, seg), w / 2, w / 2);
                p.setBrush(QColor(stem.red(), stem.green(), stem.blue(), qMin(255, alpha + 40)));
                p.drawRect(QRectF(x0 - 0.6, y + seg - 1, w + 1.2, 1.6));
                if (rnd.unit() < 0.35) {
                    // A spray of leaves.
                    for (int k = 0; k < 3; ++k) {
                        p.save();
                        p.translate(x0 + w / 2, y + seg);
                        p.rotate(rnd.range(-70, 70) + (k % 2 ? 180 : 0));
                        QPainterPath leaf;
                        leaf.moveTo(0, 0);
                        leaf.quadTo(12, -4, 26, 0);
                        leaf.quadTo(12, 4, 0, 0);
                        p.drawPath(leaf);
                        p.restore();
                    }
                }
            }
        }
        // Mist between the layers.
        QLinearGradient mist(0, 0, 0, H);
        mist.setColorAt(0, QColor(255, 255, 255, 70));
        mist.setColorAt(1, QColor(255, 255, 255, 10));
        p.fillRect(0, 0, W, H, mist);
    }
}

struct Wallpaper
{
    const char *name;
    std::function<void(QPainter &)> paint;
};

std::vector<Wallpaper> wallpapers()
{
    return {{"default", dusk}, {"aurora", aurora}, {"seaside", seaside}, {"blossom", blossom}, {"bamboo", bamboo}};
}

} // namespace

namespace Art {

QStringList wallpaperNames()
{
    QStringList names;
    for (const Wallpaper &w : wallpapers())
        names << QString::fromLatin1(w.name);
    return names;
}

int drawWallpapers(const QString &progDir)
{
    int failed = 0;
    for (const Wallpaper &w : wallpapers()) {
        QImage img(W, H, QImage::Format_RGB32);
        img.fill(Qt::black);
        QPainter p(&img);
        prepare(p);
        p.setPen(Qt::NoPen);
        w.paint(p);
        p.end();
        if (!save(img, progDir, QLatin1String("resource/wallpapers"), QLatin1String(w.name)))
            ++failed;
    }
    return failed;
}

} // namespace Art
