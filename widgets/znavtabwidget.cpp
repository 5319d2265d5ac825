#include "znavtabwidget.h"

#include "zkeys.h"

#include "zphonestyle.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

// Tabs of equal width with the icon in the middle; the current tab is light with a coloured
// line on top, a disabled tab shows its icon faded.
class NavTabBar : public QTabBar
{
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int) const override
    {
        const int n = qMax(1, count());
        return QSize(qMax(24, (parentWidget() ? parentWidget()->width() : 240) / n), 34);
    }
    QSize minimumTabSizeHint(int index) const override
    {
        return QSize(24, tabSizeHint(index).height());
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xdf, 0xe8, 0xec));
        for (int i = 0; i < count(); ++i) {
            const QRect r = tabRect(i);
            const bool current = i == currentIndex();
            const bool enabled = isTabEnabled(i);
            if (current) {
                p.fillRect(r, QColor(0xfb, 0xfc, 0xfd));
                p.fillRect(QRect(r.left(), r.top(), r.width(), 3), ZPhoneStyle::highlightColor());
            }
            if (i > 0) {
                p.setPen(QColor(0xc3, 0xd3, 0xdb));
                p.drawLine(r.left(), r.top() + 6, r.left(), r.bottom() - 6);
            }
            const QSize size = iconSize();
            const QPixmap pix = tabIcon(i).pixmap(size, enabled ? QIcon::Normal : QIcon::Disabled);
            if (!pix.isNull()) {
                if (!enabled)
                    p.setOpacity(0.45);
                const QSize s = pix.deviceIndependentSize().toSize();
                p.drawPixmap(QRect(r.center().x() - s.width() / 2 + 1, r.center().y() - s.height() / 2 + 2,
                                   s.width(), s.height()), pix);
                p.setOpacity(1.0);
            }
            if (!tabText(i).isEmpty()) {
                p.setPen(enabled ? QColor(0x1d, 0x2a, 0x30) : QColor(0x9a, 0xa7, 0xad));
                p.drawText(r.adjusted(2, 0, -2, -1), Qt::AlignHCenter | Qt::AlignBottom, tabText(i));
            }
        }
        p.setPen(QColor(0xb8, 0xc8, 0xd0));
        p.drawLine(rect().bottomLeft(), rect().bottomRight());
    }
};

} // namespace

ZNavTabWidget::ZNavTabWidget(QWidget *parent, const QString &name)
    : QWidget(parent)
    , m_bar(new NavTabBar(this))
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
