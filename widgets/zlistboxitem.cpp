// A row of a ZListBox: its columns, check state and the list it belongs to.
#include "zlistbox.h"

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
