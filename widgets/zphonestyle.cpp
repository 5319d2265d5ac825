#include "zphonestyle.h"

#include <QApplication>

#include "zapplication.h"

#include <QWidget>

namespace ZPhoneStyle {

QFont font(int pointSize, bool bold)
{
    QFont f(QStringLiteral("AMCSL"));
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

QColor headerColor() { return QColor(0x1f, 0x5f, 0x7a); }
QColor highlightColor() { return QColor(0x2e, 0x86, 0xab); }
QColor barColor() { return QColor(0x26, 0x32, 0x38); }

QString styleSheet()
{
    return QStringLiteral(
        "QLabel#zHeader { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2a7396,"
        " stop:1 #1f5f7a); color: white; padding-left: 6px; padding-right: 6px; }"
        "ZAppInfoArea { background: #e3edf2; border-bottom: 1px solid #c3d3db; }"
        "ZAppInfoArea QLabel { color: #274452; padding-left: 6px; padding-right: 6px; }"
        "ZSoftKey { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #37474f,"
        " stop:1 #232e33); }"
        "ZSoftKey QPushButton { color: white; background: transparent; border: none;"
        " padding: 0px 10px; font-weight: bold; }"
        "ZSoftKey QPushButton:pressed { background: rgba(255, 255, 255, 40); }"
        "ZSoftKey QPushButton#zLeftKey { text-align: left; }"
        "ZSoftKey QPushButton#zRightKey { text-align: right; }"
        "QMenu { background: #fbfcfd; border: 1px solid #37474f; padding: 2px; menu-scrollable: 1; }"
        "QMenu::item { padding: 5px 14px 5px 4px; color: #1d2a30; }"
        "QMenu::item:selected { background: #2e86ab; color: white; }"
        "QMenu::item:disabled { color: #9aa7ad; }"
        "QMenu::icon { padding-left: 4px; }"
        "ZMainWidget { background: #f5f8f9; }"
        "ZScrollPanel, ZScrollPanel > QWidget > QWidget { background: #fbfcfd; }"
        "ZListBox { background: white; border: none; }"
        // A slider in focus is marked like the other controls: in the highlight colour.
        "ZSlider { border: 1px solid transparent; border-radius: 3px; }"
        "ZSlider:focus { border: 1px solid #2e86ab; background: #d8ebf3; }");
}

void placeOverMainWindow(QWidget *window)
{
    if (!app || !window || !window->isWindow())
        return;
    QWidget *main = app->mainWidget();
    if (main && main != window && main->isVisible())
        window->move(main->pos());
}

void restoreActiveWindow(QWidget *window)
{
    // The window active before may have closed since (a dialog that ended just before this one
    // opened): the dialog still open on top, or else the main window, takes the keypad back, as
    // nothing else would without a window manager.
    if (!window || !window->isVisible()) {
        window = QApplication::activeModalWidget();
        if (!window && app)
            window = app->mainWidget();
    }
    if (window && window->isVisible() && QApplication::activeWindow() != window)
        window->activateWindow();
}

} // namespace ZPhoneStyle
