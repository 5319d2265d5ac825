#include "zlineedit.h"

ZLineEdit::ZLineEdit(QWidget *parent, const QString &name)
    : QLineEdit(parent)
{
    if (!name.isEmpty())
        setObjectName(name);
}

ZLineEdit::ZLineEdit(const QString &text, QWidget *parent)
    : QLineEdit(text, parent)
{
}
