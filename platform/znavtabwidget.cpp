#include "znavtabwidget.h"

#include "zkeys.h"

#include <QKeyEvent>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

ZNavTabWidget::ZNavTabWidget(QWidget *parent, const QString &name)
    : QWidget(parent)
    , m_bar(new QTabBar(this))
    , m_stack(new QStackedWidget(this))
{
    if (!name.isEmpty())
        setObjectName(name);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_bar->setExpanding(true);
    m_bar->setDrawBase(false);
    m_bar->setUsesScrollButtons(false);
    m_bar->setIconSize(QSize(24, 24));
    m_bar->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_bar);
    layout->addWidget(m_stack, 1);
    connect(m_bar, &QTabBar::currentChanged, this, &ZNavTabWidget::onBarChanged);
}

int ZNavTabWidget::addTab(QWidget *page, const QIcon &icon, const QString &label)
{
    m_stack->addWidget(page); // before the tab: the first tab makes its page current at once
    return m_bar->addTab(icon, label);
}

int ZNavTabWidget::count() const
{
    return m_bar->count();
}

int ZNavTabWidget::currentPageIndex() const
{
    return m_bar->currentIndex();
}

QWidget *ZNavTabWidget::currentPage() const
{
    return page(currentPageIndex());
}

void ZNavTabWidget::setCurrentPage(int index)
{
    if (index >= 0 && index < count())
        m_bar->setCurrentIndex(index);
}

void ZNavTabWidget::showPage(QWidget *page)
{
    setCurrentPage(indexOf(page));
}

QWidget *ZNavTabWidget::page(int index) const
{
    return index >= 0 && index < m_stack->count() ? m_stack->widget(index) : nullptr;
}

int ZNavTabWidget::indexOf(QWidget *page) const
{
    return page ? m_stack->indexOf(page) : -1;
}

void ZNavTabWidget::setTabEnabled(int index, bool enabled)
{
    if (index < 0 || index >= count())
        return;
    m_bar->setTabEnabled(index, enabled);
    if (QWidget *p = page(index))
        p->setEnabled(enabled);
}

void ZNavTabWidget::setTabEnabled(QWidget *page, bool enabled)
{
    setTabEnabled(indexOf(page), enabled);
}

bool ZNavTabWidget::isTabEnabled(int index) const
{
    return index >= 0 && index < count() && m_bar->isTabEnabled(index);
}

void ZNavTabWidget::onBarChanged(int index)
{
    if (index < 0)
        return;
    m_stack->setCurrentIndex(index);
    emit currentChanged(page(index));
}

void ZNavTabWidget::keyPressEvent(QKeyEvent *event)
{
    // Left and right (not used by the control in focus) step through the enabled tabs.
    const int code = ZKey::code(event);
    if (code == ZKey::Left || code == ZKey::Right) {
        const int step = code == ZKey::Left ? -1 : 1;
        for (int i = currentPageIndex() + step; i >= 0 && i < count(); i += step) {
            if (isTabEnabled(i)) {
                setCurrentPage(i);
                break;
            }
        }
        return;
    }
    event->ignore();
}
