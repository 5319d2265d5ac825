#include "zscrollpanel.h"

#include "zkeys.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QVBoxLayout>

ZScrollPanel::ZScrollPanel(QWidget *parent, const QString &name)
    : QScrollArea(parent)
    , m_contents(new QWidget)
{
    if (!name.isEmpty())
        setObjectName(name);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    setFocusPolicy(Qt::NoFocus);
    setWidget(m_contents);
    m_focusFollower = connect(qApp, &QApplication::focusChanged, this, &ZScrollPanel::followFocus);
}

ZScrollPanel::~ZScrollPanel()
{
    // Deleting the children below moves the application's focus; by then this object is no
    // longer a scroll panel, so it must not hear of it.
    disconnect(m_focusFollower);
}

void ZScrollPanel::addChild(QWidget *child, int x, int y)
{
    if (!child)
        return;
    child->setParent(m_contents);
    child->move(x, y);
    if (!child->testAttribute(Qt::WA_Resized))
        child->adjustSize();
    child->installEventFilter(this);
    child->show();
    fitContents();
}

void ZScrollPanel::addWidget(QWidget *child, int stretch)
{
    auto *layout = qobject_cast<QVBoxLayout *>(m_contents->layout());
    if (!layout) {
        if (m_contents->layout())
            return; // the caller laid the contents out in its own way
        layout = new QVBoxLayout(m_contents);
    }
    layout->addWidget(child, stretch);
}

// The contents are at least as large as their fixed-position children need.
void ZScrollPanel::fitContents()
{
    int right = 0;
    int bottom = 0;
    const QList<QWidget *> children = m_contents->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *w : children) {
        if (w->isWindow() || w->isHidden())
            continue;
        if (m_contents->layout() && m_contents->layout()->indexOf(w) >= 0)
            continue;
        right = qMax(right, w->geometry().right() + 1);
        bottom = qMax(bottom, w->geometry().bottom() + 1);
    }
    if (!m_contents->layout())
        m_contents->setMinimumSize(right, bottom + 6);
}

bool ZScrollPanel::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched->parent() == m_contents)
            fitContents();
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

bool ZScrollPanel::isControl(const QWidget *w) const
{
    return (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(m_contents);
}

void ZScrollPanel::followFocus(QWidget *, QWidget *now)
{
    if (!now || !m_contents->isAncestorOf(now))
        return;
    ensureWidgetVisible(now, 10, 10);
    // Lines above the first control and below the last (a caption, a status line, a note)
    // cannot take the focus: they come into view with the first or the last control.
    const int top = now->mapTo(m_contents, QPoint(0, 0)).y();
    const int bottom = now->mapTo(m_contents, QPoint(0, now->height())).y();
    bool first = true;
    bool last = true;
    const QList<QWidget *> widgets = m_contents->findChildren<QWidget *>();
    for (const QWidget *w : widgets) {
        if (w == now || !isControl(w))
            continue;
        first = first && w->mapTo(m_contents, QPoint(0, 0)).y() >= top;
        last = last && w->mapTo(m_contents, QPoint(0, w->height())).y() <= bottom;
    }
    if (first)
        verticalScrollBar()->setValue(0);
    else if (last)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

bool ZScrollPanel::holdsFocusableControl() const
{
    const QList<QWidget *> widgets = m_contents->findChildren<QWidget *>();
    for (const QWidget *w : widgets) {
        if (isControl(w))
            return true;
    }
    return false;
}

void ZScrollPanel::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Up:
    case ZKey::Down:
        if (holdsFocusableControl()) {
            event->ignore(); // the window moves the focus, and followFocus keeps it in view
            return;
        }
        verticalScrollBar()->triggerAction(ZKey::code(event) == ZKey::Up ? QAbstractSlider::SliderSingleStepSub
                                                                          : QAbstractSlider::SliderSingleStepAdd);
        return;
    case ZKey::Left:
    case ZKey::Right:
        event->ignore(); // the window's tabs
        return;
    default:
        QScrollArea::keyPressEvent(event);
    }
}
