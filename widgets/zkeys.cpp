#include "zkeys.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace ZKey {

int fromQtKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Escape:
    case Qt::Key_Back:
        return Back;
    case Qt::Key_Delete:
        return Delete;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
        return Select;
    case Qt::Key_Menu:
        return LeftSoft;
    default:
        break;
    }
    // The desktop's function and navigation keys (0x01000000 to 0x0100ffff) keep their order
    // on the phone, which numbers them from 0x1000: F1 is 4144, the arrow keys 4114 to 4117.
    if (qtKey >= 0x01000000 && qtKey <= 0x0100ffff)
        return qtKey - 0x01000000 + 0x1000;
    return qtKey;
}

int code(const QKeyEvent *event)
{
    return event ? fromQtKey(event->key()) : 0;
}

bool buttonKey(QAbstractButton *button, QKeyEvent *event)
{
    switch (code(event)) {
    case Select:
    case Digit5:
        button->click();
        return true;
    case Up:
    case Down:
    case Left:
    case Right:
        event->ignore();
        return true;
    default:
        return false;
    }
}

} // namespace ZKey
