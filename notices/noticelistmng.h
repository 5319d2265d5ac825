#pragma once
// The two list managers of the settings program: NotifyMng lists the user's notices (group
// "CustomNotify" of notify.db), FestivalMng the user's festivals (group "CustomFestival").
// Both are one dialog, NoticeListMng, told apart by a NoticeListKind.
//
//   NotifyMng *mng = new NotifyMng(lang);   // lang: the main window's language store
//   mng->exec();
//   delete mng;
//
// Each row shows an entry's text over its date; the note, the countdown and the fallback text
// are shown under their purpose instead of their reserved dates (entrynames.h). Keys: 4144 adds, 4146 deletes the current
// entry at once, 4145 closes; choosing a row edits it.

#include "mybasedlg.h"
#include "notifydb.h"

#include <QPixmap>
#include <QString>
#include <functional>

class QKeyEvent;
class ZConfig;
class ZListBox;
class ZOptionsMenu;
class ZSoftKey;

// What tells the notice manager from the festival manager.
struct NoticeListKind
{
    QByteArray group;     // group of notify.db that is listed and rewritten
    QString icon;         // row icon, relative to the program directory
    QString titleKey;     // text key of the title
    std::function<MyBaseDlg *(ZConfig *lang)> makeAddDialog;
    std::function<MyBaseDlg *(ZConfig *lang, const QString &key)> makeEditDialog;
    // Festivals may be kept by lunar date: such rows show the lunar date and come last.
    bool lunarDates = false;

    static const NoticeListKind &notices();
    static const NoticeListKind &festivals();
};

class NoticeListMng : public MyBaseDlg
{
    Q_OBJECT
public:
    NoticeListMng(ZConfig *lang, const NoticeListKind &kind);

    QString getText(const QString &key) const;
    ZListBox *listBox() const { return m_listBox; }
    // The key of a row of the list; empty for a row that is not there.
    QString keyOf(int row) const { return m_keys.value(row); }
    ZOptionsMenu *optionsMenu() const { return m_menu; }
    const NoticeListKind &kind() const { return m_kind; }

public slots:
    void add();
    void edit();
    void dele();

protected:
    void initApp();
    void CreateControls();
    void createSoftKey();
    void getMenu();
    // Fills the list box from the file.
    void addItem();
    void keyPressEvent(QKeyEvent *event) override;

private:
    void refill();
    // A notice that notify.db could not be rewritten.
    void saveFailed();
    QPixmap loadIcon(const QString &relative);

    ZConfig *m_lang;
    ZSoftKey *m_softKey = nullptr;
    ZOptionsMenu *m_menu = nullptr;
    ZListBox *m_listBox = nullptr;
    QPixmap m_iconPixmap;
    QString m_programDir;
    QStringList m_keys; // the key of each row, in list order
    NoticeListKind m_kind;
};

class NotifyMng : public NoticeListMng
{
    Q_OBJECT
public:
    explicit NotifyMng(ZConfig *lang);
};

class FestivalMng : public NoticeListMng
{
    Q_OBJECT
public:
    explicit FestivalMng(ZConfig *lang);
};
