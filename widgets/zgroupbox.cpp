#include "zgroupbox.h"

ZGroupBox::ZGroupBox(const QString &title, QWidget *parent, const QString &name)
    : QGroupBox(title, parent)
{
    if (!name.isEmpty())
        setObjectName(name);
}
