#include "phonekey.h"
#include "resiconreader.h"
#include "testenv.h"
#include "zappinfoarea.h"
#include "zcheckbox.h"
#include "zcombobox.h"
#include "zdatemodule.h"
#include "zkeys.h"
#include "zlineedit.h"
#include "zmainwidget.h"
#include "znavtabwidget.h"
#include "znumpicker.h"
#include "zoptionsmenu.h"
#include "zpopupfit.h"
#include "zpressbutton.h"
#include "zscrollpanel.h"
#include "zphonestyle.h"
#include "zslider.h"
#include "zsoftkey.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QTimer>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

class Receiver : public QObject
{
    Q_OBJECT
public:
    int calls = 0;
public slots:
    void hit() { ++calls; }
};

class TestZWidgets : public QObject
{
    Q_OBJECT
private slots:
    void keyMapping_data();
    void keyMapping();
    void optionsMenuIds();
    void optionsMenuRunsEntries();
    void optionsMenuKeys();
    void softKeys();
    void mainWidgetKeysReachSoftKeys();
    void menuKeyLeavesTextFieldsForTheSoftKey_data();
    void menuKeyLeavesTextFieldsForTheSoftKey();
    void headerSizes();
    void replacedBandsGoSafely();
    void tabsEnableAndDisable_data();
    void tabsEnableAndDisable();
    void numPickerBounds_data();
    void numPickerBounds();
    void dateModuleRange_data();
    void dateModuleRange();
    void comboLeavesArrowsToTheWindow();
    void popupFit_data();
    void popupFit();
    void popupsStayOnThePhoneScreen_data();
    void popupsStayOnThePhoneScreen();
    void scrollPanelFitsFixedChildren();
    void windowNavigatesByKeys_data();
    void windowNavigatesByKeys();
    void scrollPanelLeavesTheApplicationWhenItGoes();
    void systemIcons_data();
    void systemIcons();
    void buttonKeys_data();
    void buttonKeys();
    void sliderShowsFocus();
};

void TestZWidgets::keyMapping_data()
{
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("phone");
    QTest::newRow("F1") << int(Qt::Key_F1) << 4144;
    QTest::newRow("Menu") << int(Qt::Key_Menu) << int(ZKey::LeftSoft);
    QTest::newRow("F2") << int(Qt::Key_F2) << 4145;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 4145;
    QTest::newRow("F3") << int(Qt::Key_F3) << 4146;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 4146;
    QTest::newRow("Return") << int(Qt::Key_Return) << 4100;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << 4100;
    QTest::newRow("Left") << int(Qt::Key_Left) << 4114;
    QTest::newRow("Up") << int(Qt::Key_Up) << 4115;
    QTest::newRow("Right") << int(Qt::Key_Right) << 4116;
    QTest::newRow("Down") << int(Qt::Key_Down) << 4117;
    QTest::newRow("digit 5") << int(Qt::Key_5) << 53;
    QTest::newRow("phone code passes") << 4145 << 4145;
}

void TestZWidgets::keyMapping()
{
    QFETCH(int, qtKey);
    QKeyEvent e(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QTEST(ZKey::code(&e), "phone");
}

void TestZWidgets::optionsMenuIds()
{
    ZOptionsMenu menu(nullptr, QStringLiteral("Options"));
    QCOMPARE(menu.objectName(), QStringLiteral("Options"));
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    QCOMPARE(menu.insertItem(QStringLiteral("  Refresh"), icon), 0);
    QCOMPARE(menu.insertItem(QStringLiteral("  Edit"), icon), 1);
    QCOMPARE(menu.insertItem(QStringLiteral("  Link"), icon, 5), 5);
    QCOMPARE(menu.insertItem(QStringLiteral("  About"), icon), 6);
    QCOMPARE(menu.count(), 4);
    QCOMPARE(menu.idAt(2), 5);
    QCOMPARE(menu.idAt(4), -1);

    menu.changeItem(5, QStringLiteral("  Unlink"), icon);
    QCOMPARE(menu.text(5), QStringLiteral("  Unlink"));
    QCOMPARE(menu.text(1), QStringLiteral("  Edit"));
    QVERIFY(!menu.itemIcon(5).isNull());
    menu.changeItem(42, QStringLiteral("nothing")); // no such entry: no effect
    QCOMPARE(menu.count(), 4);

    // An id names one entry: inserting it again replaces the entry.
    menu.insertItem(QStringLiteral("  Link again"), icon, 5);
    QCOMPARE(menu.count(), 4);
    QCOMPARE(menu.text(5), QStringLiteral("  Link again"));
    menu.removeItem(0);
    QVERIFY(!menu.hasItem(0));
    QCOMPARE(menu.count(), 3);
}

void TestZWidgets::optionsMenuRunsEntries()
{
    ZSoftKey bar;
    auto *menu = new ZOptionsMenu(&bar);
    auto *sub = new ZOptionsMenu(&bar);
    Receiver run, save;
    menu->insertItem(QStringLiteral("  Run"), QPixmap(), &run, SLOT(hit()));
    menu->insertItem(QStringLiteral("  Edit"), sub, QPixmap());
    menu->insertItem(QStringLiteral("  Off"), QPixmap(), &run, SLOT(hit()));
    sub->insertItem(QStringLiteral("  Save"), QPixmap(), &save, SLOT(hit()));
    QSignalSpy activated(menu, &ZOptionsMenu::activated);
    QSignalSpy subActivated(sub, &ZOptionsMenu::activated);

    menu->activateItem(0);
    menu->activateItem(1); // opens the sub-menu, runs nothing
    QVERIFY(sub->isVisible());
    sub->activateItem(0);
    menu->setItemEnabled(2, false);
    menu->activateItem(2);
    QVERIFY(!menu->isItemEnabled(2));

    QCOMPARE(run.calls, 1);
    QCOMPARE(save.calls, 1);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.first().first().toInt(), 0);
    QCOMPARE(subActivated.count(), 1);
    QCOMPARE(menu->subMenu(1), sub);
}

void TestZWidgets::optionsMenuKeys()
{
    ZKbMainWidget window;
    auto *bar = new ZSoftKey;
    bar->setText(ZSoftKey::LEFT, QStringLiteral("Options"));
    auto *menu = new ZOptionsMenu(bar);
    for (const char *text : {"  a", "  b", "  c"})
        menu->insertItem(QString::fromLatin1(text), QPixmap());
    bar->setOptMenu(ZSoftKey::LEFT, menu);
    window.setSoftKey(bar);
    window.show();
    QSignalSpy activated(menu, &ZOptionsMenu::activated);

    sendPhoneKey(&window, ZKey::Add); // the left key opens the menu on its first entry
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->activeAction(), menu->action(0));
    sendPhoneKey(menu, '8');
    sendPhoneKey(menu, '8');
    sendPhoneKey(menu, '2');
    sendPhoneKey(menu, ZKey::Down);
    sendPhoneKey(menu, '5');
    QTRY_COMPARE(activated.count(), 1);
    QCOMPARE(activated.first().first().toInt(), 2);
    QVERIFY(!menu->isVisible());

    bar->click(ZSoftKey::LEFT);
    QVERIFY(menu->isVisible());
    sendPhoneKey(menu, ZKey::Back);
    QTRY_VERIFY(!menu->isVisible());
    QCOMPARE(activated.count(), 1);
}

void TestZWidgets::softKeys()
{
    ZSoftKey bar;
    QCOMPARE(bar.height(), ZSoftKey::BarHeight);
    Receiver left, right;
    bar.setClickedSlot(ZSoftKey::LEFT, &left, SLOT(hit()));
    bar.setClickedSlot(ZSoftKey::RIGHT, &right, SLOT(hit()));

    bar.click(ZSoftKey::LEFT); // no text: a key without text does nothing
    QCOMPARE(left.calls, 0);

    bar.setText(ZSoftKey::LEFT, QStringLiteral("Save"));
    bar.setText(ZSoftKey::RIGHT, QStringLiteral("Back"));
    QSignalSpy clicked(&bar, &ZSoftKey::clicked);
    bar.click(ZSoftKey::LEFT);
    bar.click(ZSoftKey::RIGHT);
    QCOMPARE(left.calls, 1);
    QCOMPARE(right.calls, 1);
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked.at(1).first().toInt(), int(ZSoftKey::RIGHT));

    bar.clearClickedSlot(ZSoftKey::LEFT);
    bar.click(ZSoftKey::LEFT);
    bar.click(ZSoftKey::RIGHT);
    QCOMPARE(left.calls, 1);
    QCOMPARE(right.calls, 2);
}

void TestZWidgets::mainWidgetKeysReachSoftKeys()
{
    ZKbMainWidget window;
    auto *bar = new ZSoftKey;
    bar->setText(ZSoftKey::LEFT, QStringLiteral("Options"));
    bar->setText(ZSoftKey::RIGHT, QStringLiteral("Preview"));
    window.setSoftKey(bar);
    QSignalSpy left(bar, &ZSoftKey::leftClicked);
    QSignalSpy right(bar, &ZSoftKey::rightClicked);
    QVERIFY(sendPhoneKey(&window, ZKey::Add));
    QVERIFY(sendPhoneKey(&window, Qt::Key_F4));
    QCOMPARE(left.count(), 1);
    QCOMPARE(right.count(), 1);
    // Keys of the dialogs themselves are left to them.
    QVERIFY(!sendPhoneKey(&window, ZKey::Back));
    QVERIFY(!sendPhoneKey(&window, ZKey::Delete));
}

void TestZWidgets::menuKeyLeavesTextFieldsForTheSoftKey_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("text field") << 0;
    QTest::newRow("number picker") << 1;
    QTest::newRow("date") << 2;
}

void TestZWidgets::menuKeyLeavesTextFieldsForTheSoftKey()
{
    QFETCH(int, kind);
    ZKbMainWidget window;
    auto *bar = new ZSoftKey;
    bar->setText(ZSoftKey::LEFT, QStringLiteral("Options"));
    window.setSoftKey(bar);
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    QWidget *field = kind == 0 ? static_cast<QWidget *>(new ZLineEdit(QStringLiteral("text")))
                     : kind == 1 ? static_cast<QWidget *>(new ZNumPicker(3))
                                 : new ZDateModule;
    layout->addWidget(field);
    window.setContentWidget(content);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QSignalSpy left(bar, &ZSoftKey::leftClicked);
    QTest::keyClick(window.windowHandle(), Qt::Key_Menu);
    QCOMPARE(left.count(), 1);
    // The X platform follows the key with a keyboard context menu event for the window; the
    // field's own editing menu must not open on it (a number's would even wait for a choice).
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            opened = true;
            popup->close();
        }
    });
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(5, 5), field->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field, &menu);
    QCoreApplication::processEvents();
    QVERIFY(!opened);
}

void TestZWidgets::headerSizes()
{
    ZMainWidget window;
    QCOMPARE(window.size(), QSize(240, 320));
    QCOMPARE(window.headerType(), int(ZMainWidget::TitleHeader));
    const int title = window.headerSize();
    window.setHeaderType(ZMainWidget::SlimHeader);
    const int slim = window.headerSize();
    window.setHeaderType(ZMainWidget::NoHeader);
    QCOMPARE(window.headerSize(), 0);
    QVERIFY(slim > 0);
    QVERIFY(title > slim);

    // The header really is that high once the window is laid out.
    window.setHeaderType(ZMainWidget::SlimHeader);
    window.setWindowTitle(QStringLiteral("Preview"));
    auto *content = new QWidget;
    window.setContentWidget(content);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(content->geometry().top(), slim);
}

void TestZWidgets::replacedBandsGoSafely()
{
    ZMainWidget window;
    auto *info = new ZAppInfoArea;
    info->setText(QStringLiteral("Settings"));
    window.setAppInfoArea(info);
    QCOMPARE(window.appInfoArea()->text(), QStringLiteral("Settings"));
    QCOMPARE(window.appInfoArea()->text(3), QString());

    // A content widget that replaces the window's content from one of its own signals (as
    // the language selector rebuilds the main window) survives until that signal returns.
    auto *old = new ZComboBox;
    old->addItems({QStringLiteral("English"), QStringLiteral("Chinese")});
    QPointer<ZComboBox> guard(old);
    window.setContentWidget(old);
    auto *fresh = new QWidget;
    connect(old, &QComboBox::currentIndexChanged, &window, [&] {
        window.setContentWidget(fresh);
        QVERIFY(guard); // still alive inside its own signal
        old->setToolTip(QStringLiteral("touched after the swap"));
    });
    old->setCurrentIndex(1);
    QCOMPARE(window.contentWidget(), fresh);
    QTRY_VERIFY(!guard); // deleted afterwards
    QCOMPARE(fresh->parentWidget(), &window);

    auto *bar = new ZSoftKey;
    window.setSoftKey(bar);
    QCOMPARE(window.softKey(), bar);
    auto *other = new QWidget;
    window.setCSTWidget(other);
    QCOMPARE(window.softKey(), nullptr);
    QCOMPARE(window.cstWidget(), other);
}

void TestZWidgets::tabsEnableAndDisable_data()
{
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("expected");
    QTest::newRow("disabling the current tab moves on") << 5 << 3 << 4;
    QTest::newRow("the last tab moves back") << 4 << 3 << 2;
}

void TestZWidgets::tabsEnableAndDisable()
{
    QFETCH(int, tabs);
    QFETCH(int, current);
    QFETCH(int, expected);
    ZNavTabWidget widget(nullptr, QStringLiteral("tabWidget"));
    QSignalSpy changed(&widget, &ZNavTabWidget::currentChanged);
    QList<QWidget *> pages;
    for (int i = 0; i < tabs; ++i) {
        pages << new QWidget;
        QCOMPARE(widget.addTab(pages.last(), QIcon()), i);
    }
    QCOMPARE(changed.count(), 1); // the first tab became current
    QCOMPARE(widget.currentPageIndex(), 0);

    widget.setCurrentPage(current);
    QCOMPARE(widget.currentPage(), pages[current]);
    QCOMPARE(changed.last().first().value<QWidget *>(), pages[current]);
    widget.setTabEnabled(current, false);
    QVERIFY(!widget.isTabEnabled(current));
    QCOMPARE(widget.currentPageIndex(), expected);
    QCOMPARE(changed.last().first().value<QWidget *>(), pages[expected]);
    QCOMPARE(widget.indexOf(pages[expected]), expected);

    // A disabled tab is skipped by the keypad's left and right.
    widget.setCurrentPage(current - 1);
    sendPhoneKey(&widget, ZKey::Right);
    QCOMPARE(widget.currentPageIndex(), current + 1 < tabs ? current + 1 : current - 1);
    widget.setTabEnabled(pages[current], true);
    QVERIFY(widget.isTabEnabled(current));
}

void TestZWidgets::numPickerBounds_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("value");
    QTest::newRow("inside") << 1 << 12 << 7 << 7;
    QTest::newRow("below") << 1 << 12 << -1 << 1;
    QTest::newRow("above") << 1 << 31 << 40 << 31;
    QTest::newRow("unset item -1 in 0..100") << 0 << 100 << -1 << 0;
}

void TestZWidgets::numPickerBounds()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, set);
    QFETCH(int, value);
    ZNumPicker picker(4);
    picker.setMinValue(min);
    picker.setMaxValue(max);
    picker.setValue(min + 1 <= max ? min + 1 : min);
    QSignalSpy changed(&picker, &ZNumPicker::valueChanged);
    picker.setValue(set);
    QCOMPARE(picker.value(), value);
    // The value the picker took is what it reports.
    QCOMPARE(changed.isEmpty() ? picker.value() : changed.last().first().toInt(), value);

    // The keypad steps it within its bounds.
    picker.setValue(max);
    sendPhoneKey(&picker, ZKey::Right);
    QCOMPARE(picker.value(), max);
    sendPhoneKey(&picker, ZKey::Left);
    QCOMPARE(picker.value(), max - 1);
    QVERIFY(!sendPhoneKey(&picker, ZKey::Down)); // left to the window
}

void TestZWidgets::dateModuleRange_data()
{
    QTest::addColumn<QDate>("set");
    QTest::addColumn<QDate>("shown");
    QTest::newRow("note entry") << QDate(1901, 1, 1) << QDate(1901, 1, 1);
    QTest::newRow("countdown entry") << QDate(1901, 1, 2) << QDate(1901, 1, 2);
    QTest::newRow("today") << QDate(2024, 2, 29) << QDate(2024, 2, 29);
    QTest::newRow("before the first year") << QDate(1899, 5, 5) << QDate(1901, 1, 1);
    QTest::newRow("after the last year") << QDate(2150, 1, 1) << QDate(2099, 12, 31);
}

void TestZWidgets::dateModuleRange()
{
    QFETCH(QDate, set);
    ZDateModule module;
    module.setDate(set);
    QTEST(module.date(), "shown");
    QCOMPARE(module.minimumDate(), QDate(1901, 1, 1));
}

void TestZWidgets::comboLeavesArrowsToTheWindow()
{
    ZComboBox combo;
    combo.addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    QSignalSpy activated(&combo, &QComboBox::activated);
    for (int key : {ZKey::Up, ZKey::Down, ZKey::Left, ZKey::Right})
        QVERIFY(!sendPhoneKey(&combo, key));
    QCOMPARE(combo.currentItem(), 0);
    QCOMPARE(activated.count(), 0);
}

void TestZWidgets::popupFit_data()
{
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("placed");
    // within the screen at (100, 50), 240 x 320
    QTest::newRow("inside stays") << QRect(110, 60, 100, 100) << QRect(110, 60, 100, 100);
    QTest::newRow("past the right edge: beside becomes over") << QRect(300, 60, 100, 80) << QRect(240, 60, 100, 80);
    QTest::newRow("past the bottom edge") << QRect(110, 300, 100, 100) << QRect(110, 270, 100, 100);
    QTest::newRow("before the top left") << QRect(0, 0, 50, 50) << QRect(100, 50, 50, 50);
    QTest::newRow("taller than the screen: cut and moved up") << QRect(110, 200, 100, 900) << QRect(110, 50, 100, 320);
    QTest::newRow("wider than the screen") << QRect(50, 60, 400, 20) << QRect(100, 60, 240, 20);
}

void TestZWidgets::popupFit()
{
    QFETCH(QRect, wanted);
    QFETCH(QRect, placed);
    QCOMPARE(PopupFit::fit(wanted, QRect(100, 50, 240, 320)), placed);
}

// A long selector list, a long options menu and a sub-menu, opened with the keys in a phone
// window on a larger desktop, lie within the window; long ones scroll to their last entry with the
// keys, the chosen entry always in view.
void TestZWidgets::popupsStayOnThePhoneScreen_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("selector list of 60 entries") << 0;
    QTest::newRow("sub-menu of the last entry") << 1;
    QTest::newRow("options menu of 40 entries") << 2;
}

void TestZWidgets::popupsStayOnThePhoneScreen()
{
    QFETCH(int, kind);
    ZKbMainWidget window;
    auto *bar = new ZSoftKey;
    bar->setText(ZSoftKey::LEFT, QStringLiteral("Options"));
    auto *options = new ZOptionsMenu(bar);
    auto *sub = new ZOptionsMenu(bar);
    for (const char *text : {"  Start editing", "  Save theme", "  Save theme as", "  End editing"})
        sub->insertItem(QString::fromLatin1(text), QPixmap());
    const int entries = kind == 2 ? 40 : 3;
    for (int i = 0; i < entries - 1; ++i)
        options->insertItem(QStringLiteral("  Entry %1").arg(i), QPixmap());
    options->insertItem(QStringLiteral("  Edit theme"), sub, QPixmap(), entries - 1);
    bar->setOptMenu(ZSoftKey::LEFT, options);
    window.setSoftKey(bar);
    auto *combo = new ZComboBox;
    for (int i = 0; i < 60; ++i)
        combo->addItem(QStringLiteral("Entry %1").arg(i));
    window.setContentWidget(combo);
    window.move(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect screen(window.mapToGlobal(QPoint(0, 0)), window.size());

    QWidget *popup = nullptr;
    if (kind == 0) {
        combo->setFocus();
        sendPhoneKey(combo, ZKey::Select);
        popup = combo->view()->window();
        QTRY_VERIFY(popup->isVisible());
    } else {
        sendPhoneKey(&window, ZKey::Add);
        QVERIFY(options->isVisible());
        for (int i = 0; i < entries - 1; ++i)
            sendPhoneKey(options, ZKey::Down);
        QCOMPARE(options->activeAction(), options->action(entries - 1));
        const QRect last = options->actionGeometry(options->activeAction());
        QVERIFY2(last.top() >= 0 && last.bottom() < options->height(),
                 qPrintable(QStringLiteral("entry at %1..%2 in a menu %3 high").arg(last.top()).arg(last.bottom()).arg(options->height())));
        QVERIFY(screen.contains(options->geometry()));
        QCOMPARE(options->geometry().bottom(), bar->mapToGlobal(QPoint(0, 0)).y() - 1); // just above the bar
        if (kind == 2) { // one more goes round to the first, shown again
            sendPhoneKey(options, ZKey::Down);
            QCOMPARE(options->activeAction(), options->action(0));
            QVERIFY(options->actionGeometry(options->action(0)).top() >= 0);
            QVERIFY(options->action(0)->isVisible());
            // An entry folded out of view reads as enabled as it was made.
            const int far = options->idAt(30);
            QVERIFY(!options->action(far)->isVisible());
            QVERIFY(options->isItemEnabled(far));
            options->setItemEnabled(far, false);
            QVERIFY(!options->isItemEnabled(far));
            options->setItemEnabled(far, true);
            QVERIFY(options->isItemEnabled(far));
        }
        popup = options;
    }
    if (kind == 1) {
        sendPhoneKey(options, ZKey::Right);
        QTRY_VERIFY(sub->isVisible());
        popup = sub;
        QCOMPARE(popup->width(), sub->sizeHint().width()); // entries whole, not squeezed
    }
    QVERIFY2(screen.contains(popup->geometry()),
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(popup->x()).arg(popup->y()).arg(popup->width()).arg(popup->height())));
    if (kind == 0) {
        for (int i = 0; i < 59; ++i)
            QTest::keyClick(combo->view(), Qt::Key_Down);
        const QRect last = combo->view()->visualRect(combo->model()->index(59, 0));
        QCOMPARE(combo->view()->currentIndex().row(), 59);
        QVERIFY(last.top() >= 0 && last.bottom() < combo->view()->viewport()->height());
        combo->hidePopup();
    }
}

void TestZWidgets::scrollPanelFitsFixedChildren()
{
    ZScrollPanel panel;
    panel.resize(240, 200);
    auto *label = new QWidget;
    label->resize(100, 20);
    panel.addChild(label, 10, 400);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCOMPARE(label->pos(), QPoint(10, 400));
    QVERIFY(panel.contents()->height() >= 420);
    QVERIFY(panel.verticalScrollBar()->maximum() > 0);
    // With no control to move to, the arrow keys scroll the page.
    QTest::keyClick(&panel, Qt::Key_Down);
    QVERIFY(panel.verticalScrollBar()->value() > 0);
}

namespace {
// A keypad window as the settings program builds them: two tabs, each a scroll panel taller
// than the screen with a caption and under it a column of controls named "p<tab>c<row>"; row 3
// is a number picker.
struct TabbedWindow
{
    ZKbMainWidget window;
    ZNavTabWidget *tabs = new ZNavTabWidget;
    TabbedWindow()
    {
        for (int t = 0; t < 2; ++t) {
            auto *panel = new ZScrollPanel(tabs, QStringLiteral("panel%1").arg(t));
            panel->addChild(new QLabel(QStringLiteral("caption")), 10, 10);
            for (int r = 0; r < 12; ++r) {
                QWidget *w = r == 3 ? static_cast<QWidget *>(new ZNumPicker(2))
                                    : new ZCheckBox(QStringLiteral("box %1").arg(r));
                w->setObjectName(QStringLiteral("p%1c%2").arg(t).arg(r));
                panel->addChild(w, 10, 40 + 40 * r);
            }
            tabs->addTab(panel, QIcon());
        }
        window.setContentWidget(tabs);
    }
    QWidget *control(const QString &name) { return window.findChild<QWidget *>(name); }
};
} // namespace

void TestZWidgets::windowNavigatesByKeys_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("picker"); // the value of p0c3 afterwards
    QTest::newRow("down") << "p0c0" << QList<int>{Qt::Key_Down} << "p0c1" << 0 << 0;
    QTest::newRow("up") << "p0c2" << QList<int>{Qt::Key_Up} << "p0c1" << 0 << 0;
    QTest::newRow("down past the picker") << "p0c2" << QList<int>{Qt::Key_Down, Qt::Key_Down} << "p0c4" << 0 << 0;
    QTest::newRow("below the fold") << "p0c0" << QList<int>(11, Qt::Key_Down) << "p0c11" << 0 << 0;
    QTest::newRow("back up from the bottom") << "p0c11" << QList<int>(10, Qt::Key_Up) << "p0c1" << 0 << 0;
    QTest::newRow("up to the first") << "p0c11" << QList<int>(11, Qt::Key_Up) << "p0c0" << 0 << 0;
    QTest::newRow("right switches the tab") << "p0c1" << QList<int>{Qt::Key_Right} << "p1c0" << 1 << 0;
    QTest::newRow("and left back") << "p0c1" << QList<int>{Qt::Key_Right, Qt::Key_Left} << "p0c1" << 0 << 0;
    QTest::newRow("left on the first tab") << "p0c1" << QList<int>{Qt::Key_Left} << "p0c1" << 0 << 0;
    QTest::newRow("the picker keeps left and right") << "p0c3" << QList<int>{Qt::Key_Right, Qt::Key_Right}
                                                     << "p0c3" << 0 << 2;
    QTest::newRow("select toggles a box") << "p0c1" << QList<int>{Qt::Key_Return, Qt::Key_Down} << "p0c2" << 0 << 0;
}

void TestZWidgets::windowNavigatesByKeys()
{
    QFETCH(QString, start);
    QFETCH(QList<int>, keys);
    QFETCH(QString, focus);
    TabbedWindow w;
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.control(start)->setFocus();
    for (int key : keys)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

    QWidget *now = QApplication::focusWidget();
    QVERIFY(now);
    QCOMPARE(now->objectName(), focus);
    QTEST(w.tabs->currentPageIndex(), "tab");
    QTEST(static_cast<ZNumPicker *>(w.control(QStringLiteral("p0c3")))->value(), "picker");
    QCOMPARE(static_cast<ZCheckBox *>(w.control(QStringLiteral("p0c1")))->isChecked(),
             QByteArray(QTest::currentDataTag()) == "select toggles a box");
    // The focused control is in view.
    auto *panel = qobject_cast<ZScrollPanel *>(w.tabs->currentPage());
    const QRect shown(panel->viewport()->mapTo(&w.window, QPoint()), panel->viewport()->size());
    const QRect control(now->mapTo(&w.window, QPoint()), now->size());
    QVERIFY2(shown.contains(control), qPrintable(QStringLiteral("%1 not in view").arg(focus)));
    // At the first control the caption above it shows too.
    if (focus.endsWith(QLatin1String("c0")))
        QCOMPARE(panel->verticalScrollBar()->value(), 0);
}

void TestZWidgets::scrollPanelLeavesTheApplicationWhenItGoes()
{
    // A child of the panel that, while it is deleted with the panel, looks whether the panel
    // (by then no longer a scroll panel) still hears of focus changes.
    struct Witness : QLineEdit
    {
        QObject *panel = nullptr;
        bool *stillListening = nullptr;
        ~Witness() override
        {
            *stillListening = QObject::disconnect(qApp, &QApplication::focusChanged, panel, nullptr);
        }
    };
    bool stillListening = true;
    QWidget window;
    auto *panel = new ZScrollPanel(&window);
    auto *witness = new Witness;
    witness->panel = panel;
    witness->stillListening = &stillListening;
    panel->addChild(witness, 0, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    witness->setFocus();
    QCOMPARE(QApplication::focusWidget(), witness);
    delete panel;
    QVERIFY(!stillListening);
}

void TestZWidgets::systemIcons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("icon") << QStringLiteral("fm_pic_small.g") << QStringLiteral("resource/sysicons/fm_pic_small.png");
    QTest::newRow("folder") << QStringLiteral("fm_folder_small.g") << QStringLiteral("resource/sysicons/fm_folder_small.png");
    QTest::newRow("leaves the folder") << QStringLiteral("../../settings.g") << QString();
}

void TestZWidgets::systemIcons()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    const QString expected = path.isEmpty() ? QString() : TestEnv::path(path);
    QCOMPARE(RES_ICON_Reader::iconPath(name), expected);

    // A drawn picture is read; a missing one comes back as the placeholder, never empty.
    TestEnv::removeFile(QStringLiteral("resource/sysicons/fm_pic_small.png"));
    RES_ICON_Reader reader;
    const QPixmap missing = reader.getIcon(name);
    QVERIFY(!missing.isNull());
    if (!path.isEmpty()) {
        QImage img(20, 10, QImage::Format_ARGB32);
        img.fill(Qt::green);
        QDir().mkpath(TestEnv::path(QStringLiteral("resource/sysicons")));
        QVERIFY(img.save(expected));
        QCOMPARE(reader.getIcon(name).size(), QSize(20, 10));
        TestEnv::removeFile(path);
    }
}


void TestZWidgets::buttonKeys_data()
{
    QTest::addColumn<bool>("checkBox");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("taken");  // the key stays with the button
    for (bool box : {true, false}) {
        const QByteArray kind = box ? "check box, " : "button, ";
        QTest::newRow(kind + "select") << box << ZKey::Select << 1 << true;
        QTest::newRow(kind + "5") << box << ZKey::Digit5 << 1 << true;
        QTest::newRow(kind + "space") << box << int(Qt::Key_Space) << 1 << true;
        QTest::newRow(kind + "up") << box << ZKey::Up << 0 << false;
        QTest::newRow(kind + "down") << box << ZKey::Down << 0 << false;
        QTest::newRow(kind + "left") << box << ZKey::Left << 0 << false;
        QTest::newRow(kind + "right") << box << ZKey::Right << 0 << false;
        QTest::newRow(kind + "2") << box << ZKey::Digit2 << 0 << false;
    }
}

void TestZWidgets::buttonKeys()
{
    QFETCH(bool, checkBox);
    QFETCH(int, key);
    QFETCH(int, clicks);
    QFETCH(bool, taken);
    QWidget window;
    QAbstractButton *button = checkBox ? static_cast<QAbstractButton *>(new ZCheckBox(QStringLiteral("c"), &window))
                                       : new ZPressButton(QStringLiteral("b"), &window);
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QCOMPARE(sendPhoneKey(button, key), taken);
    QCOMPARE(clicked.size(), clicks);
    if (checkBox)
        QCOMPARE(button->isChecked(), clicks == 1);
}

QUILLORA_TEST_MAIN(TestZWidgets)
// A colour slider reached with the keys is marked like the other controls: a frame in the
// highlight colour that it does not show without the focus.
void TestZWidgets::sliderShowsFocus()
{
    QWidget window;
    window.setStyleSheet(ZPhoneStyle::styleSheet());
    auto *layout = new QVBoxLayout(&window);
    auto *before = new QLineEdit;
    auto *slider = new ZSlider(0, 255, 10, 128, Qt::Horizontal, &window);
    layout->addWidget(before);
    layout->addWidget(slider);
    window.resize(240, 80);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    auto marked = [slider] {
        const QImage shot = slider->grab().toImage();
        int n = 0;
        for (int x = 0; x < shot.width(); ++x)
            n += shot.pixelColor(x, 0) == ZPhoneStyle::highlightColor() ? 1 : 0;
        return n > shot.width() / 2;
    };
    QVERIFY(!marked());
    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY(slider->hasFocus());
    QVERIFY(marked());
}

#include "tst_zwidgets.moc"
