#include "art.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QtMath>

namespace Art {

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // 96 dots per inch, so that every picture looks the same whatever screen drew it.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

void prepare(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

bool save(const QImage &image, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QImage::Format format = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    return image.convertToFormat(format).save(path, "PNG");
}

bool save(const QImage &image, const QString &progDir, QLatin1String folder, const QString &name)
{
    return save(image, progDir + folder + QLatin1Char('/') + name + QLatin1String(".png"));
}

quint32 Random::next()
{
    // xorshift32
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
}

double Random::unit()
{
    return (next() >> 8) / double(1u << 24);
}

double Random::range(double low, double high)
{
    return low + (high - low) * unit();
}

QPainterPath cloudPath(const QRectF &b)
{
    // Three puffs on a flat, rounded base.
    const double w = b.width(), h = b.height();
    QPainterPath path;
    path.addRoundedRect(QRectF(b.left(), b.top() + h * 0.45, w, h * 0.55), h * 0.27, h * 0.27);
    path.addEllipse(QRectF(b.left() + w * 0.10, b.top() + h * 0.30, w * 0.38, h * 0.55));
    path.addEllipse(QRectF(b.left() + w * 0.30, b.top(), w * 0.46, h * 0.75));
    path.addEllipse(QRectF(b.left() + w * 0.58, b.top() + h * 0.25, w * 0.34, h * 0.55));
    path.setFillRule(Qt::WindingFill);
    return path.simplified();
}

QPainterPath starPath(const QPointF &c, double outer, double inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const double r = (i % 2) ? inner : outer;
        const double a = -M_PI / 2 + i * M_PI / points;
        const QPointF pt(c.x() + r * qCos(a), c.y() + r * qSin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

} // namespace Art
