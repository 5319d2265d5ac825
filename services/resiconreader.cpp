#include "resiconreader.h"

#include "device.h"

#include <QPainter>

QString RES_ICON_Reader::iconPath(const QString &name)
{
    QString base = name;
    if (base.endsWith(QLatin1String(".g")))
        base.chop(2);
    // Icon names are plain names; anything that could leave the icon folder is not one.
    if (base.isEmpty() || base.contains(QLatin1Char('/')) || base.startsWith(QLatin1Char('.')))
        return QString();
    return Platform::programDir() + QStringLiteral("resource/sysicons/") + base + QStringLiteral(".png");
}

QPixmap RES_ICON_Reader::placeholder()
{
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x78, 0x90, 0x9c), 1.2));
    p.setBrush(QColor(0xec, 0xef, 0xf1));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
    return pix;
}

QPixmap RES_ICON_Reader::getIcon(const QString &name) const
{
    const QString path = iconPath(name);
    QPixmap pix;
    if (!path.isEmpty())
        pix.load(path);
    return pix.isNull() ? placeholder() : pix;
}
