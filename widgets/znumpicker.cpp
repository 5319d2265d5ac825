#include "znumpicker.h"

#include "zkeys.h"

#include <QKeyEvent>
#include <QWheelEvent>

ZNumPicker::ZNumPicker(int digits, QWidget *parent, const QString &name)
    : QSpinBox(parent)
    , m_digits(qBound(1, digits, 9))
{
    if (!name.isEmpty())
        setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setRange(0, 9999);
}

QSize ZNumPicker::sizeHint() const
{
    QSize s = QSpinBox::sizeHint();
    const int digitWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    s.setWidth(qMax(s.width() - fontMetrics().horizontalAdvance(QString::number(maximum())),
                    0) + digitWidth * m_digits);
    return s;
}

void ZNumPicker::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Left:
        stepBy(-1);
        return;
    case ZKey::Right:
        stepBy(1);
        return;
    case ZKey::Up:
    case ZKey::Down:
        event->ignore();
        return;
    default:
        QSpinBox::keyPressEvent(event);
    }
}

void ZNumPicker::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QSpinBox::wheelEvent(event);
    else
        event->ignore();
}
