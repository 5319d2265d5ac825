#pragma once
// The reorder dialog: the user grabs the current entry, carries it up or down with the
// highlight, and drops it with Insert or puts the order back with Cancel. It never writes the
// list file; the manager adopts getList() when it has closed.

#include "mybasedlg.h"
#include "reorderstate.h"
#include "thumbnails.h"

#include <QPixmap>
#include <QStringList>

class ZConfig;
class ZListBox;
class ZSoftKey;

class ReorderDlg : public MyBaseDlg
{
    Q_OBJECT
public:
    ReorderDlg(ZConfig *lang, int row);

    void initApp();
    void CreateControls();
    void createSoftKey();
    void reorderSoftKey();
    QString getText(const QString &key) const;

    QStringList getList() const { return m_state.list(); }
    int getCurrentItem() const;

    ZListBox *listBox() const { return m_listBox; }
    ZSoftKey *softKeyBar() const { return m_softKey; }
    bool grabMode() const { return m_state.grabbing(); }
    int grabbedRow() const { return m_state.grabbedRow(); }
    // Put before the file name of the grabbed row while it is carried.
    static QString grabMarker();
    ThumbnailLoader *thumbnails() { return &m_thumbs; }

public slots:
    void reorder();
    void insert();
    void cancel();
    void itemSelected(int index);
    void itemChanged(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void addItem(const QString &format);
    void listen(bool on);
    // Shows (or stops showing) on the current row that it is the one being carried.
    void markGrabbed(bool on);

    ZConfig *m_lang;
    ZSoftKey *m_softKey = nullptr;
    ZListBox *m_listBox = nullptr;
    QPixmap m_iconPixmap;
    QString m_progDir;
    ReorderState m_state; // the list, the saved list, the grabbed row and grab mode
    ThumbnailLoader m_thumbs;
};
