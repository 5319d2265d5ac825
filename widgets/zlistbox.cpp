#include "zlistbox.h"

#include "zkeys.h"
#include "zphonestyle.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

namespace {
constexpr int kPad = 3;            // space above and below the row's contents
constexpr int kPictureWidth = 32;  // column of pictures
constexpr int kPictureMaxHeight = 48;
constexpr int kCheckWidth = 22;
constexpr int kGap = 6;
} // namespace

// ---------------------------------------------------------------------------------------------
// ZListBoxItem

ZListBoxItem::ZListBoxItem(const QString &format)
    : m_format(format)
{
    // The format names the columns in order: "%I" picture, "%C" check box, "%M" text lines.
    for (int i = 0; i + 1 < format.size(); ++i) {
        if (format.at(i) != QLatin1Char('%'))
            continue;
        const QChar c = format.at(i + 1).toUpper();
        if (c == QLatin1Char('I'))
            m_columns.append({Picture, {}, {}});
        else if (c == QLatin1Char('C'))
            m_columns.append({Check, {}, {}});
        else if (c == QLatin1Char('M'))
            m_columns.append({Text, {}, {}});
        else
            continue;
        ++i;
    }
}

ZListBoxItem::ZListBoxItem(ZListBox *, const QString &format)
    : ZListBoxItem(format)
{
}

ZListBoxItem::~ZListBoxItem()
{
    if (m_list)
        m_list->takeItem(m_list->index(this));
}

bool ZListBoxItem::hasCheckBox() const
{
    for (const Column &c : m_columns) {
        if (c.kind == Check)
            return true;
    }
    return false;
}

ZListBoxItem::Column *ZListBoxItem::column(int index)
{
    return index >= 0 && index < m_columns.size() ? &m_columns[index] : nullptr;
}

const ZListBoxItem::Column *ZListBoxItem::column(int index) const
{
    return index >= 0 && index < m_columns.size() ? &m_columns[index] : nullptr;
}

void ZListBoxItem::changed()
{
    if (m_list)
        m_list->itemChanged(this);
}

void ZListBoxItem::setPixmap(int index, const QPixmap &pixmap)
{
    if (Column *c = column(index)) {
        c->pixmap = pixmap;
        changed();
    }
}

QPixmap ZListBoxItem::pixmap(int index) const
{
    const Column *c = column(index);
    return c ? c->pixmap : QPixmap();
}

void ZListBoxItem::appendSubItem(int index, const QString &text)
{
    if (Column *c = column(index)) {
        c->lines.append(text);
        changed();
    }
}

void ZListBoxItem::setSubItemText(int index, int line, const QString &text)
{
    Column *c = column(index);
    if (!c || line < 0)
        return;
    while (c->lines.size() <= line)
        c->lines.append(QString());
    c->lines[line] = text;
    changed();
}

QString ZListBoxItem::subItemText(int index, int line) const
{
    const Column *c = column(index);
    return c ? c->lines.value(line) : QString();
}

int ZListBoxItem::subItemCount(int index) const
{
    const Column *c = column(index);
    return c ? c->lines.size() : 0;
}

void ZListBoxItem::setChecked(bool checked)
{
    if (m_checked == checked)
        return;
    m_checked = checked;
    changed();
}

// ---------------------------------------------------------------------------------------------
// ZListBox

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
    if (!item || m_items.contains(item))
        return;
    if (item->m_list)
        item->m_list->takeItem(item->m_list->index(item));
    if (index < 0 || index > m_items.size())
        index = m_items.size();
    m_items.insert(index, item);
    item->m_list = this;
    if (m_current >= index)
        ++m_current; // the current row stays on its item
    relayout();
}

ZListBoxItem *ZListBox::takeItem(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    ZListBoxItem *item = m_items.takeAt(index);
    item->m_list = nullptr;
    if (m_current > index) {
        --m_current;
    } else if (m_current == index) {
        m_current = qMin(index, int(m_items.size()) - 1);
        if (m_current >= 0)
            emit highlighted(m_current);
    }
    relayout();
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
    verticalScrollBar()->setValue(0);
    relayout();
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
    relayout();
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

// Row geometry ---------------------------------------------------------------------------------

int ZListBox::rowHeight(const ZListBoxItem *row) const
{
    const QFontMetrics main(font());
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.85);
    const QFontMetrics second(small);

    int textHeight = main.height();
    for (const ZListBoxItem::Column &c : row->m_columns) {
        if (c.kind == ZListBoxItem::Text && c.lines.size() > 1)
            textHeight = main.height() + (c.lines.size() - 1) * second.height();
    }
    int pictureHeight = 0;
    for (const ZListBoxItem::Column &c : row->m_columns) {
        if (!c.pixmap.isNull() && c.pixmap.width() > 0) {
            const int h = c.pixmap.height() * qMin(kPictureWidth, c.pixmap.width()) / c.pixmap.width();
            pictureHeight = qMax(pictureHeight, qMin(h, kPictureMaxHeight));
        }
        if (c.kind == ZListBoxItem::Check)
            pictureHeight = qMax(pictureHeight, 16);
    }
    return qMax(textHeight, pictureHeight) + 2 * kPad;
}

void ZListBox::relayout()
{
    m_tops.resize(m_items.size() + 1);
    int y = 0;
    for (int i = 0; i < m_items.size(); ++i) {
        m_tops[i] = y;
        y += rowHeight(m_items.at(i)) + 1; // one pixel of divider
    }
    m_tops[m_items.size()] = y;
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, qMax(0, y - viewport()->height()));
    bar->setPageStep(viewport()->height());
    viewport()->update();
}

void ZListBox::itemChanged(ZListBoxItem *)
{
    relayout();
}

QRect ZListBox::rowRect(int index) const
{
    if (index < 0 || index >= m_items.size())
        return QRect();
    return QRect(0, m_tops.at(index), viewport()->width(), m_tops.at(index + 1) - m_tops.at(index) - 1);
}

QRect ZListBox::checkRect(const QRect &row) const
{
    return QRect(row.left() + 4, row.center().y() - 7, 15, 15);
}

int ZListBox::rowAt(int y) const
{
    const int contentY = y + verticalScrollBar()->value();
    for (int i = 0; i < m_items.size(); ++i) {
        if (contentY >= m_tops.at(i) && contentY < m_tops.at(i + 1))
            return i;
    }
    return -1;
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
    int n = 0;
    for (int i = 0; i < m_items.size(); ++i)
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

// Drawing ----------------------------------------------------------------------------------------

void ZListBox::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    const int offset = verticalScrollBar()->value();
    const QColor highlight = ZPhoneStyle::highlightColor();
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.85);

    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    for (int i = 0; i < m_items.size(); ++i) {
        QRect r = rowRect(i).translated(0, -offset);
        if (r.bottom() < 0)
            continue;
        if (r.top() > viewport()->height())
            break;
        const ZListBoxItem *row = m_items.at(i);
        const bool current = i == m_current;
        p.save();
        if (current) {
            p.fillRect(r, hasFocus() ? highlight : highlight.lighter(160));
        }
        p.setPen(QColor(0xe3, 0xea, 0xed));
        p.drawLine(r.left(), r.bottom() + 1, r.right(), r.bottom() + 1);

        int x = r.left() + 4;
        for (const ZListBoxItem::Column &c : row->m_columns) {
            if (c.kind == ZListBoxItem::Check) {
                QStyleOptionButton box;
                box.initFrom(this);
                box.rect = checkRect(r);
                box.state = QStyle::State_Enabled | (row->isChecked() ? QStyle::State_On : QStyle::State_Off);
                style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &p, this);
                x = box.rect.right() + 1 + kGap;
            }
            if (!c.pixmap.isNull() && c.pixmap.width() > 0) {
                QSize s = c.pixmap.size();
                if (s.width() > kPictureWidth || s.height() > kPictureMaxHeight)
                    s.scale(kPictureWidth, kPictureMaxHeight, Qt::KeepAspectRatio);
                const QRect target(x + (kPictureWidth - s.width()) / 2, r.center().y() - s.height() / 2 + 1,
                                   s.width(), s.height());
                p.setRenderHint(QPainter::SmoothPixmapTransform);
                p.drawPixmap(target, c.pixmap);
                x += kPictureWidth + kGap;
            } else if (c.kind == ZListBoxItem::Picture) {
                x += kPictureWidth + kGap;
            }
            if (c.kind == ZListBoxItem::Text) {
                const int width = r.right() - x - 4;
                const QFontMetrics main(font());
                const QFontMetrics second(small);
                int total = main.height() + qMax(0, int(c.lines.size()) - 1) * second.height();
                int y = r.center().y() - total / 2 + 1;
                for (int line = 0; line < c.lines.size(); ++line) {
                    const bool first = line == 0;
                    p.setFont(first ? font() : small);
                    p.setPen(current ? QColor(Qt::white)
                             : first ? palette().color(QPalette::Text)
                                     : QColor(0x6b, 0x7c, 0x85));
                    const QFontMetrics &fm = first ? main : second;
                    p.drawText(QRect(x, y, width, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
                               fm.elidedText(c.lines.at(line), Qt::ElideMiddle, width));
                    y += fm.height();
                }
                x = r.right();
            }
        }
        p.restore();
    }
}

void ZListBox::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void ZListBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        relayout();
    QAbstractScrollArea::changeEvent(event);
}

// Input ---------------------------------------------------------------------------------------------

void ZListBox::keyPressEvent(QKeyEvent *event)
{
    const int n = m_items.size();
    if (n == 0) {
        event->ignore();
        return;
    }
    const int page = qMax(1, numItemsVisible() - 1);
    switch (event->key()) {
    case Qt::Key_PageUp:
        setCurrentItem(qMax(0, m_current - page));
        return;
    case Qt::Key_PageDown:
        setCurrentItem(qMin(n - 1, m_current + page));
        return;
    case Qt::Key_Home:
        setCurrentItem(0);
        return;
    case Qt::Key_End:
        setCurrentItem(n - 1);
        return;
    case Qt::Key_Space:
        if (m_current >= 0 && m_items.at(m_current)->hasCheckBox())
            checkItem(m_current, !itemChecked(m_current));
        return;
    default:
        break;
    }
    switch (ZKey::code(event)) {
    case ZKey::Up:
        setCurrentItem(m_current > 0 ? m_current - 1 : n - 1);
        return;
    case ZKey::Down:
        setCurrentItem(m_current >= 0 && m_current < n - 1 ? m_current + 1 : 0);
        return;
    case ZKey::Select:
        if (m_current >= 0)
            selectItem(m_current);
        return;
    default:
        event->ignore();
    }
}

void ZListBox::mousePressEvent(QMouseEvent *event)
{
    const int i = rowAt(event->position().toPoint().y());
    if (i < 0 || event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    setCurrentItem(i);
    const QRect r = rowRect(i).translated(0, -verticalScrollBar()->value());
    if (m_items.at(i)->hasCheckBox() && checkRect(r).adjusted(-3, -3, 3, 3).contains(event->position().toPoint()))
        checkItem(i, !itemChecked(i));
}

void ZListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int i = rowAt(event->position().toPoint().y());
    if (i < 0 || event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    setCurrentItem(i);
    const QRect r = rowRect(i).translated(0, -verticalScrollBar()->value());
    if (m_items.at(i)->hasCheckBox() && checkRect(r).adjusted(-3, -3, 3, 3).contains(event->position().toPoint())) {
        checkItem(i, !itemChecked(i)); // a second click on the box, not a choice of the row
        return;
    }
    selectItem(i);
}

void ZListBox::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept(); // presses on rows were taken, so are their releases
}
