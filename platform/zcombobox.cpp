#include "zcombobox.h"

#include "zkeys.h"

#include <QKeyEvent>
#include <QWheelEvent>

ZComboBox::ZComboBox(QWidget *parent, const QString &name)
    : QComboBox(parent)
{
    if (!name.isEmpty())
        setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
}

void ZComboBox::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Up:
    case ZKey::Down:
    case ZKey::Left:
    case ZKey::Right:
        event->ignore(); // moving the focus or the tab belongs to the window
        return;
    case ZKey::Select:
    case ZKey::Digit5:
        showPopup();
        return;
    default:
        QComboBox::keyPressEvent(event);
    }
}

void ZComboBox::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}
