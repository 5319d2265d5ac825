#include "zmultiselectdlg.h"

#include "zlistbox.h"
#include "zmainwidget.h"
#include "zsoftkey.h"

ZMultiSelectDlg::ZMultiSelectDlg(const QString &title, const QStringList &entries, QWidget *parent,
                                 const QString &name)
    : ZPlatformDialog(parent, name)
    , m_list(new ZListBox(QStringLiteral("multiselect")))
{
    setTitle(title);
    frame()->setContentWidget(m_list);
    setItems(entries);
    softKey()->setText(ZSoftKey::LEFT, ZSoftKey::standardOk());
    softKey()->setText(ZSoftKey::RIGHT, ZSoftKey::standardCancel());
    connect(softKey(), &ZSoftKey::leftClicked, this, &QDialog::accept);
    connect(softKey(), &ZSoftKey::rightClicked, this, &QDialog::reject);
    m_list->setFocus();
}

void ZMultiSelectDlg::setItems(const QStringList &entries)
{
    m_list->clear();
    for (const QString &entry : entries)
        insertItem(entry);
    if (m_list->count() > 0)
        m_list->setCurrentItem(0);
}

void ZMultiSelectDlg::insertItem(const QString &entry)
{
    auto *row = new ZListBoxItem(QStringLiteral("%C%M"));
    row->appendSubItem(1, entry);
    m_list->insertItem(row);
    if (m_list->currentItem() < 0)
        m_list->setCurrentItem(0);
}

int ZMultiSelectDlg::count() const
{
    return m_list->count();
}

QString ZMultiSelectDlg::itemText(int index) const
{
    const ZListBoxItem *row = m_list->item(index);
    return row ? row->subItemText(1, 0) : QString();
}

void ZMultiSelectDlg::setChecked(int index, bool checked)
{
    m_list->checkItem(index, checked);
}

bool ZMultiSelectDlg::isChecked(int index) const
{
    return m_list->itemChecked(index);
}

QList<int> ZMultiSelectDlg::checkedIndexes() const
{
    QList<int> result;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->itemChecked(i))
            result.append(i);
    }
    return result;
}

QStringList ZMultiSelectDlg::checkedTexts() const
{
    QStringList result;
    for (int i : checkedIndexes())
        result.append(itemText(i));
    return result;
}
