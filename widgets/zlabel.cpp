#include "zlabel.h"

ZLabel::ZLabel(const QString &text, QWidget *parent, const QString &name)
    : QLabel(text, parent)
{
    if (!name.isEmpty())
        setObjectName(name);
}

void ZLabel::setTextColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    setPalette(p);
}

QColor ZLabel::textColor() const
{
    return palette().color(QPalette::WindowText);
}
