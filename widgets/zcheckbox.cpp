#include "zcheckbox.h"

#include "zkeys.h"

#include <QKeyEvent>

ZCheckBox::ZCheckBox(const QString &text, QWidget *parent, const QString &name)
    : QCheckBox(text, parent)
{
    if (!name.isEmpty())
        setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
}

ZCheckBox::ZCheckBox(const QPixmap &icon, const QString &text, QWidget *parent)
    : ZCheckBox(text, parent)
{
    setIcon(QIcon(icon));
    setIconSize(QSize(20, 20));
}

void ZCheckBox::keyPressEvent(QKeyEvent *event)
{
    if (!ZKey::buttonKey(this, event))
        QCheckBox::keyPressEvent(event);
}
