#include "zoptionsmenu.h"

#include "zkeys.h"
#include "zphonestyle.h"
#include "zpopupfit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

ZOptionsMenu::ZOptionsMenu(QWidget *parent, const QString &name)
    : QMenu(parent)
{
    if (!name.isEmpty())
        setObjectName(name);
    setFont(ZPhoneStyle::font(10));
    setStyleSheet(ZPhoneStyle::styleSheet());
}

QAction *ZOptionsMenu::addEntry(const QString &text, const QPixmap &icon, int id)
{
    QAction *a = addAction(QIcon(icon), text);
    a->setData(id);
    connect(a, &QAction::triggered, this, [this, id] { emit activated(id); });
    return a;
}

int ZOptionsMenu::insertItem(const QString &text, const QPixmap &icon, QObject *receiver,
                             const char *member, int id)
{
    id = insertItem(text, icon, id);
    if (receiver && member)
        connect(action(id), SIGNAL(triggered()), receiver, member);
    return id;
}

int ZOptionsMenu::insertItem(const QString &text, const QPixmap &icon, int id)
{
    if (id < 0)
        id = m_nextId;
    removeItem(id); // an id names one entry
    addEntry(text, icon, id);
    m_nextId = qMax(m_nextId, id + 1);
    return id;
}

int ZOptionsMenu::insertItem(const QString &text, ZOptionsMenu *subMenu, const QPixmap &icon, int id)
{
    if (id < 0)
        id = m_nextId;
    removeItem(id);
    QAction *a = addEntry(text, icon, id);
    a->setMenu(subMenu);
    m_nextId = qMax(m_nextId, id + 1);
    return id;
}

QAction *ZOptionsMenu::action(int id) const
{
    const QList<QAction *> all = actions();
    for (QAction *a : all) {
        if (a->data().isValid() && a->data().toInt() == id)
            return a;
    }
    return nullptr;
}

void ZOptionsMenu::changeItem(int id, const QString &text, const QPixmap &icon)
{
    if (QAction *a = action(id)) {
        a->setText(text);
        a->setIcon(QIcon(icon));
    }
}

void ZOptionsMenu::changeItem(int id, const QString &text)
{
    if (QAction *a = action(id))
        a->setText(text);
}

QString ZOptionsMenu::text(int id) const
{
    QAction *a = action(id);
    return a ? a->text() : QString();
}

QIcon ZOptionsMenu::itemIcon(int id) const
{
    QAction *a = action(id);
    return a ? a->icon() : QIcon();
}

void ZOptionsMenu::setItemEnabled(int id, bool enabled)
{
    if (QAction *a = action(id))
        a->setEnabled(enabled);
}

bool ZOptionsMenu::isItemEnabled(int id) const
{
    QAction *a = action(id);
    return a && a->isEnabled();
}

bool ZOptionsMenu::hasItem(int id) const
{
    return action(id) != nullptr;
}

void ZOptionsMenu::removeItem(int id)
{
    if (QAction *a = action(id)) {
        removeAction(a);
        a->deleteLater();
    }
}

int ZOptionsMenu::count() const
{
    int n = 0;
    const QList<QAction *> all = actions();
    for (QAction *a : all)
        n += a->data().isValid() ? 1 : 0;
    return n;
}

int ZOptionsMenu::idAt(int index) const
{
    int n = 0;
    const QList<QAction *> all = actions();
    for (QAction *a : all) {
        if (!a->data().isValid())
            continue;
        if (n++ == index)
            return a->data().toInt();
    }
    return -1;
}

ZOptionsMenu *ZOptionsMenu::subMenu(int id) const
{
    QAction *a = action(id);
    return a ? qobject_cast<ZOptionsMenu *>(a->menu()) : nullptr;
}

void ZOptionsMenu::activateItem(int id)
{
    QAction *a = action(id);
    if (!a || !a->isEnabled())
        return;
    if (ZOptionsMenu *sub = subMenu(id)) {
        QPoint at = isVisible() ? mapToGlobal(actionGeometry(a).topRight()) : pos();
        sub->popup(at);
        return;
    }
    hide();
    a->trigger();
}

void ZOptionsMenu::popupAbove(QWidget *bar)
{
    ensurePolished();
    const QSize size = sizeHint();
    QPoint at = bar ? bar->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    at.ry() -= size.height();
    if (bar && bar->screen()) {
        const QRect screen = bar->screen()->geometry();
        at.setY(qMax(at.y(), screen.top()));
    }
    popup(at);
    // Opened from the keypad: the first entry is highlighted, so select runs it at once.
    for (QAction *a : actions())
        if (a->isVisible() && a->isEnabled() && !a->isSeparator()) {
            setActiveAction(a);
            break;
        }
}

void ZOptionsMenu::showEvent(QShowEvent *event)
{
    QMenu::showEvent(event);
    // A sub-menu's parent is the menu's own parent (the soft-key bar), so both stay on the
    // phone's screen.
    PopupFit::place(this, parentWidget());
}

void ZOptionsMenu::keyPressEvent(QKeyEvent *event)
{
    // The keypad's codes and digits as the menu's own navigation keys.
    int qtKey = 0;
    switch (ZKey::code(event)) {
    case ZKey::Up:
    case ZKey::Digit2:
        qtKey = Qt::Key_Up;
        break;
    case ZKey::Down:
    case ZKey::Digit8:
        qtKey = Qt::Key_Down;
        break;
    case ZKey::Left:
        qtKey = Qt::Key_Left;
        break;
    case ZKey::Right:
        qtKey = Qt::Key_Right;
        break;
    case ZKey::Select:
    case ZKey::Digit5:
        qtKey = Qt::Key_Return;
        break;
    case ZKey::Back:
        qtKey = Qt::Key_Escape;
        break;
    default:
        break;
    }
    if (qtKey && qtKey != event->key()) {
        QKeyEvent translated(event->type(), qtKey, Qt::NoModifier);
        QMenu::keyPressEvent(&translated);
        return;
    }
    QMenu::keyPressEvent(event);
}
