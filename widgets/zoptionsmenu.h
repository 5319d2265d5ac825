#pragma once
// An options menu: entries with an icon and a text, addressed by an id, and entries that
// open a sub-menu. It pops up above the soft-key bar; up / down move, select runs the entry,
// back (4145) closes it. The menu and its sub-menus open within the phone's screen (the window
// of the menu's parent), a sub-menu over its menu where there is no room beside it. A menu
// taller than the screen shows as many entries as fit and scrolls with up / down, the
// highlighted entry always in view; small arrows mark entries above or below.
//
// Ids are given by the caller or numbered 0, 1, 2, ... in insertion order when -1 is passed.
// Choosing an entry emits activated(id) and calls the receiver's slot given at insertion.

#include <QMenu>
#include <QPixmap>
#include <QSet>

class ZOptionsMenu : public QMenu
{
    Q_OBJECT
public:
    explicit ZOptionsMenu(QWidget *parent = nullptr, const QString &name = QString());

    // An entry that calls receiver->member (given with SLOT(...)) when chosen. Returns its id.
    int insertItem(const QString &text, const QPixmap &icon, QObject *receiver,
                   const char *member, int id = -1);
    // An entry that only emits activated(id). Returns its id.
    int insertItem(const QString &text, const QPixmap &icon, int id = -1);
    // An entry that opens a sub-menu. Returns its id.
    int insertItem(const QString &text, ZOptionsMenu *subMenu, const QPixmap &icon, int id = -1);

    void changeItem(int id, const QString &text, const QPixmap &icon);
    void changeItem(int id, const QString &text);
    QString text(int id) const;
    QIcon itemIcon(int id) const;
    void setItemEnabled(int id, bool enabled);
    bool isItemEnabled(int id) const;
    bool hasItem(int id) const;
    void removeItem(int id);

    int count() const;
    // Id of the entry at a position, -1 when there is none.
    int idAt(int index) const;
    QAction *action(int id) const;
    ZOptionsMenu *subMenu(int id) const;

    // Runs an entry as if the user chose it (for a sub-menu entry: pops the sub-menu up).
    void activateItem(int id);

    // Pops the menu up with its bottom-left corner at the top-left corner of the widget
    // (the soft-key bar), kept on the screen of the widget, its first entry highlighted.
    void popupAbove(QWidget *bar);

signals:
    void activated(int id);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QAction *addEntry(const QString &text, const QPixmap &icon, int id);
    // Shows the entries from the first'th that fit the phone's screen and hides the rest until
    // the menu closes; all entries again when they fit (or on unfold()).
    void foldFrom(int first);
    void unfold();
    // Moves the shown entries by one when the highlight would leave them; true when it did.
    bool scrollBy(int step);
    // Whether the entry is enabled, folded or not.
    bool entryEnabled(QAction *a) const;
    QList<QAction *> m_folded; // entries hidden because the screen has no room for them
    QSet<QAction *> m_disabled; // entries really disabled (hidden ones all read disabled)
    int m_first = 0;            // the first entry shown while folded
    int m_room = 0;             // the height above the soft-key bar it opened over; 0: the screen's
    int m_nextId = 0;
};
