#include "zpopupfit.h"

#include <QWidget>

namespace PopupFit {

QRect screenOf(const QWidget *widget)
{
    if (!widget)
        return QRect();
    const QWidget *top = widget->window();
    return QRect(top->mapToGlobal(QPoint(0, 0)), top->size());
}

QRect fit(const QRect &wanted, const QRect &screen)
{
    if (screen.isEmpty())
        return wanted;
    QRect r(wanted.topLeft(), QSize(qMin(wanted.width(), screen.width()), qMin(wanted.height(), screen.height())));
    if (r.right() > screen.right())
        r.moveRight(screen.right());
    if (r.bottom() > screen.bottom())
        r.moveBottom(screen.bottom());
    if (r.left() < screen.left())
        r.moveLeft(screen.left());
    if (r.top() < screen.top())
        r.moveTop(screen.top());
    return r;
}

void place(QWidget *popup, const QWidget *anchor)
{
    if (!popup || !anchor)
        return;
    const QRect screen = screenOf(anchor);
    const QRect now = popup->geometry();
    const QRect wanted = fit(now, screen);
    if (wanted != now)
        popup->setGeometry(wanted);
}

} // namespace PopupFit
