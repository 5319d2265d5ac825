#include "zpressbutton.h"

#include "zkeys.h"

#include <QKeyEvent>

ZPressButton::ZPressButton(const QString &text, QWidget *parent, const QString &name)
    : QPushButton(text, parent)
{
    if (!name.isEmpty())
        setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
}

ZPressButton::ZPressButton(const QPixmap &icon, const QString &text, QWidget *parent)
    : ZPressButton(text, parent)
{
    setIcon(QIcon(icon));
    setIconSize(QSize(20, 20));
}

void ZPressButton::keyPressEvent(QKeyEvent *event)
{
    if (!ZKey::buttonKey(this, event))
        QPushButton::keyPressEvent(event);
}
