#include "zslider.h"

#include "zkeys.h"

#include <QKeyEvent>
#include <QWheelEvent>

ZSlider::ZSlider(QWidget *parent, const QString &name)
    : QSlider(Qt::Horizontal, parent)
{
    if (!name.isEmpty())
        setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
}

ZSlider::ZSlider(int minValue, int maxValue, int lineStep, int value, Qt::Orientation orientation,
                 QWidget *parent)
    : QSlider(orientation, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setRange(minValue, maxValue);
    setSingleStep(lineStep);
    setPageStep(qMax(lineStep, (maxValue - minValue) / 10));
    setValue(value);
}

void ZSlider::clearSelection()
{
    setSliderDown(false);
}

void ZSlider::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Up:
    case ZKey::Down:
        event->ignore();
        return;
    case ZKey::Left:
        triggerAction(SliderSingleStepSub);
        return;
    case ZKey::Right:
        triggerAction(SliderSingleStepAdd);
        return;
    default:
        QSlider::keyPressEvent(event);
    }
}

void ZSlider::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QSlider::wheelEvent(event);
    else
        event->ignore();
}
