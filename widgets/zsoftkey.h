#pragma once
// The soft-key bar at the bottom of a window: a left key and a right key, each with a text
// and either a click action or an options menu that pops up above the bar.
//
//   ZSoftKey *bar = new ZSoftKey(this);
//   bar->setText(ZSoftKey::LEFT, tr("Options"));
//   bar->setOptMenu(ZSoftKey::LEFT, menu);              // a menu whose parent is the bar
//   bar->setText(ZSoftKey::RIGHT, tr("Back"));
//   connect(bar, &ZSoftKey::rightClicked, this, &MyDlg::reject);
//   setSoftKey(bar);                                    // ZMainWidget
//
// A key without text draws empty and does nothing when clicked.

#include <QPointer>
#include <QWidget>

class QObject;
class QPushButton;
class ZOptionsMenu;

class ZSoftKey : public QWidget
{
    Q_OBJECT
public:
    enum Key { LEFT = 0, RIGHT = 1 };

    static constexpr int BarHeight = 30;

    explicit ZSoftKey(QWidget *parent = nullptr, const QString &name = QString());

    void setText(int key, const QString &text);
    QString text(int key) const;

    // Connects the click of a key to a slot given with SLOT(...); any number of receivers.
    void setClickedSlot(int key, QObject *receiver, const char *member);
    // Drops the key's menu and every receiver of its leftClicked() / rightClicked() signal,
    // so the key does nothing (receivers of clicked(int) stay).
    void clearClickedSlot(int key);

    // Clicking the key opens the menu above the bar instead of emitting a click.
    void setOptMenu(int key, ZOptionsMenu *menu);
    ZOptionsMenu *optMenu(int key) const;

    // Acts as if the key was clicked: opens its menu or emits its click signals. Does nothing
    // for a key without text.
    void click(int key);

    // The captions the platform's own dialogs use (ZNoticeDlg, ZMessageDlg, ...); a program sets
    // them from its language file. Until then they follow the system language.
    static void setStandardTexts(const QString &ok, const QString &cancel);
    static QString standardOk();
    static QString standardCancel();

signals:
    void clicked(int key);
    void leftClicked();
    void rightClicked();

private:
    QPushButton *m_keys[2];
    QPointer<ZOptionsMenu> m_menus[2];
};
