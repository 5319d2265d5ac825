#include "zcombobox.h"

#include "zkeys.h"
#include "zpopupfit.h"

#include <QAbstractItemView>
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
    case ZKey::Add:
    case ZKey::RightSoft:
        // Moving the focus or the tab, and the soft keys (F1, F4), belong to the window; a plain
        // combo box would open its list on F4.
        event->ignore();
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

void ZComboBox::showPopup()
{
    QComboBox::showPopup();
    PopupFit::place(view()->window(), this);
    view()->scrollTo(view()->currentIndex());
}
