// ZListBox: the rows, the current row, and where each row lies.
#include "zlistbox.h"
#include "zlistboxgeometry.h"

#include <QScrollBar>

#include <algorithm>

using namespace ZListBoxGeometry;

ZListBox::ZListBox(const QString &name, QWidget *parent, int)
    : QAbstractScrollArea(parent)
{
    if (!name.isEmpty())
        setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(12);
    m_tops.append(0);
}

ZListBox::~ZListBox()
{
    for (ZListBoxItem *item : std::as_const(m_items)) {
        item->m_list = nullptr;
        delete item;
    }
}

void ZListBox::insertItem(ZListBoxItem *item, int index)
{
    if (!item || item->m_list == this)
        return;
    if (item->m_list)
        item->m_list->takeItem(item->m_list->index(item));
    if (index < 0 || index > m_items.size())
        index = m_items.size();
    m_items.insert(index, item);
    item->m_list = this;
    item->m_height = -1;
    if (m_current >= index)
        ++m_current; // the current row stays on its item
    invalidate();
}

ZListBoxItem *ZListBox::takeItem(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    ZListBoxItem *item = m_items.takeAt(index);
    item->m_list = nullptr;
    invalidate();
    if (m_current > index) {
        --m_current;
    } else if (m_current == index) {
        m_current = qMin(index, int(m_items.size()) - 1);
        if (m_current >= 0)
            emit highlighted(m_current);
    }
    return item;
}

void ZListBox::removeItem(int index)
{
    delete takeItem(index);
}

void ZListBox::clear()
{
    const QVector<ZListBoxItem *> items = m_items;
    m_items.clear();
    m_current = -1;
    for (ZListBoxItem *item : items) {
        item->m_list = nullptr;
        delete item;
    }
    invalidate();
    verticalScrollBar()->setValue(0);
}

ZListBoxItem *ZListBox::item(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

int ZListBox::index(const ZListBoxItem *item) const
{
    return m_items.indexOf(const_cast<ZListBoxItem *>(item));
}

void ZListBox::moveItem(int from, int to)
{
    if (from < 0 || from >= m_items.size() || to < 0 || to >= m_items.size() || from == to)
        return;
    m_items.move(from, to);
    invalidate();
}

void ZListBox::setCurrentItem(int index)
{
    if (index < -1 || index >= m_items.size())
        return;
    if (index == m_current)
        return;
    m_current = index;
    ensureCurrentVisible();
    viewport()->update();
    if (m_current >= 0)
        emit highlighted(m_current);
}

bool ZListBox::itemChecked(int index) const
{
    const ZListBoxItem *row = item(index);
    return row && row->isChecked();
}

void ZListBox::checkItem(int index, bool checked)
{
    ZListBoxItem *row = item(index);
    if (!row || !row->hasCheckBox() || row->isChecked() == checked)
        return;
    row->setChecked(checked);
    emit checkToggled(index, checked);
}

void ZListBox::selectItem(int index)
{
    ZListBoxItem *row = item(index);
    if (!row)
        return;
    if (row->hasCheckBox())
        checkItem(index, !row->isChecked());
    emit selected(index);
}

// Layout -----------------------------------------------------------------------------------------

QFont ZListBox::secondFont() const
{
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.85);
    return small;
}

ZListBox::Metrics ZListBox::metrics() const
{
    if (!m_metricsKnown) {
        m_metrics = {QFontMetrics(font()).height(), QFontMetrics(secondFont()).height()};
        m_metricsKnown = true;
    }
    return m_metrics;
}

int ZListBox::measure(const ZListBoxItem *row, const Metrics &m) const
{
    ++m_rowsMeasured;
    int textHeight = m.main;
    for (const ZListBoxItem::Column &c : row->m_columns) {
        if (c.kind == ZListBoxItem::Text && c.lines.size() > 1)
            textHeight = m.main + (c.lines.size() - 1) * m.second;
    }
    int pictureHeight = 0;
    for (const ZListBoxItem::Column &c : row->m_columns) {
        if (!c.pixmap.isNull() && c.pixmap.width() > 0) {
            const int h = c.pixmap.height() * qMin(PictureWidth, c.pixmap.width()) / c.pixmap.width();
            pictureHeight = qMax(pictureHeight, qMin(h, PictureMaxHeight));
        }
        if (c.kind == ZListBoxItem::Check)
            pictureHeight = qMax(pictureHeight, 16);
    }
    return qMax(textHeight, pictureHeight) + 2 * Pad;
}

void ZListBox::invalidate()
{
    m_dirty = true;
    viewport()->update();
}

void ZListBox::ensureLayout() const
{
    if (!m_dirty)
        return;
    m_dirty = false;
    ++m_layoutPasses;
    const Metrics m = metrics();
    m_tops.resize(m_items.size() + 1);
    int y = 0;
    for (int i = 0; i < m_items.size(); ++i) {
        ZListBoxItem *row = m_items.at(i);
        if (row->m_height < 0)
            row->m_height = measure(row, m);
        m_tops[i] = y;
        y += row->m_height + 1; // one pixel of divider
    }
    m_tops[m_items.size()] = y;
    updateScrollRange();
}

void ZListBox::updateScrollRange() const
{
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, qMax(0, m_tops.last() - viewport()->height()));
    bar->setPageStep(viewport()->height());
}

void ZListBox::itemChanged(ZListBoxItem *row)
{
    if (m_dirty || row->m_height < 0) {
        row->m_height = -1;
        invalidate();
        return;
    }
    const int height = measure(row, metrics());
    if (height != row->m_height) {
        // A row above the screen that grows or shrinks does not move the rows in view.
        const int top = topItem();
        const int shift = height - row->m_height;
        row->m_height = height;
        invalidate();
        if (top > 0) {
            const int at = index(row);
            if (at >= 0 && at < top) {
                ensureLayout();
                verticalScrollBar()->setValue(verticalScrollBar()->value() + shift);
            }
        }
        return;
    }
    // Same height: only the row itself is drawn again, and only when it is on screen.
    int first = 0, last = -1;
    visibleRange(&first, &last);
    for (int i = first; i <= last; ++i) {
        if (m_items.at(i) == row) {
            viewport()->update(rowRect(i).translated(0, -verticalScrollBar()->value()));
            return;
        }
    }
}

// Geometry ---------------------------------------------------------------------------------------

QRect ZListBox::rowRect(int index) const
{
    if (index < 0 || index >= m_items.size())
        return QRect();
    ensureLayout();
    return QRect(0, m_tops.at(index), viewport()->width(), m_tops.at(index + 1) - m_tops.at(index) - 1);
}

QRect ZListBox::checkRect(const QRect &row) const
{
    return QRect(row.left() + 4, row.center().y() - 7, 15, 15);
}

int ZListBox::rowAt(int y) const
{
    ensureLayout();
    const int contentY = y + verticalScrollBar()->value();
    if (m_items.isEmpty() || contentY < 0 || contentY >= m_tops.last())
        return -1;
    // The last row whose top is at or above contentY.
    const auto it = std::upper_bound(m_tops.cbegin(), m_tops.cend() - 1, contentY);
    return int(it - m_tops.cbegin()) - 1;
}

void ZListBox::visibleRange(int *first, int *last) const
{
    *first = 0;
    *last = -1;
    if (m_items.isEmpty())
        return;
    const int top = rowAt(0);
    if (top < 0)
        return;
    *first = top;
    const int bottom = rowAt(viewport()->height() - 1);
    *last = bottom < 0 ? int(m_items.size()) - 1 : bottom;
}

bool ZListBox::itemVisible(int index) const
{
    const QRect r = rowRect(index);
    if (r.isNull())
        return false;
    const int top = verticalScrollBar()->value();
    return r.top() >= top && r.bottom() < top + viewport()->height();
}

int ZListBox::numItemsVisible() const
{
    int first = 0, last = -1;
    visibleRange(&first, &last);
    int n = 0;
    for (int i = first; i <= last; ++i)
        n += itemVisible(i) ? 1 : 0;
    return n;
}

int ZListBox::topItem() const
{
    return rowAt(0);
}

void ZListBox::setTopItem(int index)
{
    const QRect r = rowRect(index);
    if (!r.isNull())
        verticalScrollBar()->setValue(r.top());
}

void ZListBox::setBottomItem(int index)
{
    const QRect r = rowRect(index);
    if (!r.isNull())
        verticalScrollBar()->setValue(r.bottom() + 1 - viewport()->height());
}

void ZListBox::ensureCurrentVisible()
{
    const QRect r = rowRect(m_current);
    if (r.isNull())
        return;
    QScrollBar *bar = verticalScrollBar();
    if (r.top() < bar->value())
        bar->setValue(r.top());
    else if (r.bottom() >= bar->value() + viewport()->height())
        bar->setValue(r.bottom() + 1 - viewport()->height());
}

QSize ZListBox::sizeHint() const
{
    return QSize(240, 200);
}
