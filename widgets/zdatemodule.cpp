#include "zdatemodule.h"

#include "zkeys.h"
#include "zphonestyle.h"

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
    case ZKey::Select:
        setStepping(!m_stepping);
        return;
    case ZKey::Back:
        if (!m_stepping)
            break;
        setStepping(false);
        return;
    case ZKey::Up:
    case ZKey::Down:
        if (!m_stepping)
            break;
        stepBy(ZKey::code(event) == ZKey::Up ? 1 : -1);
        return;
    default:
        QDateEdit::keyPressEvent(event);
        return;
    }
    event->ignore(); // the window's
}

void ZDateModule::focusOutEvent(QFocusEvent *event)
{
    setStepping(false);
    QDateEdit::focusOutEvent(event);
}

void ZDateModule::setStepping(bool on)
{
    if (m_stepping == on)
        return;
    m_stepping = on;
    // A stepping field is framed in the highlight colour.
    setStyleSheet(on ? QStringLiteral("ZDateModule { border: 2px solid %1; }").arg(ZPhoneStyle::highlightColor().name())
                     : QString());
}

void ZDateModule::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QDateEdit::wheelEvent(event);
    else
        event->ignore();
}
