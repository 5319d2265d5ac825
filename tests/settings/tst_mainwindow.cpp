// The main window of the settings program, driven with keys and the mouse: start-up, tabs,
// menus, the link entry, language and theme selection, the item editor, the theme cycle
// dialog and the About box.

#include "guifixture.h"
#include "stubs.h"
#include "testenv.h"
#include "zaboutdialog.h"
#include "zappinfoarea.h"
#include "zcheckbox.h"
#include "zcombobox.h"
#include "zconfig.h"
#include "zkeys.h"
#include "zlabel.h"
#include "zmultiselectdlg.h"
#include "zplatformdialog.h"
#include "znavtabwidget.h"
#include "znumpicker.h"
#include "zoptionsmenu.h"
#include "zpressbutton.h"
#include "zslider.h"
#include "zsoftkey.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyleOption>
#include <QSignalSpy>

using namespace GuiFixture;

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void startup_data();
    void startup();
    void firstRun_data();
    void firstRun();
    void tabTitles_data();
    void tabTitles();
    void backKeyClosesWindow();
    void keypad_data();
    void keypad();
    void autostartFailureNamesTheEntry();
    void desktopRowsByKeys_data();
    void desktopRowsByKeys();
    void platformDialogsSpeakTheLanguage_data();
    void platformDialogsSpeakTheLanguage();
    void menus();
    void menuByKeypad();
    void linkTwice();
    void languageRebuild();
    void themeSelection_data();
    void themeSelection();
    void switchesWriteTheirKeys_data();
    void switchesWriteTheirKeys();
    void refreshSwitchRunsDaemon();
    void idleRefreshRestartsDaemon();

    void itemEditorReads_data();
    void itemEditorReads();
    void itemEditorWrites_data();
    void itemEditorWrites();
    void loadingWritesNothing();
    void weatherDayReloadsOnlyWeatherItems();
    void colourSample();
    void mirrors();
    void emptyPictureEntry();

    void listButtons_data();
    void listButtons();
    void cycleDialog_data();
    void cycleDialog();
    void about_data();
    void about();

private:
    ZGui *open();
    DialogScript *m_script = nullptr;
    ZGui *m_gui = nullptr;
};

ZGui *TestMainWindow::open()
{
    delete m_script;
    m_script = new DialogScript;
    m_gui = new ZGui(nullptr);
    flushDeletes();
    return m_gui;
}

void TestMainWindow::initTestCase()
{
    // The system's language of these tests, whatever the machine's.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestMainWindow::cleanup()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    delete m_gui;
    m_gui = nullptr;
    delete m_script;
    m_script = nullptr;
    Stubs::stopAll();
}

void TestMainWindow::startup_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("initText");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("linkEntry");
    // Without a stored language, or with one that has no file, the system's language speaks.
    QTest::newRow("no language") << QByteArray("Language = \n") << en("InitText") << "Quillora"
                                 << QStringLiteral("  ") + en("LInkThemePath");
    QTest::newRow("missing language file") << QByteArray("Language = none.lng\n") << en("InitText") << "Quillora"
                                           << QStringLiteral("  ") + en("LInkThemePath");
    QTest::newRow("english") << QByteArray() << en("InitText") << "Quillora"
                             << QStringLiteral("  ") + en("LInkThemePath");
    QTest::newRow("linked") << QByteArray("Linked = true\n") << en("InitText")
                            << "Quillora" << QStringLiteral("  ") + en("RemoveThemePath");
}

void TestMainWindow::startup()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, initText);
    QFETCH(QString, title);
    QFETCH(QString, linkEntry);
    prepare(settings);
    TestEnv::writeFile(QStringLiteral("device/tmp/tmp.theme"), "[SysTime]\nEnable = true\n");
    ZGui *gui = open();

    QCOMPARE(m_script->shown().size(), 1);
    QCOMPARE(m_script->shown().first().text, initText);
    QCOMPARE(m_script->shown().first().type, 1);
    QCOMPARE(m_script->shown().first().time, 100);
    QCOMPARE(gui->windowTitle(), title);
    QVERIFY(gui->isVisible());
    QCOMPARE(gui->tabWidget()->count(), 5);
    QCOMPARE(gui->tabWidget()->currentPageIndex(), 0);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(gui->tabWidget()->isTabEnabled(i), i != ZGui::TabItems);
    QCOMPARE(gui->optionsMenu()->text(ZGui::MenuLink), linkEntry);
    QVERIFY(!QFileInfo::exists(ZGui::workingCopy())); // an old working copy is dropped

    // The first control has the keypad, and shows it before any key is pressed.
    QVERIFY(QTest::qWaitForWindowActive(gui));
    QStyleOption focused;
    focused.initFrom(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("languageSelector"));
    QVERIFY(focused.state.testFlags(QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange));
}

void TestMainWindow::firstRun_data()
{
    QTest::addColumn<QLocale>("system");
    QTest::addColumn<QString>("languageFile");
    QTest::addColumn<QByteArray>("firstSwitch"); // the switch the first change turns off
    QTest::newRow("english system") << QLocale(QLocale::English, QLocale::UnitedKingdom) << "English.lng"
                                    << QByteArray("weatherBox");
    QTest::newRow("chinese system") << QLocale(QLocale::Chinese, QLocale::China) << "简体中文.lng"
                                    << QByteArray("refreshBox");
    QTest::newRow("other system") << QLocale(QLocale::German, QLocale::Germany) << "English.lng"
                                  << QByteArray("weatherBox");
}

void TestMainWindow::firstRun()
{
    // No settings.ini: the system's language, the shipped defaults, and no file until the
    // first change, which writes the defaults together with the change.
    QFETCH(QLocale, system);
    QFETCH(QString, languageFile);
    prepare();
    TestEnv::removeFile(QStringLiteral("settings.ini"));
    QLocale::setDefault(system);
    ZGui *gui = open();
    const ZConfig lang(TestEnv::path(QStringLiteral("resource/language/") + languageFile));
    auto text = [&](const char *key) { return lang.readEntry(QStringLiteral("Quillora"), QLatin1String(key)); };
    QVERIFY(!text("Quillora").isEmpty());
    QCOMPARE(m_script->shownTexts(), QStringList({text("InitText")}));
    QCOMPARE(gui->windowTitle(), text("Quillora"));
    QCOMPARE(gui->infoArea()->text(0), text("Settings"));
    QCOMPARE(gui->optionsMenu()->text(ZGui::MenuRefresh), QStringLiteral("  ") + text("RefreshDesktop"));
    QCOMPARE(child<ZComboBox>(gui, "languageSelector")->currentText(), languageFile.section(QLatin1Char('.'), 0, 0));
    QCOMPARE(child<ZComboBox>(gui, "themeSelector")->currentText(), QStringLiteral("Lantern"));
    QVERIFY(child<ZCheckBox>(gui, "refreshBox")->isChecked());
    QVERIFY(!QFileInfo::exists(TestEnv::path(QStringLiteral("settings.ini"))));

    QFETCH(QByteArray, firstSwitch);
    const bool weatherTab = firstSwitch == "weatherBox";
    if (weatherTab)
        clickTab(gui, ZGui::TabWeather);
    ZCheckBox *box = child<ZCheckBox>(gui, firstSwitch.constData());
    QVERIFY(box->isChecked());
    click(box);
    QCOMPARE(setting(QStringLiteral("WeatherShow")), weatherTab ? QStringLiteral("false") : QStringLiteral("true"));
    QCOMPARE(setting(QStringLiteral("Refresh")), weatherTab ? QStringLiteral("true") : QStringLiteral("false"));
    QCOMPARE(setting(QStringLiteral("CurrentTheme")), QStringLiteral("Lantern.theme"));
    QCOMPARE(setting(QStringLiteral("ThemeList")), QStringLiteral("Lantern.theme;Frost.theme;Ink.theme"));
    QCOMPARE(setting(QStringLiteral("Language")), QStringLiteral("<none>")); // still the system's
}

void TestMainWindow::tabTitles_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("info");
    QTest::newRow("notices") << 1 << en("Notices");
    QTest::newRow("wallpaper") << 2 << en("Wallpaper");
    QTest::newRow("weather") << 4 << en("WeatherShow");
    QTest::newRow("back to settings") << 0 << en("Settings");
}

void TestMainWindow::tabTitles()
{
    QFETCH(int, tab);
    QFETCH(QString, info);
    prepare();
    ZGui *gui = open();
    clickTab(gui, tab == 0 ? 2 : 0);
    clickTab(gui, tab);
    QCOMPARE(gui->tabWidget()->currentPageIndex(), tab);
    QCOMPARE(gui->infoArea()->text(0), info);
    // The disabled item editor tab cannot be chosen.
    clickTab(gui, ZGui::TabItems);
    QCOMPARE(gui->tabWidget()->currentPageIndex(), tab);
}

void TestMainWindow::backKeyClosesWindow()
{
    prepare();
    ZGui *gui = open();
    phoneKey(gui, ZKey::Back);
    QVERIFY(!gui->isVisible());
    QCOMPARE(gui->result(), 0);
}

// Keys as a desktop keyboard (or xdotool) sends them, to the control in focus.
static void press(QWidget *window, const QList<int> &keys)
{
    for (int key : keys) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus && focus->window() == window ? focus : window, Qt::Key(key));
    }
}

void TestMainWindow::keypad_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("autorun"); // the AutoRun setting afterwards
    const QList<int> toAutorun{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down};
    QTest::newRow("start") << QList<int>() << "languageSelector" << 0 << "false";
    QTest::newRow("down") << QList<int>{Qt::Key_Down} << "themeSelector" << 0 << "false";
    QTest::newRow("down, down") << QList<int>{Qt::Key_Down, Qt::Key_Down} << "themeListButton" << 0 << "false";
    QTest::newRow("down, up") << QList<int>{Qt::Key_Down, Qt::Key_Up} << "languageSelector" << 0 << "false";
    QTest::newRow("return on a switch") << toAutorun + QList<int>{Qt::Key_Return} << "autorunBox" << 0 << "true";
    QTest::newRow("right") << QList<int>{Qt::Key_Right} << "festivalBox" << 1 << "false";
    QTest::newRow("right, down") << QList<int>{Qt::Key_Right, Qt::Key_Down} << "customBox" << 1 << "false";
    QTest::newRow("past the disabled tab")
        << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Right} << "weatherBox" << 4 << "false";
    QTest::newRow("right, left") << QList<int>{Qt::Key_Right, Qt::Key_Left} << "languageSelector" << 0 << "false";
}

void TestMainWindow::autostartFailureNamesTheEntry()
{
    // On a real desktop the switch writes an autostart entry; a file where its folder belongs
    // keeps it from being written, and the message says which entry failed.
    prepare("AutoRun = false\n\n[Desktop]\nTarget = x11\n");
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart");
    QDir(folder).removeRecursively();
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ZGui *gui = open();
    QVERIFY(QTest::qWaitForWindowActive(gui));
    m_script->clear();
    press(gui, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down});
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("autorunBox"));
    press(gui, {Qt::Key_Return});
    QFile::remove(folder);
    QCOMPARE(m_script->shownTexts(), QStringList({en("AutostartFailedText")}));
    QCOMPARE(setting(QStringLiteral("AutoRun")), QStringLiteral("false"));
    QVERIFY(!child<ZCheckBox>(gui, "autorunBox")->isChecked());
}

void TestMainWindow::keypad()
{
    QFETCH(QList<int>, keys);
    prepare("AutoRun = false\n");
    ZGui *gui = open();
    QVERIFY(QTest::qWaitForWindowActive(gui));
    press(gui, keys);
    QVERIFY(QTest::qWaitForWindowActive(gui)); // again, after a notice
    QVERIFY(QApplication::focusWidget());
    QTEST(QApplication::focusWidget()->objectName(), "focus");
    QTEST(gui->tabWidget()->currentPageIndex(), "tab");
    QTEST(setting(QStringLiteral("AutoRun")), "autorun");
    // No selector opened its list on the way.
    for (QComboBox *combo : gui->findChildren<QComboBox *>())
        QVERIFY(!combo->view()->isVisible());
    press(gui, {Qt::Key_Escape});
    QVERIFY(!gui->isVisible());
}

void TestMainWindow::desktopRowsByKeys_data()
{
    QTest::addColumn<int>("row");   // key downs from the target selector
    QTest::addColumn<int>("steps"); // key downs in the opened list
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("target x11") << 0 << 4 << QByteArray("Target = x11\nScale = 0\nAnchor = right\n");
    QTest::newRow("scale 3") << 1 << 3 << QByteArray("Target = phone\nScale = 3\nAnchor = right\n");
    QTest::newRow("anchor top-left") << 2 << 1 << QByteArray("Target = phone\nScale = 0\nAnchor = top-left\n");
}

void TestMainWindow::desktopRowsByKeys()
{
    QFETCH(int, row);
    QFETCH(int, steps);
    QFETCH(QByteArray, stored);
    prepare();
    ZGui *gui = open();
    QVERIFY(QTest::qWaitForWindowActive(gui));
    press(gui, QList<int>(6 + row, Qt::Key_Down));
    QCOMPARE(QApplication::focusWidget()->objectName(),
             QStringList({QStringLiteral("desktopTargetSelector"), QStringLiteral("desktopScaleSelector"), QStringLiteral("desktopAnchorSelector")}).at(row));
    auto *combo = qobject_cast<QComboBox *>(QApplication::focusWidget());
    QTest::keyClick(combo, Qt::Key_Return);
    QTRY_VERIFY(combo->view()->isVisible());
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QVERIFY(TestEnv::readFile(QStringLiteral("settings.ini")).endsWith("[Desktop]\n" + stored));
    press(gui, {Qt::Key_Escape});
}

void TestMainWindow::platformDialogsSpeakTheLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("question"); // the clock question, or else the theme cycle list
    for (const QString &language : {QStringLiteral("English.lng"), QString::fromUtf8("简体中文.lng")}) {
        QTest::newRow(qPrintable(language + QStringLiteral(", clock question"))) << language << true;
        QTest::newRow(qPrintable(language + QStringLiteral(", theme cycle list"))) << language << false;
    }
}

void TestMainWindow::platformDialogsSpeakTheLanguage()
{
    QFETCH(QString, language);
    QFETCH(bool, question);
    prepare("Language = " + language.toUtf8() + "\n");
    ZGui *gui = open();
    const ZConfig lng(TestEnv::path(QStringLiteral("resource/language/") + language));
    QStringList keys;
    m_script->expect([&](QWidget *w) {
        auto *dlg = qobject_cast<ZPlatformDialog *>(w);
        QVERIFY(dlg);
        keys << dlg->softKey()->text(ZSoftKey::LEFT) << dlg->softKey()->text(ZSoftKey::RIGHT);
        QTest::keyClick(dlg->focusWidget() ? dlg->focusWidget() : dlg, Qt::Key_Escape);
    });
    if (question) {
        gui->refresh();
    } else {
        QVERIFY(QTest::qWaitForWindowActive(gui));
        press(gui, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
    }
    QCOMPARE(keys, QStringList({lng.readEntry(QStringLiteral("Quillora"), QStringLiteral("OK"), QString()),
                                lng.readEntry(QStringLiteral("Quillora"), QStringLiteral("Cancel"), QString())}));
    QVERIFY(!keys.contains(QString()));
    QCOMPARE(m_script->pending(), 0);
}

void TestMainWindow::menus()
{
    prepare();
    ZGui *gui = open();
    ZOptionsMenu *menu = gui->optionsMenu();
    ZOptionsMenu *edit = gui->editMenu();
    QCOMPARE(gui->softKeyBar()->optMenu(ZSoftKey::LEFT), menu);
    QCOMPARE(gui->softKeyBar()->text(ZSoftKey::LEFT), en("Options"));
    QCOMPARE(gui->softKeyBar()->text(ZSoftKey::RIGHT), en("Preview"));
    QCOMPARE(menu->objectName(), en("Options"));
    QCOMPARE(edit->objectName(), en("EditTheme"));

    QStringList options;
    for (const char *key : {"RefreshDesktop", "EditTheme", "RunDeamon", "StopDeamon", "RefreshSysTime",
                            "LInkThemePath", "About", "Exit"})
        options << QStringLiteral("  ") + en(key);
    QCOMPARE(menu->count(), options.size());
    for (int id = 0; id < options.size(); ++id) {
        QCOMPARE(menu->idAt(id), id);
        QCOMPARE(menu->text(id), options.at(id));
        QVERIFY2(!menu->itemIcon(id).isNull(), qPrintable(options.at(id)));
        QVERIFY(menu->isItemEnabled(id));
    }
    QCOMPARE(menu->subMenu(ZGui::MenuEdit), edit);
    QStringList edits;
    for (const char *key : {"EditStart", "EditSave", "EditSaveAs", "EditEnd"})
        edits << QStringLiteral("  ") + en(key);
    QCOMPARE(edit->count(), edits.size());
    for (int id = 0; id < edits.size(); ++id) {
        QCOMPARE(edit->text(id), edits.at(id));
        QVERIFY(!edit->itemIcon(id).isNull());
    }

    // The left soft key opens the menu; its entries run their commands.
    gui->softKeyBar()->click(ZSoftKey::LEFT);
    QTRY_VERIFY(menu->isVisible());
    menu->close();
    m_script->clear();
    edit->activateItem(ZGui::EditStart);
    QVERIFY(gui->tabWidget()->isTabEnabled(ZGui::TabItems));
    QCOMPARE(gui->tabWidget()->currentPageIndex(), int(ZGui::TabItems));
    menu->activateItem(ZGui::MenuRefresh);
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started show")));
    menu->activateItem(ZGui::MenuRunDaemon);
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started tarnwick")));
    menu->activateItem(ZGui::MenuStopDaemon);
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("stopped tarnwick")));
    QCOMPARE(m_script->shownTexts(),
             QStringList({en("RefreshDesktopText"), en("RunDeamonText"), en("StopDeamonText")}));
    for (const ShownDialog &d : m_script->shown()) {
        QCOMPARE(d.type, 0);
        QCOMPARE(d.time, 500);
    }
}

void TestMainWindow::menuByKeypad()
{
    prepare();
    ZGui *gui = open();
    m_script->clear();
    m_script->expect(DialogScript::accept());
    // The left hard key opens the options menu; down moves to "About", select opens it.
    phoneKey(gui, ZKey::Add);
    ZOptionsMenu *menu = gui->optionsMenu();
    QTRY_VERIFY(menu->isVisible());
    for (int i = 0; i < 10 && menu->activeAction() != menu->action(ZGui::MenuAbout); ++i)
        phoneKey(menu, ZKey::Down);
    QCOMPARE(menu->activeAction(), menu->action(ZGui::MenuAbout));
    phoneKey(menu, ZKey::Select);
    QTRY_COMPARE(m_script->shownClasses(), QStringList({QStringLiteral("ZAboutDialog")}));
}

void TestMainWindow::linkTwice()
{
    prepare();
    ZGui *gui = open();
    m_script->clear();
    const QString link = ZGui::linkDir() + QStringLiteral("/theme");

    gui->optionsMenu()->activateItem(ZGui::MenuLink);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).canonicalFilePath(), QFileInfo(TestEnv::path(QStringLiteral("theme"))).canonicalFilePath());
    QCOMPARE(gui->optionsMenu()->text(ZGui::MenuLink), QStringLiteral("  ") + en("RemoveThemePath"));
    QCOMPARE(setting(QStringLiteral("Linked")), QStringLiteral("true"));

    gui->optionsMenu()->activateItem(ZGui::MenuLink);
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(QFileInfo(TestEnv::path(QStringLiteral("theme/Test.theme"))).exists());
    QCOMPARE(gui->optionsMenu()->text(ZGui::MenuLink), QStringLiteral("  ") + en("LInkThemePath"));
    QCOMPARE(setting(QStringLiteral("Linked")), QStringLiteral("false"));

    QCOMPARE(m_script->shown().size(), 2);
    QCOMPARE(m_script->shown().at(0).time, 0);   // linked: stays until closed
    QCOMPARE(m_script->shown().at(1).time, 500); // removed
}

void TestMainWindow::languageRebuild()
{
    prepare();
    ZGui *gui = open();
    gui->optionsMenu()->activateItem(ZGui::MenuLink); // linked before the rebuild
    QCOMPARE(m_script->shown().size(), 2);
    gui->editMenu()->activateItem(ZGui::EditStart);
    QVERIFY(QFileInfo::exists(ZGui::workingCopy()));
    m_script->clear();

    ZComboBox *languages = child<ZComboBox>(gui, "languageSelector");
    const int zh = languages->findText(QStringLiteral("简体中文"));
    QVERIFY(zh >= 0);
    choose(languages, zh);
    flushDeletes();

    QCOMPARE(setting(QStringLiteral("Language")), QStringLiteral("简体中文.lng"));
    const ZConfig lang(TestEnv::path(QStringLiteral("resource/language/简体中文.lng")));
    auto zhText = [&](const char *key) { return lang.readEntry(QStringLiteral("Quillora"), QLatin1String(key)); };
    QVERIFY(!zhText("Quillora").isEmpty());
    QCOMPARE(m_script->shownTexts(), QStringList({zhText("InitText")}));
    QCOMPARE(gui->windowTitle(), zhText("Quillora"));
    QCOMPARE(gui->infoArea()->text(0), zhText("Settings"));
    QCOMPARE(gui->softKeyBar()->text(ZSoftKey::LEFT), zhText("Options"));
    QCOMPARE(gui->optionsMenu()->text(ZGui::MenuLink), QStringLiteral("  ") + zhText("RemoveThemePath"));
    QCOMPARE(gui->findChildren<ZComboBox *>(QStringLiteral("languageSelector")).size(), 1);
    QCOMPARE(child<ZComboBox>(gui, "languageSelector")->currentText(), QStringLiteral("简体中文"));
    // The rebuild ends any edit: working copy dropped, item editor disabled.
    QVERIFY(!QFileInfo::exists(ZGui::workingCopy()));
    QVERIFY(!gui->tabWidget()->isTabEnabled(ZGui::TabItems));
    QCOMPARE(gui->tabWidget()->currentPageIndex(), 0);
}

void TestMainWindow::themeSelection_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("shownIndex");
    QTest::newRow("sorted ignoring case") << QStringList({QStringLiteral("Red.theme"), QStringLiteral("blue.theme")}) << "Red.theme"
                                          << QStringList({QStringLiteral("blue"), QStringLiteral("Red")}) << 1;
    QTest::newRow("dot in name") << QStringList({QStringLiteral("a.b.theme")}) << "a.b.theme" << QStringList({QStringLiteral("a.b")}) << 0;
    QTest::newRow("unknown current shows first") << QStringList({QStringLiteral("x.theme"), QStringLiteral("y.theme")}) << "gone.theme"
                                                 << QStringList({QStringLiteral("x"), QStringLiteral("y")}) << 0;
}

void TestMainWindow::themeSelection()
{
    QFETCH(QStringList, files);
    QFETCH(QString, current);
    QFETCH(QStringList, shown);
    QFETCH(int, shownIndex);
    prepare("CurrentTheme = " + current.toUtf8() + "\n");
    QDir(TestEnv::path(QStringLiteral("theme"))).removeRecursively();
    for (const QString &f : files)
        TestEnv::writeFile(QStringLiteral("theme/") + f, "[SysTime]\nFontSize = " + QByteArray::number(f.size()) + "\n");
    ZGui *gui = open();
    ZComboBox *themes = child<ZComboBox>(gui, "themeSelector");
    QStringList texts;
    for (int i = 0; i < themes->count(); ++i)
        texts << themes->itemText(i);
    QCOMPARE(texts, shown);
    QCOMPARE(themes->currentIndex(), shownIndex);

    // Picking the last theme writes its file name and loads its clock item into the editor.
    const int last = themes->count() - 1;
    choose(themes, last);
    QCOMPARE(setting(QStringLiteral("CurrentTheme")), shown.last() + QStringLiteral(".theme"));
    QCOMPARE(gui->currentTheme(), setting(QStringLiteral("CurrentTheme")));
    QCOMPARE(gui->currentItemGroup(), QStringLiteral("SysTime"));
    QCOMPARE(child<ZComboBox>(gui, "itemSelector")->currentIndex(), 0);
    QCOMPARE(child<ZNumPicker>(gui, "sizePicker")->value(), gui->currentTheme().size());
    QVERIFY(!QFileInfo::exists(ZGui::workingCopy())); // selecting does not start an edit
}

void TestMainWindow::switchesWriteTheirKeys_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("key");
    QTest::newRow("festivals") << 1 << "festivalBox" << "FestivalNotify";
    QTest::newRow("notices") << 1 << "customBox" << "CustomNotify";
    QTest::newRow("own festivals") << 1 << "customFestivalBox" << "CustomFestival";
    QTest::newRow("weather") << 4 << "weatherBox" << "WeatherShow";
}

void TestMainWindow::switchesWriteTheirKeys()
{
    QFETCH(int, tab);
    QFETCH(QString, box);
    QFETCH(QString, key);
    prepare("WeatherShow = true\nCustomNotify = true\n");
    const QByteArray before = TestEnv::readFile(QStringLiteral("settings.ini"));
    ZGui *gui = open();
    QCOMPARE(TestEnv::readFile(QStringLiteral("settings.ini")), before); // building writes nothing
    clickTab(gui, tab);
    ZCheckBox *check = gui->findChild<ZCheckBox *>(box);
    const bool was = check->isChecked();
    QCOMPARE(was, key == QStringLiteral("WeatherShow") || key == QStringLiteral("CustomNotify"));
    click(check);
    QCOMPARE(check->isChecked(), !was);
    QCOMPARE(setting(key), was ? QStringLiteral("false") : QStringLiteral("true"));
    QVERIFY(Stubs::log(TestEnv::dir()).isEmpty()); // no redraw, no restart
    QCOMPARE(m_script->shown().size(), 1);         // only the start-up notice
}

void TestMainWindow::refreshSwitchRunsDaemon()
{
    prepare("Refresh = false\n");
    ZGui *gui = open();
    m_script->clear();
    ZCheckBox *box = child<ZCheckBox>(gui, "refreshBox");
    click(box);
    QCOMPARE(setting(QStringLiteral("Refresh")), QStringLiteral("true"));
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started tarnwick")));
    click(box);
    QCOMPARE(setting(QStringLiteral("Refresh")), QStringLiteral("false"));
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("stopped tarnwick")));
    QCOMPARE(m_script->shownTexts(),
             QStringList({en("RunDeamonText"), en("StopDeamonText")}));
}

void TestMainWindow::idleRefreshRestartsDaemon()
{
    prepare("Refresh = false\n");
    ZGui *gui = open();
    m_script->clear();
    click(child<ZCheckBox>(gui, "idleRefreshBox"));
    QCOMPARE(setting(QStringLiteral("UnIdleRefresh")), QStringLiteral("true"));
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started tarnwick")));
    QVERIFY(m_script->shown().isEmpty());
}

void TestMainWindow::itemEditorReads_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<bool>("shadow");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("clock") << 0 << 0 << "SysTime" << true << false << 18 << 100 << 200;
    QTest::newRow("notice edits Notify") << 11 << 0 << "Notify" << false << true << 11 << 7 << 8;
    QTest::newRow("wind on day 3") << 17 << 3 << "Weather3_Wind" << true << true << 33 << 44 << 55;
    QTest::newRow("wind on day 2, missing") << 17 << 2 << "Weather2_Wind" << false << false << 0 << 0 << 0;
}

void TestMainWindow::itemEditorReads()
{
    QFETCH(int, item);
    QFETCH(int, day);
    QFETCH(QString, group);
    QFETCH(bool, enable);
    QFETCH(bool, shadow);
    QFETCH(int, size);
    QFETCH(int, x);
    QFETCH(int, y);
    prepare();
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    choose(child<ZComboBox>(gui, "weatherDay"), day);
    choose(child<ZComboBox>(gui, "itemSelector"), item);
    QCOMPARE(gui->currentItemGroup(), group);
    QCOMPARE(child<ZCheckBox>(gui, "enableBox")->isChecked(), enable);
    QCOMPARE(child<ZCheckBox>(gui, "shadowBox")->isChecked(), shadow);
    QCOMPARE(child<ZNumPicker>(gui, "sizePicker")->value(), size);
    QCOMPARE(child<ZNumPicker>(gui, "posXPicker")->value(), x);
    QCOMPARE(child<ZNumPicker>(gui, "posYPicker")->value(), y);
}

void TestMainWindow::itemEditorWrites_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("key");
    QTest::newRow("font size") << "sizePicker" << 40 << "FontSize";
    QTest::newRow("rotation") << "rotatePicker" << 90 << "RotateAngle";
    QTest::newRow("x") << "posXPicker" << 120 << "Position_X";
    QTest::newRow("y") << "posYPicker" << 300 << "Position_Y";
    QTest::newRow("green") << "greenSlider" << 70 << "FontColor_G";
    QTest::newRow("blue") << "blueSlider" << 250 << "FontColor_B";
    QTest::newRow("picture width") << "imgWPicker" << 200 << "BGImage_W";
    QTest::newRow("picture height") << "imgHPicker" << 310 << "BGImage_H";
    QTest::newRow("picture x") << "imgXPicker" << 9 << "BGImage_X";
    QTest::newRow("picture y") << "imgYPicker" << 11 << "BGImage_Y";
}

void TestMainWindow::itemEditorWrites()
{
    QFETCH(QString, control);
    QFETCH(int, value);
    QFETCH(QString, key);
    prepare();
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    choose(child<ZComboBox>(gui, "weatherDay"), 3);
    choose(child<ZComboBox>(gui, "itemSelector"), 17);
    const QString tmp = QStringLiteral("device/tmp/tmp.theme");
    QWidget *w = gui->findChild<QWidget *>(control);
    if (auto *picker = qobject_cast<ZNumPicker *>(w))
        picker->setValue(value);
    else if (auto *slider = qobject_cast<ZSlider *>(w))
        slider->setValue(value);
    else
        QFAIL("no such control");
    QCOMPARE(themeEntry(tmp, QStringLiteral("Weather3_Wind"), key), QString::number(value));
    // The theme file itself waits for a save.
    QVERIFY(TestEnv::readFile(QStringLiteral("theme/Test.theme")) == GuiFixture::testTheme());
}

void TestMainWindow::loadingWritesNothing()
{
    prepare();
    TestEnv::writeFile(QStringLiteral("theme/Test.theme"),
                       GuiFixture::testTheme() + "[Note]\nPosition_X = 999\nFontSize = 300\nRotateAngle = -5\n");
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    const QByteArray copy = TestEnv::readFile(QStringLiteral("device/tmp/tmp.theme"));
    QVERIFY(!copy.isEmpty());
    ZComboBox *items = child<ZComboBox>(gui, "itemSelector");
    for (int i : {12, 0, 17, 11, 5, 12})
        choose(items, i);
    QCOMPARE(child<ZNumPicker>(gui, "posXPicker")->value(), 240); // 999 shown at the picker's bound
    QCOMPARE(TestEnv::readFile(QStringLiteral("device/tmp/tmp.theme")), copy);
}

void TestMainWindow::weatherDayReloadsOnlyWeatherItems()
{
    prepare();
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    ZComboBox *items = child<ZComboBox>(gui, "itemSelector");
    ZComboBox *days = child<ZComboBox>(gui, "weatherDay");
    choose(items, 9);
    choose(days, 3);
    QCOMPARE(gui->currentItemGroup(), QStringLiteral("Week"));
    choose(items, 13);
    QCOMPARE(gui->currentItemGroup(), QStringLiteral("Weather3_City"));
    choose(days, 2);
    QCOMPARE(gui->currentItemGroup(), QStringLiteral("Weather2_City"));
    choose(days, 0);
    QCOMPARE(gui->currentItemGroup(), QStringLiteral("Weather0_City"));
}

void TestMainWindow::colourSample()
{
    prepare();
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    ZLabel *sample = child<ZLabel>(gui, "colorSample");
    QCOMPARE(sample->textColor(), QColor(10, 20, 30));
    ZSlider *red = child<ZSlider>(gui, "redSlider");
    QCOMPARE(red->value(), 10);
    QCOMPARE(red->maximum(), 255);
    QCOMPARE(red->lineStep(), 10);
    red->setFocus();
    phoneKey(red, ZKey::Right); // one line step
    QCOMPARE(red->value(), 20);
    QCOMPARE(child<ZLabel>(gui, "redValue")->text(), QStringLiteral("20"));
    // A dark colour on a light background, a light one on a dark background.
    QVERIFY(qGray(sample->palette().color(QPalette::Window).rgb()) > 128);
    red->setValue(200);
    QCOMPARE(sample->textColor(), QColor(200, 20, 30));
    QCOMPARE(child<ZLabel>(gui, "redValue")->text(), QStringLiteral("200"));
    child<ZSlider>(gui, "greenSlider")->setValue(250);
    child<ZSlider>(gui, "blueSlider")->setValue(250);
    QVERIFY(qGray(sample->palette().color(QPalette::Window).rgb()) < 128);
    // The sample takes the item's text size; a large one stays within the window, and so do
    // the pickers beside it.
    ZNumPicker *size = child<ZNumPicker>(gui, "sizePicker");
    size->setValue(33);
    QCOMPARE(sample->font().pixelSize(), 33);
    gui->show();
    QVERIFY(QTest::qWaitForWindowExposed(gui));
    gui->tabWidget()->setCurrentPage(ZGui::TabItems);
    size->setValue(60);
    QTest::qWait(50); // the layouts settle
    QWidget *view = size->parentWidget();
    while (view && !qobject_cast<QAbstractScrollArea *>(view->parentWidget()))
        view = view->parentWidget();
    QVERIFY(view);
    QVERIFY(size->mapTo(view, QPoint(size->width(), 0)).x() <= view->width());
    const QString tmp = QStringLiteral("device/tmp/tmp.theme");
    QCOMPARE(themeEntry(tmp, QStringLiteral("SysTime"), QStringLiteral("FontColor_R")), QStringLiteral("200"));
    QCOMPARE(themeEntry(tmp, QStringLiteral("SysTime"), QStringLiteral("FontColor_G")), QStringLiteral("250"));
    QCOMPARE(themeEntry(tmp, QStringLiteral("SysTime"), QStringLiteral("FontColor_B")), QStringLiteral("250"));
}

void TestMainWindow::mirrors()
{
    prepare();
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    ZCheckBox *enable = child<ZCheckBox>(gui, "enableBox");
    ZCheckBox *shadow = child<ZCheckBox>(gui, "shadowBox");
    ZComboBox *items = child<ZComboBox>(gui, "itemSelector");
    QVERIFY(enable->isChecked());
    QVERIFY(!shadow->isChecked());

    // Loading an item whose flag equals the box leaves the box alone.
    QSignalSpy enableSpy(enable, &QCheckBox::toggled);
    choose(items, 17); // Weather0_Wind, missing: Enable false -> toggled once
    QCOMPARE(enableSpy.count(), 1);
    choose(items, 1); // Time_Hour, missing: Enable false again -> untouched
    QCOMPARE(enableSpy.count(), 1);
    QVERIFY(!enable->isChecked());

    // A user's click writes the flag of the current item.
    click(enable);
    QCOMPARE(themeEntry(QStringLiteral("device/tmp/tmp.theme"), QStringLiteral("Time_Hour"), QStringLiteral("Enable")),
             QStringLiteral("true"));
    click(shadow);
    QCOMPARE(themeEntry(QStringLiteral("device/tmp/tmp.theme"), QStringLiteral("Time_Hour"), QStringLiteral("Shadow")),
             QStringLiteral("true"));
    choose(items, 11); // Notify: Enable false, Shadow true
    QVERIFY(!enable->isChecked());
    QVERIFY(shadow->isChecked());
    QCOMPARE(themeEntry(QStringLiteral("device/tmp/tmp.theme"), QStringLiteral("Notify"), QStringLiteral("Enable")),
             QStringLiteral("false"));
}

void TestMainWindow::emptyPictureEntry()
{
    prepare();
    TestEnv::writeFile(QStringLiteral("theme/images/zz_test.png"), QByteArray());
    TestEnv::writeFile(QStringLiteral("theme/Test.theme"), GuiFixture::testTheme().replace("BGImage = \n", "BGImage = zz_test.png\n"));
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    ZComboBox *pictures = child<ZComboBox>(gui, "pictureSelector");
    QCOMPARE(pictures->itemText(0), QString());
    QCOMPARE(pictures->currentText(), QStringLiteral("zz_test.png"));
    choose(pictures, 0);
    const ZConfig tmp(ZGui::workingCopy());
    QVERIFY(tmp.hasEntry(QStringLiteral("SysTime"), QStringLiteral("BGImage")));
    QCOMPARE(tmp.readEntry(QStringLiteral("SysTime"), QStringLiteral("BGImage"), QStringLiteral("x")), QString());
    choose(pictures, pictures->count() - 1);
    QCOMPARE(tmp.readEntry(QStringLiteral("SysTime"), QStringLiteral("BGImage")), QStringLiteral("zz_test.png"));
}

void TestMainWindow::listButtons_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("title");
    QTest::newRow("notices") << 1 << "notifyButton" << "NotifyMng" << en("CusNoticeMng");
    QTest::newRow("festivals") << 1 << "festivalButton" << "FestivalMng" << en("CusFestivalMng");
    QTest::newRow("wallpapers") << 2 << "wallpaperButton" << "WallpaperMng" << en("WallpaperListMng");
}

void TestMainWindow::listButtons()
{
    QFETCH(int, tab);
    QFETCH(QString, button);
    QFETCH(QString, dialog);
    QFETCH(QString, title);
    prepare();
    ZGui *gui = open();
    m_script->clear();
    m_script->expect(DialogScript::backKey());
    clickTab(gui, tab);
    click(gui->findChild<ZPressButton *>(button));
    QCOMPARE(m_script->shownClasses(), QStringList({dialog}));
    QCOMPARE(m_script->shown().first().text, title);
    QVERIFY(gui->isVisible());
}

void TestMainWindow::cycleDialog_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QList<int>>("toggle"); // entries the user toggles
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("written");  // "<none>" when nothing is written
    QTest::addColumn<bool>("restart");
    QTest::newRow("stored marks, accepted unchanged") << QByteArray("ThemeList = _;night.theme;gone.theme\n")
                                                      << QList<int>() << true << "_;night.theme" << true;
    QTest::newRow("nothing checked") << QByteArray("ThemeList = _;night.theme\n") << QList<int>({0, 2}) << true
                                     << "" << true;
    QTest::newRow("entry order") << QByteArray() << QList<int>({2, 0}) << true << "_;night.theme" << true;
    QTest::newRow("cancelled") << QByteArray("ThemeList = _\n") << QList<int>({1}) << false << "_" << false;
}

void TestMainWindow::cycleDialog()
{
    QFETCH(QByteArray, stored);
    QFETCH(QList<int>, toggle);
    QFETCH(bool, accept);
    QFETCH(QString, written);
    QFETCH(bool, restart);
    prepare(stored);
    QDir(TestEnv::path(QStringLiteral("theme"))).removeRecursively();
    TestEnv::writeFile(QStringLiteral("theme/day.theme"), "");
    TestEnv::writeFile(QStringLiteral("theme/night.theme"), "");
    ZGui *gui = open();
    QStringList entries;
    QList<bool> marks;
    m_script->expect([&](QWidget *w) {
        auto *dlg = qobject_cast<ZMultiSelectDlg *>(w);
        QVERIFY(dlg);
        for (int i = 0; i < dlg->count(); ++i) {
            entries << dlg->itemText(i);
            marks << dlg->isChecked(i);
        }
        for (int i : toggle)
            dlg->setChecked(i, !dlg->isChecked(i));
        phoneKey(dlg, accept ? ZKey::Add : ZKey::Back);
    });
    click(child<ZPressButton>(gui, "themeListButton"));
    // Shown as the theme selector names them; "_" by what it means.
    QCOMPARE(entries, QStringList({en("NoThemeEntry"), QStringLiteral("day"), QStringLiteral("night")}));
    const QByteArray s = stored;
    QCOMPARE(marks, QList<bool>({s.contains("_"), false, s.contains("night")}));
    QCOMPARE(setting(QStringLiteral("ThemeList")), written == QStringLiteral("<none>") ? QStringLiteral("<none>") : written);
    if (restart) {
        QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started tarnwick")));
    } else {
        QVERIFY(Stubs::followUp(TestEnv::dir()));
        QVERIFY(Stubs::log(TestEnv::dir()).isEmpty());
    }
}

void TestMainWindow::about_data()
{
    QTest::addColumn<bool>("withLanguage");
    QTest::addColumn<bool>("withIcon");
    QTest::addColumn<QString>("title");
    QTest::newRow("english") << true << true << "About";
    QTest::newRow("no language file, no icon") << false << false << "About";
}

void TestMainWindow::about()
{
    QFETCH(bool, withLanguage);
    QFETCH(bool, withIcon);
    QFETCH(QString, title);
    prepare(withLanguage ? QByteArray() : QByteArray("Language = none.lng\n"));
    if (!withIcon)
        TestEnv::removeFile(QStringLiteral("show.png"));
    ZGui *gui = open();
    QString okText;
    QString shownTitle;
    m_script->expect([&](QWidget *w) {
        auto *dlg = qobject_cast<ZAboutDialog *>(w);
        QVERIFY(dlg);
        shownTitle = dlg->windowTitle();
        // A missing picture leaves the area empty, not a broken-picture sign.
        ZLabel *pic = dlg->findChild<ZLabel *>(QStringLiteral("aboutIcon"));
        QVERIFY(pic);
        QCOMPARE(pic->text().contains(QLatin1String("<img")), withIcon);
        ZSoftKey *keys = dlg->softKey();
        okText = keys->text(ZSoftKey::LEFT);
        QCOMPARE(keys->text(ZSoftKey::RIGHT), QString());
        keys->click(ZSoftKey::LEFT);
    });
    gui->optionsMenu()->activateItem(ZGui::MenuAbout);
    QCOMPARE(shownTitle, title);
    QCOMPARE(okText, QStringLiteral("OK"));
    QVERIFY(gui->isVisible());
}

QUILLORA_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
