// ZListBox on screen: drawing the rows in view, and the keys and clicks of the user.
#include "zkeys.h"
#include "zlistbox.h"
#include "zlistboxgeometry.h"
#include "zphonestyle.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

using namespace ZListBoxGeometry;

void ZListBox::paintEvent(QPaintEvent *)
{
    ensureLayout();
    QPainter p(viewport());
    const int offset = verticalScrollBar()->value();
    const QColor highlight = ZPhoneStyle::highlightColor();
    const QFont small = secondFont();
    const QFontMetrics main(font());
    const QFontMetrics second(small);

    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    int first = 0, last = -1;
    visibleRange(&first, &last);
    for (int i = first; i <= last; ++i) {
        QRect r = rowRect(i).translated(0, -offset);
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
                x = box.rect.right() + 1 + Gap;
            }
            if (!c.pixmap.isNull() && c.pixmap.width() > 0) {
                QSize s = c.pixmap.size();
                if (s.width() > PictureWidth || s.height() > PictureMaxHeight)
                    s.scale(PictureWidth, PictureMaxHeight, Qt::KeepAspectRatio);
                const QRect target(x + (PictureWidth - s.width()) / 2, r.center().y() - s.height() / 2 + 1,
                                   s.width(), s.height());
                p.setRenderHint(QPainter::SmoothPixmapTransform);
                p.drawPixmap(target, c.pixmap);
                x += PictureWidth + Gap;
            } else if (c.kind == ZListBoxItem::Picture) {
                x += PictureWidth + Gap;
            }
            if (c.kind == ZListBoxItem::Text) {
                const int width = r.right() - x - 4;
                int total = main.height() + qMax(0, int(c.lines.size()) - 1) * second.height();
                int y = r.center().y() - total / 2 + 1;
                for (int line = 0; line < c.lines.size(); ++line) {
                    const bool firstLine = line == 0;
                    p.setFont(firstLine ? font() : small);
                    p.setPen(current ? QColor(Qt::white)
                             : firstLine ? palette().color(QPalette::Text)
                                         : QColor(0x6b, 0x7c, 0x85));
                    const QFontMetrics &fm = firstLine ? main : second;
                    // Not clipped to the line's box: an underscore may lie below the font's
                    // descent, and the text is already cut to the width.
                    p.drawText(QRect(x, y, width, fm.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
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
    // The rows keep their heights and places; only the scroll range follows the new size.
    if (m_dirty)
        ensureLayout();
    else
        updateScrollRange();
}

void ZListBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_metricsKnown = false;
        for (ZListBoxItem *row : std::as_const(m_items))
            row->m_height = -1;
        invalidate();
    }
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
