// Menu, tab and check-box icons: a rounded badge in the entry's colour with a white
// pictogram, drawn on a 24-unit grid. Also the system icons of the file lists and the
// program icon.

#include "art.h"

#include <QFile>
#include <QPainter>
#include <QtMath>
#include <functional>
#include <map>

namespace {

using Glyph = std::function<void(QPainter &, const QColor &badge)>;

struct Icon
{
    const char *name;
    QColor badge;
    Glyph glyph;
};

const QColor kBlue(0x35, 0x78, 0xd4), kGreen(0x2b, 0x9e, 0x4e), kRed(0xd6, 0x48, 0x45),
    kOrange(0xee, 0x84, 0x32), kAmber(0xdc, 0xa0, 0x12), kTeal(0x17, 0x9e, 0x95),
    kPurple(0x8a, 0x58, 0xd2), kSlate(0x55, 0x66, 0x7a), kGrey(0x7c, 0x86, 0x94),
    kSky(0x2f, 0x9a, 0xe6), kPink(0xdc, 0x4a, 0x78);

QPen whitePen(double width = 2.0)
{
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void badge(QPainter &p, const QColor &c)
{
    QLinearGradient g(0, 1, 0, 23);
    g.setColorAt(0, c.lighter(128));
    g.setColorAt(1, c.darker(112));
    p.setPen(QPen(c.darker(150), 1.0));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 5, 5);
    // A soft gloss on the upper half.
    QLinearGradient gloss(0, 2, 0, 12);
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(2.5, 2.5, 19, 10), 4, 4);
}

// Small pieces shared by several pictograms.
void plusMark(QPainter &p, const QPointF &c, double r, const QColor &on)
{
    p.setPen(QPen(on.darker(160), 0.8));
    p.setBrush(Qt::white);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(on, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - r * 0.55, c.y()), QPointF(c.x() + r * 0.55, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r * 0.55), QPointF(c.x(), c.y() + r * 0.55));
}

void minusMark(QPainter &p, const QPointF &c, double r, const QColor &on)
{
    p.setPen(QPen(on.darker(160), 0.8));
    p.setBrush(Qt::white);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(on, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - r * 0.55, c.y()), QPointF(c.x() + r * 0.55, c.y()));
}

void crossMark(QPainter &p, const QPointF &c, double r, const QColor &on)
{
    p.setPen(QPen(on.darker(160), 0.8));
    p.setBrush(Qt::white);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(on, 1.5, Qt::SolidLine, Qt::RoundCap));
    const double d = r * 0.45;
    p.drawLine(QPointF(c.x() - d, c.y() - d), QPointF(c.x() + d, c.y() + d));
    p.drawLine(QPointF(c.x() - d, c.y() + d), QPointF(c.x() + d, c.y() - d));
}

void playMark(QPainter &p, const QPointF &c, double r, const QColor &on)
{
    p.setPen(QPen(on.darker(160), 0.8));
    p.setBrush(Qt::white);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(on);
    QPolygonF tri;
    tri << QPointF(c.x() - r * 0.35, c.y() - r * 0.5) << QPointF(c.x() + r * 0.55, c.y())
        << QPointF(c.x() - r * 0.35, c.y() + r * 0.5);
    p.drawPolygon(tri);
}

void picture(QPainter &p, const QRectF &r, const QColor &on)
{
    p.setPen(whitePen(1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPolygonF hills;
    hills << QPointF(r.left() + 1.5, r.bottom() - 1.5)
          << QPointF(r.left() + r.width() * 0.38, r.top() + r.height() * 0.45)
          << QPointF(r.left() + r.width() * 0.58, r.top() + r.height() * 0.70)
          << QPointF(r.left() + r.width() * 0.72, r.top() + r.height() * 0.55)
          << QPointF(r.right() - 1.5, r.bottom() - 1.5);
    p.drawPolygon(hills);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.top() + r.height() * 0.28),
                  r.width() * 0.09, r.width() * 0.09);
    Q_UNUSED(on);
}

void pencil(QPainter &p, const QColor &on, double scale = 1.0, const QPointF &at = QPointF())
{
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    QPolygonF body;
    body << QPointF(4.5, 19.5) << QPointF(5.8, 14.6) << QPointF(15.6, 4.8) << QPointF(19.2, 8.4)
         << QPointF(9.4, 18.2);
    p.setPen(QPen(Qt::white, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(body);
    p.setPen(QPen(on, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.2, 14.2), QPointF(9.8, 17.8));
    p.drawLine(QPointF(13.6, 6.8), QPointF(17.2, 10.4));
    p.restore();
}

void bell(QPainter &p, const QRectF &r)
{
    const double w = r.width(), h = r.height();
    QPainterPath path;
    path.moveTo(r.left(), r.top() + h * 0.80);
    path.cubicTo(r.left() + w * 0.16, r.top() + h * 0.70, r.left() + w * 0.14, r.top() + h * 0.50,
                 r.left() + w * 0.18, r.top() + h * 0.35);
    path.cubicTo(r.left() + w * 0.25, r.top() + h * 0.05, r.left() + w * 0.75, r.top() + h * 0.05,
                 r.left() + w * 0.82, r.top() + h * 0.35);
    path.cubicTo(r.left() + w * 0.86, r.top() + h * 0.50, r.left() + w * 0.84, r.top() + h * 0.70,
                 r.right(), r.top() + h * 0.80);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawEllipse(QPointF(r.center().x(), r.top() + h * 0.90), w * 0.13, h * 0.10);
    p.drawEllipse(QPointF(r.center().x(), r.top() + h * 0.05), w * 0.08, h * 0.06);
}

void listLines(QPainter &p, double left, double right, double top, int rows, double step)
{
    for (int i = 0; i < rows; ++i) {
        const double y = top + i * step;
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(left, y), 1.2, 1.2);
        p.setPen(whitePen(1.6));
        p.drawLine(QPointF(left + 3, y), QPointF(right, y));
    }
}

void lantern(QPainter &p, const QRectF &r, const QColor &on)
{
    const double w = r.width(), h = r.height();
    p.setPen(whitePen(1.3));
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.top() + h * 0.12));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(r.left() + w * 0.3, r.top() + h * 0.1, w * 0.4, h * 0.1), 0.8, 0.8);
    p.drawRoundedRect(QRectF(r.left() + w * 0.3, r.top() + h * 0.74, w * 0.4, h * 0.1), 0.8, 0.8);
    p.drawEllipse(QRectF(r.left(), r.top() + h * 0.16, w, h * 0.62));
    p.setPen(QPen(on, 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(r.left() + w * 0.28, r.top() + h * 0.17, w * 0.44, h * 0.60));
    p.drawLine(QPointF(r.center().x(), r.top() + h * 0.17), QPointF(r.center().x(), r.top() + h * 0.77));
    p.setPen(whitePen(1.2));
    p.drawLine(QPointF(r.center().x(), r.top() + h * 0.84), QPointF(r.center().x(), r.bottom()));
}

QPainterPath gearPath(const QPointF &c, double outer, double inner, double hole, int teeth)
{
    QPainterPath gear;
    gear.addEllipse(c, inner, inner);
    for (int i = 0; i < teeth; ++i) {
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(i * 360.0 / teeth);
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-1.9, -outer, 3.8, outer - inner + 1.5), 0.8, 0.8);
        gear = gear.united(t.map(tooth));
    }
    QPainterPath h;
    h.addEllipse(c, hole, hole);
    return gear.subtracted(h);
}

void palette(QPainter &p, const QRectF &r)
{
    QPainterPath blob;
    blob.addEllipse(r);
    QPainterPath thumb;
    thumb.addEllipse(QPointF(r.left() + r.width() * 0.62, r.top() + r.height() * 0.70),
                     r.width() * 0.11, r.height() * 0.12);
    QPainterPath notch;
    notch.addEllipse(QPointF(r.right(), r.top() + r.height() * 0.78), r.width() * 0.20, r.height() * 0.22);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(blob.subtracted(thumb).subtracted(notch));
    const QColor dots[] = {QColor(0xe5, 0x3e, 0x3e), QColor(0xf2, 0xb1, 0x1b), QColor(0x2f, 0xa8, 0x4f),
                           QColor(0x2c, 0x6f, 0xd6)};
    const QPointF at[] = {{0.28, 0.40}, {0.45, 0.22}, {0.68, 0.25}, {0.30, 0.66}};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(QPointF(r.left() + r.width() * at[i].x(), r.top() + r.height() * at[i].y()),
                      r.width() * 0.09, r.width() * 0.09);
    }
}

void floppy(QPainter &p, const QRectF &r, const QColor &on)
{
    QPainterPath body;
    body.moveTo(r.left() + 1, r.top());
    body.lineTo(r.right() - 3, r.top());
    body.lineTo(r.right(), r.top() + 3);
    body.lineTo(r.right(), r.bottom() - 1);
    body.quadTo(r.right(), r.bottom(), r.right() - 1, r.bottom());
    body.lineTo(r.left() + 1, r.bottom());
    body.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - 1);
    body.lineTo(r.left(), r.top() + 1);
    body.quadTo(r.left(), r.top(), r.left() + 1, r.top());
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(body);
    p.setBrush(on);
    p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top() + 1.2, r.width() * 0.42, r.height() * 0.28));
    p.drawRoundedRect(QRectF(r.left() + r.width() * 0.18, r.top() + r.height() * 0.52, r.width() * 0.64,
                             r.height() * 0.38), 0.8, 0.8);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.50, r.top() + 1.9, r.width() * 0.1, r.height() * 0.17));
}

void circleArrow(QPainter &p, const QPointF &c, double r, double width)
{
    p.setPen(whitePen(width));
    p.setBrush(Qt::NoBrush);
    const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    p.drawArc(box, 100 * 16, 290 * 16);
    // Arrow head at the start of the arc (100 degrees), pointing along the turn.
    const double a = qDegreesToRadians(100.0);
    const QPointF tip(c.x() + r * qCos(a), c.y() - r * qSin(a));
    QPolygonF head;
    head << QPointF(tip.x() + 3.6, tip.y()) << QPointF(tip.x() - 1.2, tip.y() - 3.4)
         << QPointF(tip.x() - 1.2, tip.y() + 3.4);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(head);
}

void backArrow(QPainter &p)
{
    QPainterPath path;
    path.moveTo(17.5, 18.5);
    path.lineTo(17.5, 12.5);
    path.cubicTo(17.5, 10.0, 16.0, 8.5, 13.5, 8.5);
    path.lineTo(7.5, 8.5);
    p.setPen(whitePen(2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    QPolygonF head;
    head << QPointF(4.5, 8.5) << QPointF(9.5, 4.2) << QPointF(9.5, 12.8);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(head);
}

void checkBox(QPainter &p, const QRectF &r, bool checked, const QColor &on)
{
    p.setPen(whitePen(1.4));
    p.setBrush(checked ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
    p.drawRoundedRect(r, 1.2, 1.2);
    if (checked) {
        p.setPen(QPen(on, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygonF tick;
        tick << QPointF(r.left() + r.width() * 0.22, r.top() + r.height() * 0.52)
             << QPointF(r.left() + r.width() * 0.43, r.top() + r.height() * 0.74)
             << QPointF(r.left() + r.width() * 0.80, r.top() + r.height() * 0.28);
        p.drawPolyline(tick);
    }
}

std::vector<Icon> icons()
{
    return {
        {"about", kBlue, [](QPainter &p, const QColor &) {
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             p.drawEllipse(QPointF(12, 7.3), 1.8, 1.8);
             p.drawRoundedRect(QRectF(10.6, 10.3, 2.8, 8.5), 1.2, 1.2);
             p.drawRoundedRect(QRectF(9.0, 10.3, 3.5, 1.8), 0.6, 0.6);
             p.drawRoundedRect(QRectF(9.0, 17.2, 6.0, 1.8), 0.6, 0.6);
         }},
        {"add", kGreen, [](QPainter &p, const QColor &) {
             p.setPen(whitePen(2.8));
             p.drawLine(QPointF(12, 6), QPointF(12, 18));
             p.drawLine(QPointF(6, 12), QPointF(18, 12));
         }},
        {"autorun", kOrange, [](QPainter &p, const QColor &) {
             p.setPen(whitePen(2.2));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(6, 7, 12, 12), 125 * 16, 290 * 16);
             p.drawLine(QPointF(12, 5), QPointF(12, 12));
         }},
        {"check", kTeal, [](QPainter &p, const QColor &) {
             QPainterPath eye;
             eye.moveTo(3.8, 12);
             eye.quadTo(12, 3.5, 20.2, 12);
             eye.quadTo(12, 20.5, 3.8, 12);
             p.setPen(whitePen(1.8));
             p.setBrush(Qt::NoBrush);
             p.drawPath(eye);
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             p.drawEllipse(QPointF(12, 12), 3.0, 3.0);
         }},
        {"checkadd", kGreen, [](QPainter &p, const QColor &c) {
             picture(p, QRectF(3.5, 4.5, 13, 11), c);
             plusMark(p, QPointF(16.5, 16.5), 5, c);
         }},
        {"checkdelete", kRed, [](QPainter &p, const QColor &c) {
             picture(p, QRectF(3.5, 4.5, 13, 11), c);
             minusMark(p, QPointF(16.5, 16.5), 5, c);
         }},
        {"checkexit", kGrey, [](QPainter &p, const QColor &) { backArrow(p); }},
        {"delete", kRed, [](QPainter &p, const QColor &c) {
             p.setPen(whitePen(1.8));
             p.drawLine(QPointF(5.5, 7), QPointF(18.5, 7));
             p.drawLine(QPointF(10, 5), QPointF(14, 5));
             QPolygonF can;
             can << QPointF(7.2, 9) << QPointF(16.8, 9) << QPointF(15.8, 19) << QPointF(8.2, 19);
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             p.drawPolygon(can);
             p.setPen(QPen(c, 1.1, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(10, 11), QPointF(10.3, 17));
             p.drawLine(QPointF(14, 11), QPointF(13.7, 17));
         }},
        {"edit", kPurple, [](QPainter &p, const QColor &c) { pencil(p, c); }},
        {"editn", kPurple, [](QPainter &p, const QColor &c) {
             p.setPen(whitePen(1.5));
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(4.5, 4, 11, 15), 1.2, 1.2);
             p.drawLine(QPointF(7, 8), QPointF(13, 8));
             p.drawLine(QPointF(7, 11), QPointF(11, 11));
             pencil(p, c, 0.6, QPointF(8.8, 8.2));
         }},
        {"enable", kGreen, [](QPainter &p, const QColor &c) {
             checkBox(p, QRectF(5, 5, 14, 14), true, c);
         }},
        {"endedit", kOrange, [](QPainter &p, const QColor &c) {
             pencil(p, c, 0.8, QPointF(0, 0));
             crossMark(p, QPointF(16.5, 16.5), 5, c);
         }},
        {"exitn", kGrey, [](QPainter &p, const QColor &) { backArrow(p); }},
        {"festival", kRed, [](QPainter &p, const QColor &c) { lantern(p, QRectF(6, 3.5, 12, 17.5), c); }},
        {"idlerefresh", kTeal, [](QPainter &p, const QColor &) {
             p.setPen(whitePen(1.5));
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(4.5, 3.5, 9, 16), 1.8, 1.8);
             p.drawLine(QPointF(8, 17), QPointF(10, 17));
             circleArrow(p, QPointF(15.5, 14.5), 4.0, 1.7);
         }},
        {"link", kBlue, [](QPainter &p, const QColor &) {
             p.save();
             p.translate(12, 12);
             p.rotate(-45);
             p.setPen(whitePen(2.0));
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(-9, -3.2, 10, 6.4), 3.2, 3.2);
             p.drawRoundedRect(QRectF(-1, -3.2, 10, 6.4), 3.2, 3.2);
             p.restore();
         }},
        {"mngselffestival", kPink, [](QPainter &p, const QColor &) {
             listLines(p, 5, 12, 7, 3, 5);
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             p.drawPath(Art::starPath(QPointF(16.2, 13.5), 5.2, 2.3));
         }},
        {"mngselfnotify", kAmber, [](QPainter &p, const QColor &) {
             listLines(p, 5, 11.5, 7, 3, 5);
             bell(p, QRectF(12.5, 7.5, 8, 10));
         }},
        {"mngwallpaper", kBlue, [](QPainter &p, const QColor &c) {
             p.setPen(whitePen(1.3));
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(7.5, 4, 12.5, 10), 1.5, 1.5);
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawRect(QRectF(4, 8, 13, 12));
             picture(p, QRectF(4, 8.5, 13, 11), c);
         }},
        {"notify", kAmber, [](QPainter &p, const QColor &) { bell(p, QRectF(5.5, 4.5, 13, 15)); }},
        {"quit", kRed, [](QPainter &p, const QColor &) {
             p.setPen(whitePen(1.8));
             p.setBrush(Qt::NoBrush);
             QPolygonF door;
             door << QPointF(12.5, 5.5) << QPointF(6, 5.5) << QPointF(6, 18.5) << QPointF(12.5, 18.5);
             p.drawPolyline(door);
             p.drawLine(QPointF(10, 12), QPointF(16.5, 12));
             QPolygonF head;
             head << QPointF(19.5, 12) << QPointF(15, 8) << QPointF(15, 16);
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             p.drawPolygon(head);
         }},
        {"refresh", kTeal, [](QPainter &p, const QColor &) { circleArrow(p, QPointF(12, 12.5), 6.0, 2.2); }},
        {"reorder", kBlue, [](QPainter &p, const QColor &) {
             p.setPen(whitePen(2.0));
             p.drawLine(QPointF(8.5, 8), QPointF(8.5, 18.5));
             p.drawLine(QPointF(15.5, 5.5), QPointF(15.5, 16));
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             QPolygonF up, down;
             up << QPointF(8.5, 4) << QPointF(12.5, 9) << QPointF(4.5, 9);
             down << QPointF(15.5, 20) << QPointF(19.5, 15) << QPointF(11.5, 15);
             p.drawPolygon(up);
             p.drawPolygon(down);
         }},
        {"run", kGreen, [](QPainter &p, const QColor &) {
             QPainterPath tri;
             tri.moveTo(8.5, 5.8);
             tri.lineTo(18.5, 12);
             tri.lineTo(8.5, 18.2);
             tri.closeSubpath();
             p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(Qt::white);
             p.drawPath(tri);
         }},
        {"saveasedit", kBlue, [](QPainter &p, const QColor &c) {
             floppy(p, QRectF(3.5, 3.5, 13, 13), c);
             plusMark(p, QPointF(16.8, 16.8), 4.8, c);
         }},
        {"saveedit", kBlue, [](QPainter &p, const QColor &c) { floppy(p, QRectF(5, 5, 14, 14), c); }},
        {"selectall", kGreen, [](QPainter &p, const QColor &c) {
             checkBox(p, QRectF(4.5, 4.5, 6.5, 6.5), true, c);
             checkBox(p, QRectF(4.5, 13, 6.5, 6.5), true, c);
             p.setPen(whitePen(1.7));
             p.drawLine(QPointF(13.5, 7.8), QPointF(19.5, 7.8));
             p.drawLine(QPointF(13.5, 16.3), QPointF(19.5, 16.3));
         }},
        {"selectnone", kGrey, [](QPainter &p, const QColor &c) {
             checkBox(p, QRectF(4.5, 4.5, 6.5, 6.5), false, c);
             checkBox(p, QRectF(4.5, 13, 6.5, 6.5), false, c);
             p.setPen(whitePen(1.7));
             p.drawLine(QPointF(13.5, 7.8), QPointF(19.5, 7.8));
             p.drawLine(QPointF(13.5, 16.3), QPointF(19.5, 16.3));
         }},
        {"selffestival", kPink, [](QPainter &p, const QColor &) {
             p.setPen(QPen(Qt::white, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(Qt::white);
             p.drawPath(Art::starPath(QPointF(12, 12.8), 8.0, 3.5));
         }},
        {"selfnotify", kAmber, [](QPainter &p, const QColor &c) {
             QPainterPath note;
             note.moveTo(5, 5);
             note.lineTo(19, 5);
             note.lineTo(19, 14.5);
             note.lineTo(14.5, 19);
             note.lineTo(5, 19);
             note.closeSubpath();
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             p.drawPath(note);
             p.setBrush(c.darker(125));
             QPolygonF fold;
             fold << QPointF(19, 14.5) << QPointF(14.5, 14.5) << QPointF(14.5, 19);
             p.drawPolygon(fold);
             p.setPen(QPen(c, 1.3, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(8, 9), QPointF(16, 9));
             p.drawLine(QPointF(8, 12.2), QPointF(13, 12.2));
         }},
        {"setting", kSlate, [](QPainter &p, const QColor &) {
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             p.drawPath(gearPath(QPointF(12, 12), 8.6, 5.6, 2.4, 8));
         }},
        {"shadow", kSlate, [](QPainter &p, const QColor &) {
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(0, 0, 0, 110));
             p.drawRoundedRect(QRectF(8.5, 8.5, 10.5, 10.5), 1.5, 1.5);
             p.setBrush(Qt::white);
             p.drawRoundedRect(QRectF(5, 5, 10.5, 10.5), 1.5, 1.5);
         }},
        {"sharp", kRed, [](QPainter &p, const QColor &) {
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             p.drawRoundedRect(QRectF(7, 7, 10, 10), 1.8, 1.8);
         }},
        {"startedit", kGreen, [](QPainter &p, const QColor &c) {
             pencil(p, c, 0.8, QPointF(0, 0));
             playMark(p, QPointF(16.5, 16.5), 5, c);
         }},
        {"theme", kPurple, [](QPainter &p, const QColor &) { palette(p, QRectF(4, 5, 16, 14)); }},
        {"themelist", kPurple, [](QPainter &p, const QColor &c) {
             p.setPen(whitePen(1.3));
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(8, 3.8, 12, 10), 2, 2);
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawRoundedRect(QRectF(3, 8, 14.5, 12.5), 2, 2);
             palette(p, QRectF(4, 9.5, 12, 10));
         }},
        {"time", kBlue, [](QPainter &p, const QColor &) {
             p.setPen(whitePen(2.0));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPointF(12, 12), 7.8, 7.8);
             p.setPen(whitePen(1.8));
             p.drawLine(QPointF(12, 12), QPointF(12, 7));
             p.drawLine(QPointF(12, 12), QPointF(15.8, 14));
         }},
        {"wallpaper", kBlue, [](QPainter &p, const QColor &c) { picture(p, QRectF(4.5, 5.5, 15, 13), c); }},
        {"weather", kSky, [](QPainter &p, const QColor &) {
             p.setPen(QPen(QColor(0xff, 0xd5, 0x4a), 1.4, Qt::SolidLine, Qt::RoundCap));
             for (int i = 0; i < 8; ++i) {
                 const double a = i * M_PI / 4;
                 p.drawLine(QPointF(9.5 + 5.2 * qCos(a), 9.5 + 5.2 * qSin(a)),
                            QPointF(9.5 + 6.8 * qCos(a), 9.5 + 6.8 * qSin(a)));
             }
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(0xff, 0xd5, 0x4a));
             p.drawEllipse(QPointF(9.5, 9.5), 3.8, 3.8);
             p.setBrush(Qt::white);
             p.drawPath(Art::cloudPath(QRectF(7, 10, 13.5, 9)));
         }},
    };
}

QImage renderIcon(const Icon &icon, int size)
{
    QImage img = Art::canvas(size, size);
    QPainter p(&img);
    Art::prepare(p);
    p.scale(size / 24.0, size / 24.0);
    badge(p, icon.badge);
    icon.glyph(p, icon.badge);
    p.end();
    return img;
}

// System icons of the file lists: plain pictograms, no badge.
QImage systemIcon(const QString &name)
{
    QImage img = Art::canvas(24, 24);
    QPainter p(&img);
    Art::prepare(p);
    if (name == QLatin1String("fm_folder_small")) {
        QPainterPath back;
        back.moveTo(2.5, 5.5);
        back.lineTo(9, 5.5);
        back.lineTo(11, 7.5);
        back.lineTo(21.5, 7.5);
        back.lineTo(21.5, 19.5);
        back.lineTo(2.5, 19.5);
        back.closeSubpath();
        p.setPen(QPen(QColor(0xb0, 0x7a, 0x10), 1));
        p.setBrush(QColor(0xf0, 0xb8, 0x3a));
        p.drawPath(back);
        QLinearGradient g(0, 9, 0, 20);
        g.setColorAt(0, QColor(0xff, 0xe0, 0x7a));
        g.setColorAt(1, QColor(0xf5, 0xc2, 0x42));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 10), 1.2, 1.2);
    } else if (name == QLatin1String("fm_pic_small") || name == QLatin1String("fm_missing_small")) {
        const bool missing = name == QLatin1String("fm_missing_small");
        p.setPen(QPen(QColor(0x6a, 0x74, 0x80), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(2.5, 4.5, 19, 15), 1.5, 1.5);
        QLinearGradient sky(0, 5, 0, 18);
        sky.setColorAt(0, missing ? QColor(0xc8, 0xcc, 0xd2) : QColor(0x7c, 0xc4, 0xf5));
        sky.setColorAt(1, missing ? QColor(0xe4, 0xe6, 0xea) : QColor(0xd4, 0xee, 0xff));
        p.setPen(Qt::NoPen);
        p.setBrush(sky);
        p.drawRect(QRectF(4, 6, 16, 12));
        p.setBrush(missing ? QColor(0x9a, 0xa0, 0xa8) : QColor(0x3c, 0xa5, 0x4e));
        QPolygonF hills;
        hills << QPointF(4, 18) << QPointF(9, 11) << QPointF(13, 15) << QPointF(16, 12.5) << QPointF(20, 18);
        p.drawPolygon(hills);
        if (missing) {
            p.setPen(QPen(QColor(0xd6, 0x3b, 0x3b), 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 8), QPointF(16, 16));
            p.drawLine(QPointF(16, 8), QPointF(8, 16));
        } else {
            p.setBrush(QColor(0xff, 0xc8, 0x2a));
            p.drawEllipse(QPointF(16, 9), 1.8, 1.8);
        }
    } else if (name == QLatin1String("gen_back_to_arrw_small")) {
        QPainterPath path;
        path.moveTo(19, 19);
        path.lineTo(19, 13);
        path.cubicTo(19, 10.5, 17.5, 9, 15, 9);
        path.lineTo(8, 9);
        p.setPen(QPen(QColor(0x2a, 0x6c, 0xc8), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        QPolygonF head;
        head << QPointF(3.5, 9) << QPointF(9.5, 3.8) << QPointF(9.5, 14.2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2a, 0x6c, 0xc8));
        p.drawPolygon(head);
    }
    p.end();
    return img;
}

// The program icon: a quill over an evening sky.
QImage programIcon()
{
    const int size = 48;
    QImage img = Art::canvas(size, size);
    QPainter p(&img);
    Art::prepare(p);
    QLinearGradient sky(0, 2, 0, 46);
    sky.setColorAt(0.0, QColor(0x2b, 0x2a, 0x6e));
    sky.setColorAt(0.55, QColor(0xb4, 0x4a, 0x7a));
    sky.setColorAt(1.0, QColor(0xf6, 0xa3, 0x4e));
    p.setPen(QPen(QColor(0x1c, 0x1a, 0x4a), 1.2));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xe3, 0x9a));
    p.drawEllipse(QPointF(31, 33), 7, 7);
    p.setBrush(QColor(0x33, 0x1f, 0x4e, 200));
    QPainterPath hills;
    hills.moveTo(3, 38);
    hills.cubicTo(14, 31, 24, 40, 34, 35);
    hills.cubicTo(40, 32, 44, 34, 45, 35);
    hills.lineTo(45, 41);
    hills.quadTo(45, 45, 41, 45);
    hills.lineTo(7, 45);
    hills.quadTo(3, 45, 3, 41);
    hills.closeSubpath();
    p.drawPath(hills);
    for (const QPointF &s : {QPointF(10, 10), QPointF(18, 7), QPointF(38, 11), QPointF(8, 20)}) {
        p.setBrush(QColor(255, 255, 255, 210));
        p.drawEllipse(s, 0.9, 0.9);
    }
    // The quill.
    p.save();
    p.translate(24, 24);
    p.rotate(-38);
    QPainterPath vane;
    vane.moveTo(0, -18);
    vane.cubicTo(7, -12, 7, 2, 1.5, 12);
    vane.lineTo(-1.5, 12);
    vane.cubicTo(-7, 2, -6, -12, 0, -18);
    QLinearGradient feather(-6, 0, 6, 0);
    feather.setColorAt(0, QColor(0xff, 0xff, 0xff));
    feather.setColorAt(1, QColor(0xd8, 0xdc, 0xf0));
    p.setPen(QPen(QColor(0x4a, 0x3a, 0x6a), 0.8));
    p.setBrush(feather);
    p.drawPath(vane);
    p.setPen(QPen(QColor(0x6a, 0x5a, 0x8a), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -15), QPointF(0, 19));
    for (int i = 0; i < 5; ++i) {
        const double y = -10 + i * 4.5;
        p.drawLine(QPointF(0, y), QPointF(4.0, y - 3));
        p.drawLine(QPointF(0, y + 1.5), QPointF(-4.0, y - 1.5));
    }
    p.restore();
    p.end();
    return img;
}

} // namespace

namespace Art {

QStringList iconNames()
{
    QStringList names;
    for (const Icon &icon : icons())
        names << QString::fromLatin1(icon.name);
    return names;
}

QStringList systemIconNames()
{
    return {QStringLiteral("fm_folder_small"), QStringLiteral("fm_missing_small"), QStringLiteral("fm_pic_small"),
            QStringLiteral("gen_back_to_arrw_small")};
}

int drawIcons(const QString &progDir)
{
    int failed = 0;
    for (const Icon &icon : icons()) {
        if (!save(renderIcon(icon, 24), progDir, QLatin1String("resource/icons"), QLatin1String(icon.name)))
            ++failed;
    }
    for (const QString &name : systemIconNames()) {
        if (!save(systemIcon(name), progDir, QLatin1String("resource/sysicons"), name))
            ++failed;
    }
    if (!save(programIcon(), progDir + QLatin1String("show.png")))
        ++failed;
    return failed;
}

} // namespace Art
