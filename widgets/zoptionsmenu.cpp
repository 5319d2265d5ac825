#include "zoptionsmenu.h"

#include "zkeys.h"
#include "zphonestyle.h"
#include "zpopupfit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

ZOptionsMenu::ZOptionsMenu(QWidget *parent, const QString &name)
    : QMenu(parent)
{
    if (!name.isEmpty())
        setObjectName(name);
    setFont(ZPhoneStyle::font(10));
    setStyleSheet(ZPhoneStyle::styleSheet());
    // Folded before the menu measures itself for showing, so it never sees more than fits.
    connect(this, &QMenu::aboutToShow, this, [this] { foldFrom(0); });
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
    if (QAction *a = action(id)) {
        a->setEnabled(enabled);
        if (enabled)
            m_disabled.remove(a);
        else
            m_disabled.insert(a);
    }
}

bool ZOptionsMenu::isItemEnabled(int id) const
{
    QAction *a = action(id);
    return a && entryEnabled(a);
}

bool ZOptionsMenu::entryEnabled(QAction *a) const
{
    // A folded entry is hidden, and a hidden entry reads as disabled: what it really is was
    // noted when it was folded.
    return m_folded.contains(a) ? !m_disabled.contains(a) : a->isEnabled();
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
    if (!a || !entryEnabled(a))
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
    QPoint at = bar ? bar->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    // Measured as it will show: no taller than the room above the bar.
    const QRect screen = PopupFit::screenOf(parentWidget() ? parentWidget() : this);
    m_room = bar && !screen.isEmpty() ? at.y() - screen.top() : 0;
    foldFrom(0);
    const QSize size = sizeHint();
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

void ZOptionsMenu::hideEvent(QHideEvent *event)
{
    unfold();
    QMenu::hideEvent(event);
}

void ZOptionsMenu::unfold()
{
    for (QAction *a : std::as_const(m_folded))
        a->setVisible(true);
    m_folded.clear();
    m_first = 0;
    setMinimumWidth(0);
}

void ZOptionsMenu::foldFrom(int first)
{
    unfold();
    const QRect screen = PopupFit::screenOf(parentWidget() ? parentWidget() : this);
    ensurePolished();
    const QSize whole = sizeHint();
    const int room = m_room > 0 ? qMin(m_room, screen.height()) : screen.height();
    if (screen.isEmpty() || whole.height() <= room)
        return;
    const QList<QAction *> all = actions();
    first = qBound(0, first, int(all.size()) - 1);
    m_disabled.clear(); // a hidden entry reads as disabled: remember which ones really are
    for (QAction *a : all)
        if (!a->isEnabled())
            m_disabled.insert(a);
    // Hide the entries before `first`, then entries from the end until the rest fits.
    auto hide = [this](QAction *a) {
        if (a->isVisible()) {
            a->setVisible(false);
            m_folded.append(a);
        }
    };
    int top = 0;
    for (; top < first; ++top)
        hide(all.at(top));
    int last = int(all.size()) - 1;
    while (sizeHint().height() > room && last > first)
        hide(all.at(last--));
    // Fill room left at the end with entries before the first, so a menu scrolled to its end
    // shows a full screen.
    while (top > 0) {
        QAction *a = all.at(top - 1);
        a->setVisible(true);
        if (sizeHint().height() > room) {
            a->setVisible(false);
            break;
        }
        m_folded.removeOne(a);
        --top;
    }
    m_first = top;
    setMinimumWidth(whole.width()); // as wide as the widest entry, shown or not
    if (isVisible())
        resize(sizeHint());
}

bool ZOptionsMenu::scrollBy(int step)
{
    if (m_folded.isEmpty())
        return false;
    const QList<QAction *> all = actions();
    int at = int(all.indexOf(activeAction()));
    if (at < 0)
        return false;
    // The next entry the highlight can rest on, in the direction of the step.
    int next = at + step;
    while (next >= 0 && next < all.size() && (all.at(next)->isSeparator() || m_disabled.contains(all.at(next))))
        next += step;
    if (next < 0 || next >= all.size()) // past either end: round to the other one
        next = step > 0 ? 0 : int(all.size()) - 1;
    if (all.at(next)->isVisible())
        return false;
    int shown = 0;
    for (QAction *a : all)
        shown += a->isVisible() ? 1 : 0;
    foldFrom(step > 0 ? next - shown + 1 : next);
    if (!all.at(next)->isVisible()) // a different mix of heights: start at it
        foldFrom(next);
    setActiveAction(all.at(next));
    PopupFit::place(this, parentWidget());
    update();
    return true;
}

void ZOptionsMenu::paintEvent(QPaintEvent *event)
{
    QMenu::paintEvent(event);
    if (m_folded.isEmpty())
        return;
    const QList<QAction *> all = actions();
    bool above = false, below = false;
    for (int i = 0; i < all.size(); ++i) {
        if (!all.at(i)->isVisible()) {
            above = above || i < m_first;
            below = below || i > m_first;
        }
    }
    // Small arrows at the right edge mark entries above and below the shown ones.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x37, 0x47, 0x4f));
    const int x = width() - 9;
    if (above)
        p.drawPolygon(QPolygon({QPoint(x, 7), QPoint(x + 6, 7), QPoint(x + 3, 3)}));
    if (below)
        p.drawPolygon(QPolygon({QPoint(x, height() - 8), QPoint(x + 6, height() - 8), QPoint(x + 3, height() - 4)}));
}

void ZOptionsMenu::keyPressEvent(QKeyEvent *event)
{
    // The keypad's codes and digits as the menu's own navigation keys.
    int qtKey = 0;
    switch (ZKey::code(event)) {
    case ZKey::Up:
    case ZKey::Digit2:
        if (scrollBy(-1))
            return;
        qtKey = Qt::Key_Up;
        break;
    case ZKey::Down:
    case ZKey::Digit8:
        if (scrollBy(1))
            return;
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
