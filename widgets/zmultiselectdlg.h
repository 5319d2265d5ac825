#pragma once
// A modal list of entries with check marks. The caller sets the entries and their marks
// before exec() and reads the marks afterwards; select (or a click on the box) toggles an
// entry. OK accepts, Cancel rejects.

#include "zplatformdialog.h"

#include <QList>
#include <QStringList>

class ZListBox;

class ZMultiSelectDlg : public ZPlatformDialog
{
    Q_OBJECT
public:
    explicit ZMultiSelectDlg(const QString &title = QString(), const QStringList &entries = {},
                             QWidget *parent = nullptr, const QString &name = QString());

    // Replaces the entries (all unchecked).
    void setItems(const QStringList &entries);
    void insertItem(const QString &entry);
    int count() const;
    QString itemText(int index) const;

    void setChecked(int index, bool checked);
    bool isChecked(int index) const;
    // Indexes and texts of the checked entries, in entry order.
    QList<int> checkedIndexes() const;
    QStringList checkedTexts() const;

    ZListBox *listBox() const { return m_list; }

private:
    ZListBox *m_list;
};
