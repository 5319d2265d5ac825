#include "zdatemodule.h"

#include "zkeys.h"

#include <QKeyEvent>
#include <QWheelEvent>

ZDateModule::ZDateModule(QWidget *parent, const QString &name)
    : QDateEdit(parent)
{
    if (!name.isEmpty())
        setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    setDateRange(firstDate(), lastDate());
    setCalendarPopup(false);
    setAlignment(Qt::AlignCenter);
    setDate(QDate::currentDate());
}

void ZDateModule::setDate(const QDate &date)
{
    if (!date.isValid())
        return;
    QDateEdit::setDate(qBound(firstDate(), date, lastDate()));
}

void ZDateModule::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Left:
        if (currentSectionIndex() > 0)
            setCurrentSectionIndex(currentSectionIndex() - 1);
        return;
    case ZKey::Right:
        if (currentSectionIndex() < sectionCount() - 1)
            setCurrentSectionIndex(currentSectionIndex() + 1);
        return;
    default:
        QDateEdit::keyPressEvent(event);
    }
}

void ZDateModule::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QDateEdit::wheelEvent(event);
    else
        event->ignore();
}
