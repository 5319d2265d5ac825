// Theme editing on the working copy, save-as, preview, and the commands of the main window that
// start and stop programs or rewrite the phone's files, against stand-in programs.

#include "device.h"
#include "drawimg.h"
#include "guifixture.h"
#include "preview.h"
#include "stubs.h"
#include "testenv.h"
#include "themefiles.h"
#include "zcheckbox.h"
#include "zcombobox.h"
#include "zconfig.h"
#include "zkeys.h"
#include "zmessagedlg.h"
#include "znavtabwidget.h"
#include "znumpicker.h"
#include "zoptionsmenu.h"
#include "zpressbutton.h"
#include "zsinglecapturedlg.h"
#include "zsoftkey.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>

using namespace GuiFixture;

// The soft-key bar of a window (the preview names its own member like the bar).
static ZSoftKey *keysOf(ZMainWidget *w)
{
    return w->softKey();
}

class TestEditing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void editSaveEnd_data();
    void editSaveEnd();
    void saveWhileNotEditing();
    void editWithoutThemeFile();
    void editAgainDropsUnsavedChanges();
    void textBox();
    void currentThemeOutsideThemeFolder();
    void saveAs_data();
    void saveAs();
    void saveAsWhileNotEditing();

    void preview_data();
    void preview();
    void previewWholePicture();
    void previewLanguageDefaults();

    void autorunSwitch();
    void autorunFileUnchangeable_data();
    void autorunFileUnchangeable();
    void interval();
    void intervalAlreadyStored();
    void orderSelector_data();
    void orderSelector();
    void rotatorButton_data();
    void rotatorButton();
    void idleClock_data();
    void idleClock();
    void themeChangeMovesClock_data();
    void themeChangeMovesClock();
    void failedWrite_data();
    void failedWrite();
    void unsavedEdits_data();
    void unsavedEdits();

private:
    ZGui *open();
    DialogScript *m_script = nullptr;
    ZGui *m_gui = nullptr;
};

ZGui *TestEditing::open()
{
    delete m_script;
    m_script = new DialogScript;
    m_gui = new ZGui(nullptr);
    flushDeletes();
    m_script->clear();
    return m_gui;
}

void TestEditing::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestEditing::cleanup()
{
    delete m_gui;
    m_gui = nullptr;
    delete m_script;
    m_script = nullptr;
    Stubs::stopAll();
}

static const QString kTmp = QStringLiteral("device/tmp/tmp.theme");
static const QString kTheme = QStringLiteral("theme/Test.theme");

void TestEditing::editSaveEnd_data()
{
    QTest::addColumn<int>("tabAtEnd");
    QTest::addColumn<int>("tabAfter");
    QTest::newRow("ending on the weather tab") << 4 << 0;
    QTest::newRow("ending on the notices tab") << 1 << 1;
    QTest::newRow("ending on the item editor") << 3 << 0;
}

void TestEditing::editSaveEnd()
{
    QFETCH(int, tabAtEnd);
    QFETCH(int, tabAfter);
    prepare();
    ZGui *gui = open();
    ZComboBox *themes = child<ZComboBox>(gui, "themeSelector");

    gui->editMenu()->activateItem(ZGui::EditStart);
    QVERIFY(gui->tabWidget()->isTabEnabled(ZGui::TabItems));
    QCOMPARE(gui->tabWidget()->currentPageIndex(), int(ZGui::TabItems));
    QVERIFY(!themes->isEnabled());
    QCOMPARE(TestEnv::readFile(kTmp), testTheme());
    QCOMPARE(gui->themeStore()->path(), ZGui::workingCopy());

    child<ZNumPicker>(gui, "sizePicker")->setValue(44);
    QCOMPARE(themeEntry(kTmp, QStringLiteral("SysTime"), QStringLiteral("FontSize")), QStringLiteral("44"));
    QCOMPARE(TestEnv::readFile(kTheme), testTheme());

    gui->editMenu()->activateItem(ZGui::EditSave);
    QCOMPARE(TestEnv::readFile(kTheme), TestEnv::readFile(kTmp));
    QVERIFY(QFileInfo::exists(ZGui::workingCopy())); // editing goes on
    QVERIFY(gui->tabWidget()->isTabEnabled(ZGui::TabItems));

    clickTab(gui, tabAtEnd);
    gui->editMenu()->activateItem(ZGui::EditEnd);
    QVERIFY(!QFileInfo::exists(ZGui::workingCopy()));
    QVERIFY(!gui->tabWidget()->isTabEnabled(ZGui::TabItems));
    QVERIFY(themes->isEnabled());
    QCOMPARE(gui->tabWidget()->currentPageIndex(), tabAfter);
    QCOMPARE(themeEntry(kTheme, QStringLiteral("SysTime"), QStringLiteral("FontSize")), QStringLiteral("44"));
    QCOMPARE(m_script->shownTexts(), QStringList{en("ThemeSavedText")}); // ending asks nothing
}

void TestEditing::saveWhileNotEditing()
{
    prepare();
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditSave);
    gui->editMenu()->activateItem(ZGui::EditEnd);
    QCOMPARE(TestEnv::readFile(kTheme), testTheme());
    QVERIFY(!QFileInfo::exists(ZGui::workingCopy()));
    QCOMPARE(m_script->shownTexts(), QStringList{en("SaveText")}); // says why nothing was saved
}

void TestEditing::editWithoutThemeFile()
{
    prepare("CurrentTheme = \n");
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    QVERIFY(!QFileInfo::exists(ZGui::workingCopy()));
    QVERIFY(!child<ZCheckBox>(gui, "enableBox")->isChecked());
    QCOMPARE(child<ZNumPicker>(gui, "sizePicker")->value(), 0);
    child<ZNumPicker>(gui, "posXPicker")->setValue(12);
    QCOMPARE(themeEntry(kTmp, QStringLiteral("SysTime"), QStringLiteral("Position_X")), QStringLiteral("12"));
}

// The text box keys of an item: shown with their defaults when missing, written only when the
// user changes them with the keypad or the selector.
void TestEditing::textBox()
{
    prepare();
    const QByteArray theme = testTheme() + "[Note]\nEnable = true\nBox_W = 120\nBox_H = 40\nFit = Elide\n";
    TestEnv::writeFile(kTheme, theme);
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    ZNumPicker *width = child<ZNumPicker>(gui, "boxWPicker");
    ZComboBox *fit = child<ZComboBox>(gui, "fitSelector");
    QCOMPARE(width->value(), 240);
    QCOMPARE(child<ZNumPicker>(gui, "boxHPicker")->value(), 320);
    QCOMPARE(fit->currentIndex(), 0);
    QCOMPARE(fit->itemText(2), gui->getText(QStringLiteral("FitElide")));

    int note = 0;
    while (ThemeFiles::itemGroup(note, 0) != QLatin1String("Note"))
        ++note;
    choose(child<ZComboBox>(gui, "itemSelector"), note);
    QCOMPARE(width->value(), 120);
    QCOMPARE(child<ZNumPicker>(gui, "boxHPicker")->value(), 40);
    QCOMPARE(fit->currentIndex(), 2);
    QCOMPARE(TestEnv::readFile(kTmp), theme); // looking writes nothing

    width->setFocus();
    QTest::keyClick(width, Qt::Key_Left);
    QCOMPARE(themeEntry(kTmp, QStringLiteral("Note"), QStringLiteral("Box_W")), QStringLiteral("119"));
    choose(fit, 1);
    QCOMPARE(themeEntry(kTmp, QStringLiteral("Note"), QStringLiteral("Fit")), QStringLiteral("shrink"));
    QCOMPARE(themeEntry(kTmp, QStringLiteral("SysTime"), QStringLiteral("Box_W")), QStringLiteral("<none>"));
}

void TestEditing::editAgainDropsUnsavedChanges()
{
    prepare();
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    child<ZNumPicker>(gui, "sizePicker")->setValue(60);
    m_script->expect(DialogScript::accept()); // yes, drop the unsaved edits
    gui->editMenu()->activateItem(ZGui::EditStart);
    QCOMPARE(TestEnv::readFile(kTmp), testTheme());
    QCOMPARE(child<ZNumPicker>(gui, "sizePicker")->value(), 18);
}

void TestEditing::currentThemeOutsideThemeFolder()
{
    // A stored name reaching out of theme/ is neither copied from nor saved over.
    prepare("CurrentTheme = ../notify.db\n");
    const QByteArray db = TestEnv::readFile(QStringLiteral("notify.db"));
    QVERIFY(!db.isEmpty());
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    QVERIFY(!QFileInfo::exists(ZGui::workingCopy()));
    child<ZNumPicker>(gui, "sizePicker")->setValue(21);
    QVERIFY(QFileInfo::exists(ZGui::workingCopy()));
    gui->editMenu()->activateItem(ZGui::EditSave);
    QCOMPARE(TestEnv::readFile(QStringLiteral("notify.db")), db);
    QCOMPARE(m_script->shownTexts(), QStringList{en("ThemeSaveFailedText")});
}

void TestEditing::saveAs_data()
{
    QTest::addColumn<QStringList>("answers");     // names typed in turn; "<cancel>" cancels
    QTest::addColumn<QStringList>("notices");     // notice texts shown in turn
    QTest::addColumn<QString>("created");         // theme file created, empty for none
    QTest::addColumn<QString>("entry");           // new last entry of the theme selector
    const QString taken = en("ThemeExistText");
    const QString refused = QStringLiteral("<refused>");
    QTest::newRow("free name") << QStringList({QStringLiteral("Night")}) << QStringList() << "Night.theme" << "Night";
    QTest::newRow("taken, then free") << QStringList({QStringLiteral("Test"), QStringLiteral("Fresh")}) << QStringList({taken}) << "Fresh.theme"
                                      << "Fresh";
    QTest::newRow("refused, then cancel") << QStringList({QStringLiteral(""), QStringLiteral("../evil"), QStringLiteral("a/b"), QStringLiteral("<cancel>")})
                                          << QStringList({refused, refused, refused}) << "" << "";
    QTest::newRow("cancel") << QStringList({QStringLiteral("<cancel>")}) << QStringList() << "" << "";
    QTest::newRow("dot in name") << QStringList({QStringLiteral("a.b")}) << QStringList() << "a.b.theme" << "a.b";
    QTest::newRow("blank and quote") << QStringList({QStringLiteral("it's mine")}) << QStringList() << "it's mine.theme"
                                     << "it's mine";
}

void TestEditing::saveAs()
{
    QFETCH(QStringList, answers);
    QFETCH(QStringList, notices);
    QFETCH(QString, created);
    QFETCH(QString, entry);
    prepare();
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    child<ZNumPicker>(gui, "sizePicker")->setValue(77);
    ZComboBox *themes = child<ZComboBox>(gui, "themeSelector");
    const int entriesBefore = themes->count();
    const QStringList themesBefore = QDir(TestEnv::path(QStringLiteral("theme"))).entryList(QDir::Files);

    QStringList shownAgainWith;
    for (const QString &answer : answers) {
        m_script->expect([&, answer](QWidget *w) {
            auto *dlg = qobject_cast<ZSingleCaptureDlg *>(w);
            QVERIFY(dlg);
            QCOMPARE(dlg->objectName(), QStringLiteral("ZSingleCaptureDlg"));
            QCOMPARE(dlg->title(), en("SaveAs"));
            shownAgainWith << dlg->text();
            if (answer == QStringLiteral("<cancel>")) {
                dlg->reject();
            } else {
                dlg->setText(answer);
                dlg->accept();
            }
        });
    }
    gui->editMenu()->activateItem(ZGui::EditSaveAs);
    QCOMPARE(m_script->pending(), 0);

    QStringList shownNotices; // warnings; a save ends with a short confirmation
    QStringList confirmed;
    for (const ShownDialog &d : m_script->shown()) {
        if (d.className == QStringLiteral("ZNoticeDlg") && d.type == 0 && d.time > 0)
            confirmed << d.text;
        else if (d.className == QStringLiteral("ZNoticeDlg")) {
            QCOMPARE(d.type, 1);
            QCOMPARE(d.time, 0);
            shownNotices << d.text;
        }
    }
    QCOMPARE(confirmed, created.isEmpty() ? QStringList() : QStringList{en("ThemeSavedAsText").arg(entry)});
    QCOMPARE(shownNotices.size(), notices.size());
    for (int i = 0; i < notices.size(); ++i) {
        if (notices.at(i) != QStringLiteral("<refused>"))
            QCOMPARE(shownNotices.at(i), notices.at(i));
        else
            QVERIFY(!shownNotices.at(i).isEmpty() && shownNotices.at(i) != en("ThemeExistText"));
    }
    // Asked again, the dialog shows the name last typed.
    for (int i = 1; i < shownAgainWith.size(); ++i)
        QCOMPARE(shownAgainWith.at(i), answers.at(i - 1));

    QVERIFY(!QFileInfo::exists(TestEnv::path(QStringLiteral("evil.theme"))));
    QVERIFY(!QFileInfo::exists(TestEnv::path(QStringLiteral("theme/a"))));
    if (created.isEmpty()) {
        QCOMPARE(QDir(TestEnv::path(QStringLiteral("theme"))).entryList(QDir::Files), themesBefore);
        QCOMPARE(themes->count(), entriesBefore);
        QCOMPARE(gui->currentTheme(), QStringLiteral("Test.theme"));
        return;
    }
    QCOMPARE(TestEnv::readFile(QStringLiteral("theme/") + created), TestEnv::readFile(kTmp));
    QCOMPARE(TestEnv::readFile(kTheme), testTheme());
    QCOMPARE(themes->count(), entriesBefore + 1);
    QCOMPARE(themes->currentIndex(), entriesBefore);
    QCOMPARE(themes->currentText(), entry);
    QCOMPARE(gui->currentTheme(), created);
    QCOMPARE(setting(QStringLiteral("CurrentTheme")), QStringLiteral("Test.theme")); // not written by save-as

    // Editing goes on; a save now writes to the new name.
    child<ZNumPicker>(gui, "sizePicker")->setValue(78);
    gui->editMenu()->activateItem(ZGui::EditSave);
    QCOMPARE(themeEntry(QStringLiteral("theme/") + created, QStringLiteral("SysTime"), QStringLiteral("FontSize")), QStringLiteral("78"));
    QCOMPARE(TestEnv::readFile(kTheme), testTheme());
}

void TestEditing::saveAsWhileNotEditing()
{
    prepare();
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditSaveAs);
    QCOMPARE(m_script->shownClasses(), QStringList({QStringLiteral("ZNoticeDlg")}));
    QCOMPARE(m_script->shown().first().text, en("SaveAsText"));
    QCOMPARE(m_script->shown().first().type, 1);
    QCOMPARE(m_script->shown().first().time, 0);
}

void TestEditing::preview_data()
{
    QTest::addColumn<bool>("editing");
    QTest::addColumn<int>("how"); // 0 left soft key, 1 right soft key, 2 back key
    QTest::addColumn<QString>("leftText");
    QTest::addColumn<bool>("saved");
    QTest::newRow("not editing, left key does nothing, then back") << false << 0 << "" << false;
    QTest::newRow("editing, save") << true << 0 << "Save" << true;
    QTest::newRow("editing, right key") << true << 1 << "Save" << false;
    QTest::newRow("editing, back key") << true << 2 << "Save" << false;
}

void TestEditing::preview()
{
    QFETCH(bool, editing);
    QFETCH(int, how);
    QFETCH(QString, leftText);
    QFETCH(bool, saved);
    prepare();
    ZGui *gui = open();
    if (editing) {
        gui->editMenu()->activateItem(ZGui::EditStart);
        child<ZNumPicker>(gui, "sizePicker")->setValue(55);
    }
    QString left;
    QString right;
    bool stillOpenAfterLeft = false;
    m_script->expect([&](QWidget *w) {
        auto *dlg = qobject_cast<PreView *>(w);
        QVERIFY(dlg);
        left = keysOf(dlg)->text(ZSoftKey::LEFT);
        right = keysOf(dlg)->text(ZSoftKey::RIGHT);
        if (how == 0) {
            keysOf(dlg)->click(ZSoftKey::LEFT);
            stillOpenAfterLeft = dlg->isVisible();
            if (stillOpenAfterLeft)
                keysOf(dlg)->click(ZSoftKey::RIGHT);
        } else if (how == 1) {
            keysOf(dlg)->click(ZSoftKey::RIGHT);
        } else {
            phoneKey(dlg, ZKey::Back);
        }
    });
    // The right soft key of the main window opens the preview.
    gui->softKeyBar()->click(ZSoftKey::RIGHT);
    QCOMPARE(m_script->shownClasses(), saved ? QStringList({QStringLiteral("PreView"), QStringLiteral("ZNoticeDlg")}) : QStringList({QStringLiteral("PreView")}));
    QCOMPARE(left, leftText);
    QCOMPARE(right, QStringLiteral("Back"));
    QCOMPARE(stillOpenAfterLeft, how == 0 && !editing);
    QCOMPARE(themeEntry(kTheme, QStringLiteral("SysTime"), QStringLiteral("FontSize")), saved ? QStringLiteral("55") : QStringLiteral("18"));
}

void TestEditing::previewWholePicture()
{
    prepare();
    // Nothing of the test theme draws, so the picture is the wallpaper alone and does not
    // change between two renderings.
    QImage full;
    {
        DrawImg renderer;
        full = renderer.getPixmap()->toImage();
    }
    PreView dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QImage shown = dlg.contentWidget()->findChild<QLabel *>(QStringLiteral("previewContent"))->pixmap().toImage();
    QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), full.convertToFormat(QImage::Format_RGB32));

    // The rows the soft-key bar leaves no room for are reached with Down, and nothing covers
    // them then; Up goes back to the top.
    auto *page = qobject_cast<QScrollArea *>(dlg.contentWidget());
    QVERIFY(page);
    const QRect onScreen(page->viewport()->mapTo(&dlg, QPoint(0, 0)), page->viewport()->size());
    QVERIFY(!onScreen.intersects(keysOf(&dlg)->geometry()));
    QCOMPARE(onScreen.width(), 240);
    QVERIFY(onScreen.height() < 320);
    QCOMPARE(page->verticalScrollBar()->value(), 0);
    phoneKey(&dlg, ZKey::Down);
    QCOMPARE(page->verticalScrollBar()->value() + onScreen.height(), 320);
    phoneKey(&dlg, ZKey::Up);
    QCOMPARE(page->verticalScrollBar()->value(), 0);
}

void TestEditing::previewLanguageDefaults()
{
    prepare("Language = none.lng\n");
    TestEnv::writeFile(kTmp, testTheme());
    PreView dlg;
    QCOMPARE(keysOf(&dlg)->text(ZSoftKey::LEFT), QStringLiteral("Save"));
    QCOMPARE(keysOf(&dlg)->text(ZSoftKey::RIGHT), QStringLiteral("Back"));
}

void TestEditing::autorunSwitch()
{
    prepare();
    TestEnv::writeFile(QStringLiteral("device/ezxlocal/autorun.txt"), "a\nb\n/old/place/tarnwick.lin &\n");
    ZGui *gui = open();
    ZCheckBox *box = child<ZCheckBox>(gui, "autorunBox");
    QVERIFY(!box->isChecked());
    const QByteArray line = Platform::shellQuote(TestEnv::dir() + QStringLiteral("tarnwick.lin")).toUtf8() + " &\n";

    click(box);
    QCOMPARE(TestEnv::readFile(QStringLiteral("device/ezxlocal/autorun.txt")), "a\nb\n" + line);
    QCOMPARE(setting(QStringLiteral("AutoRun")), QStringLiteral("true"));
    click(box);
    QCOMPARE(TestEnv::readFile(QStringLiteral("device/ezxlocal/autorun.txt")), QByteArray("a\nb\n"));
    QCOMPARE(setting(QStringLiteral("AutoRun")), QStringLiteral("false"));
    QCOMPARE(m_script->shownTexts(), QStringList({en("AutoRunEnabled"),
                                                  en("AutoRunCanceled")}));
}

void TestEditing::autorunFileUnchangeable_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("switching on") << false;
    QTest::newRow("switching off") << true;
}

void TestEditing::autorunFileUnchangeable()
{
    // The autorun path is taken by a folder, so the file cannot be read or replaced: the
    // switch goes back, the setting keeps its value, and no notice says it worked.
    QFETCH(bool, stored);
    prepare(stored ? "AutoRun = true\n" : "AutoRun = false\n");
    const QString autorun = TestEnv::path(QStringLiteral("device/ezxlocal/autorun.txt"));
    QFile::remove(autorun);
    QVERIFY(QDir().mkpath(autorun + QStringLiteral("/inside")));
    ZGui *gui = open();
    ZCheckBox *box = child<ZCheckBox>(gui, "autorunBox");
    QCOMPARE(box->isChecked(), stored);

    click(box);
    QCOMPARE(box->isChecked(), stored);
    QCOMPARE(setting(QStringLiteral("AutoRun")), stored ? QStringLiteral("true") : QStringLiteral("false"));
    QVERIFY(QFileInfo(autorun + QStringLiteral("/inside")).isDir());
    const QStringList shown = m_script->shownTexts();
    QCOMPARE(shown.size(), 1);
    QVERIFY(!shown.contains(en("AutoRunEnabled")));
    QVERIFY(!shown.contains(en("AutoRunCanceled")));
}

void TestEditing::interval()
{
    prepare("ChangeTime = \n");
    TestEnv::writeFile(QStringLiteral("morvessa.lin"), "#!/bin/sh\n  sleep 30 # pause\nrun\n");
    const QByteArray settingsBefore = TestEnv::readFile(QStringLiteral("settings.ini"));
    ZGui *gui = open();
    ZNumPicker *picker = child<ZNumPicker>(gui, "intervalPicker");
    QCOMPARE(picker->minimum(), 1);
    QCOMPARE(picker->maximum(), 60);
    QCOMPARE(TestEnv::readFile(QStringLiteral("settings.ini")), settingsBefore); // building writes nothing
    picker->setValue(45);
    QCOMPARE(TestEnv::readFile(QStringLiteral("morvessa.lin")), QByteArray("#!/bin/sh\n\t sleep 45\nrun\n"));
    QCOMPARE(setting(QStringLiteral("ChangeTime")), QStringLiteral("45"));
    picker->setFocus();
    phoneKey(picker, ZKey::Right);
    QCOMPARE(TestEnv::readFile(QStringLiteral("morvessa.lin")), QByteArray("#!/bin/sh\n\t sleep 46\nrun\n"));
    QVERIFY(Stubs::log(TestEnv::dir()).isEmpty()); // the running rotator is not restarted
}

void TestEditing::intervalAlreadyStored()
{
    prepare("ChangeTime = 30\n");
    TestEnv::writeFile(QStringLiteral("morvessa.lin"), "  sleep 30 # as shipped\n");
    ZGui *gui = open();
    QCOMPARE(child<ZNumPicker>(gui, "intervalPicker")->value(), 30);
    gui->changetimeChanged(30);
    QCOMPARE(TestEnv::readFile(QStringLiteral("morvessa.lin")), QByteArray("  sleep 30 # as shipped\n"));
}

void TestEditing::orderSelector_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("random") << QByteArray("ChangeMode = 1\n") << en("Random");
    QTest::newRow("above the range") << QByteArray("ChangeMode = 7\n") << en("Random");
    QTest::newRow("below the range") << QByteArray("ChangeMode = -3\n") << en("Inorder");
}

void TestEditing::orderSelector()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    prepare(stored);
    ZGui *gui = open();
    ZComboBox *mode = child<ZComboBox>(gui, "modeSelector");
    QCOMPARE(mode->currentText(), shown);
    choose(mode, 0);
    QCOMPARE(setting(QStringLiteral("ChangeMode")), QStringLiteral("0"));
    choose(mode, 1);
    QCOMPARE(setting(QStringLiteral("ChangeMode")), QStringLiteral("1"));
    QVERIFY(Stubs::log(TestEnv::dir()).isEmpty());
}

void TestEditing::rotatorButton_data()
{
    QTest::addColumn<int>("wallpapers");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QStringList>("log");     // what the stand-ins logged, in order
    QTest::addColumn<QString>("dynamic");     // DynamicDesktop afterwards
    QTest::addColumn<QString>("caption");     // button caption afterwards
    QTest::addColumn<QStringList>("notices");
    QTest::newRow("one wallpaper") << 1 << QByteArray() << QStringList() << "<none>" << en("RunWallpaperChange")
                                   << QStringList({en("AddWallpaperText")});
    QTest::newRow("start") << 2 << QByteArray("DynamicDesktop = false\n")
                           << QStringList({QStringLiteral("stopped tarnwick"), QStringLiteral("started morvessa")}) << "true" << en("RunWallpaperChange")
                           << QStringList();
    QTest::newRow("stop, refresh on") << 2 << QByteArray("DynamicDesktop = true\nRefresh = true\n")
                                      << QStringList({QStringLiteral("stopped morvessa"), QStringLiteral("started tarnwick")}) << "false"
                                      << en("RunWallpaperChange") << QStringList({en("StopWallpaperChange")});
    QTest::newRow("stop, refresh off") << 3 << QByteArray("DynamicDesktop = true\nRefresh = false\n")
                                       << QStringList({QStringLiteral("stopped morvessa")}) << "false" << en("RunWallpaperChange")
                                       << QStringList({en("StopWallpaperChange")});
}

void TestEditing::rotatorButton()
{
    QFETCH(int, wallpapers);
    QFETCH(QByteArray, settings);
    QFETCH(QStringList, log);
    QFETCH(QString, dynamic);
    QFETCH(QString, caption);
    QFETCH(QStringList, notices);
    prepare(settings);
    QByteArray list;
    for (int i = 0; i < wallpapers; ++i)
        list += TestEnv::dir().toUtf8() + "resource/wallpapers/w" + QByteArray::number(i) + ".png\n";
    TestEnv::writeFile(QStringLiteral("wallpaper.list"), list);
    ZGui *gui = open();
    ZPressButton *button = child<ZPressButton>(gui, "rotatorButton");
    QCOMPARE(button->text(), settings.contains("DynamicDesktop = true") ? en("StopWallpaperChange")
                                                                          : en("RunWallpaperChange"));
    // What runs now: the daemon, and the rotator when it counts as started.
    const ProcessControl proc(TestEnv::dir());
    proc.startDaemon();
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started tarnwick")));
    if (settings.contains("DynamicDesktop = true")) {
        proc.stopDaemon();
        QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("stopped tarnwick")));
        proc.startRotator();
        QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started morvessa")));
    }
    Stubs::clearLog(TestEnv::dir());

    click(button);
    if (!log.isEmpty())
        QVERIFY(Stubs::waitFor(TestEnv::dir(), log.last()));
    else
        QVERIFY(Stubs::followUp(TestEnv::dir()));
    // A stop also reaches a stand-in left running by an earlier row (its file replaced since):
    // each program counts once.
    QStringList logged = Stubs::log(TestEnv::dir());
    logged.removeDuplicates();
    QCOMPARE(logged, log);
    QCOMPARE(setting(QStringLiteral("DynamicDesktop")), dynamic);
    QCOMPARE(button->text(), caption);
    QCOMPARE(m_script->shownTexts(), notices);
    if (!notices.isEmpty())
        QCOMPARE(m_script->shown().first().type, wallpapers < 2 ? 1 : 0);
}

void TestEditing::idleClock_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QByteArray>("clock");   // the theme's SysTime group
    QTest::addColumn<QString>("notice");     // notice shown, empty for none
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("y");              // clock y the bottom padding is taken from
    QTest::addColumn<int>("size");           // the size written (and measured, at least 1)
    QTest::addColumn<bool>("blocked");       // a folder stands where phone_p.ini goes
    const QByteArray placed = "FontSize = 18\nFontColor_R = 255\nFontColor_G = 0\nFontColor_B = 10\n"
                              "Position_X = 100\nPosition_Y = 200\n";
    QTest::newRow("enabled") << true << "[SysTime]\nEnable = true\n" + placed
                             << en("RefreshSysTimeText2") << true << 200 << 18 << false;
    QTest::newRow("disabled: below the screen") << true << "[SysTime]\nEnable = false\n" + placed
                                                << en("RefreshSysTimeText2") << true << 400 << 18 << false;
    QTest::newRow("cancelled") << false << "[SysTime]\nEnable = true\n" + placed << "" << false << 0 << 18 << false;
    QTest::newRow("x 0") << true << QByteArray("[SysTime]\nEnable = true\nFontSize = 18\nPosition_X = 0\nPosition_Y = 5\n")
                         << en("RefreshSysTimeText1") << false << 0 << 18 << false;
    QTest::newRow("y -1") << true << QByteArray("[SysTime]\nEnable = true\nFontSize = 18\nFontColor_R = 255\nFontColor_G = 0\n"
                                                "FontColor_B = 10\nPosition_X = 100\nPosition_Y = -1\n")
                          << en("RefreshSysTimeText2") << true << -1 << 18 << false;
    QTest::newRow("no clock item: below the screen") << true << QByteArray("[Note]\nEnable = true\n")
                                                     << en("RefreshSysTimeText2") << true << 400 << -1 << false;
    // A folder in the place of phone_p.ini: nothing can be written there.
    QTest::newRow("settings file cannot be written")
        << true << "[SysTime]\nEnable = true\n" + placed
        << QStringLiteral("The phone's clock settings could not be written.") << false << 0 << 18 << true;
}

void TestEditing::idleClock()
{
    QFETCH(bool, accept);
    QFETCH(QByteArray, clock);
    QFETCH(QString, notice);
    QFETCH(bool, written);
    QFETCH(int, y);
    QFETCH(int, size);
    QFETCH(bool, blocked);
    prepare();
    TestEnv::writeFile(kTheme, clock);
    const QString ini = TestEnv::path(QStringLiteral("device/phone/phone_p.ini"));
    QFile::remove(ini);
    if (blocked)
        QVERIFY(QDir().mkpath(ini + QStringLiteral("/inside")));
    ZGui *gui = open();
    Stubs::install(TestEnv::dir(), QStringLiteral("phone"));
    ProcessControl(TestEnv::dir()).restartPhone(); // nothing of it runs yet
    QProcess::startDetached(TestEnv::dir() + QStringLiteral("phone"), {});
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started phone")));

    QString caution;
    m_script->expect([&](QWidget *w) {
        auto *ask = qobject_cast<ZMessageDlg *>(w);
        QVERIFY(ask);
        caution = ask->title();
        if (accept)
            phoneKey(ask, ZKey::Add);
        else
            phoneKey(ask, ZKey::Back);
    });
    // Options, down to "Apply the clock to the phone", select.
    phoneKey(gui, ZKey::Add);
    ZOptionsMenu *menu = gui->optionsMenu();
    QTRY_VERIFY(menu->isVisible());
    for (int i = 0; i < 10 && menu->activeAction() != menu->action(ZGui::MenuClock); ++i)
        phoneKey(menu, ZKey::Down);
    QCOMPARE(menu->activeAction(), menu->action(ZGui::MenuClock));
    phoneKey(menu, ZKey::Select);
    QTRY_COMPARE(caution, en("Caution"));
    QTRY_COMPARE(m_script->shown().size(), notice.isEmpty() ? 1 : 2);
    if (!notice.isEmpty()) {
        QCOMPARE(m_script->shown().at(1).text, notice);
        QCOMPARE(m_script->shown().at(1).type, written ? 0 : 1);
        QCOMPARE(m_script->shown().at(1).time, written ? 0 : 500);
    }
    QCOMPARE(QFileInfo(ini).isFile(), written);
    // A clock handed over is remembered: from now on it follows every change of the theme.
    QCOMPARE(setting(QStringLiteral("ClockFollowsTheme")), written ? QStringLiteral("true") : QStringLiteral("<none>"));
    if (!written) {
        QVERIFY(!Stubs::log(TestEnv::dir()).contains(QStringLiteral("stopped phone")));
        return;
    }
    QFont font(QStringLiteral("AMCSL"));
    font.setPointSize(qMax(1, size));
    const QFontMetrics fm(font);
    const ZConfig phone(ini);
    QCOMPARE(phone.readNumEntry(QStringLiteral("Idle"), QStringLiteral("Padding_Right"), -999), 240 - (clock.contains("Position_X") ? 100 : -1) - fm.horizontalAdvance(QStringLiteral("00:00")));
    QCOMPARE(phone.readNumEntry(QStringLiteral("Idle"), QStringLiteral("Padding_Bottom"), -999),
             320 - gui->softKeyBar()->height() - (y + fm.height()));
    QCOMPARE(gui->softKeyBar()->height(), ZSoftKey::BarHeight);
    QCOMPARE(phone.readNumEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Size"), 0), size);
    QCOMPARE(phone.readNumEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Color"), -1), size > 0 ? 16711690 : 0);
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("stopped phone")));
    QCOMPARE(gui->currentItemGroup(), QStringLiteral("SysTime"));
}

void TestEditing::themeChangeMovesClock_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("clock");   // the SysTime item of the theme chosen
    QTest::addColumn<bool>("handedOver");
    const QByteArray shown("Enable = true\nFontSize = 27\nFontColor_R = 10\nFontColor_G = 20\nFontColor_B = 30\n"
                           "Position_X = 50\nPosition_Y = 150\n");
    QTest::newRow("clock handed over before") << QByteArray("ClockFollowsTheme = true\n") << shown << true;
    QTest::newRow("never handed over") << QByteArray() << shown << false;
    QTest::newRow("theme without a visible clock: below the screen")
        << QByteArray("ClockFollowsTheme = true\n") << QByteArray(shown).replace("Enable = true", "Enable = false")
        << true;
}

void TestEditing::themeChangeMovesClock()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, clock);
    QFETCH(bool, handedOver);
    prepare(settings);
    TestEnv::writeFile(QStringLiteral("theme/Other.theme"), "[SysTime]\n" + clock);
    const QString ini = QStringLiteral("device/phone/phone_p.ini");
    const QByteArray before = TestEnv::readFile(ini);
    ZGui *gui = open();
    ZComboBox *themes = child<ZComboBox>(gui, "themeSelector");
    choose(themes, themes->findText(QStringLiteral("Other")));
    QCOMPARE(setting(QStringLiteral("CurrentTheme")), QStringLiteral("Other.theme"));
    if (!handedOver) {
        QCOMPARE(TestEnv::readFile(ini), before);
        QVERIFY(!Stubs::log(TestEnv::dir()).contains(QStringLiteral("stopped phone")));
        // Nor is the desktop drawn again: a redraw of the test's own comes first.
        QVERIFY(Stubs::followUp(TestEnv::dir()));
        QVERIFY(!Stubs::log(TestEnv::dir()).contains(QStringLiteral("started show")));
        return;
    }
    // The desktop is drawn again for the phone's new clock.
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started show")));
    const ZConfig phone(TestEnv::path(ini));
    QCOMPARE(phone.readNumEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Size"), -1), 27);
    QCOMPARE(phone.readNumEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Color"), -1), 0x0a141e);
    QVERIFY(gui->isVisible()); // choosing a theme does not end the program
}

namespace {
enum WriteAction { SwitchWeather, ChooseLanguage, ChangeInterval, StartEditing, SaveTheme, EditItem };
}

void TestEditing::failedWrite_data()
{
    // Each file's place is taken by a folder: the write fails, a notice says so, and the
    // window shows what is stored.
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("notice");
    QTest::newRow("settings: a switch") << "settings.ini" << int(SwitchWeather) << "SettingsFailedText";
    QTest::newRow("settings: the language") << "settings.ini" << int(ChooseLanguage) << "SettingsFailedText";
    QTest::newRow("rotator script: the interval") << "morvessa.lin" << int(ChangeInterval) << "ScriptFailedText";
    QTest::newRow("working copy: start editing") << "device/tmp/tmp.theme" << int(StartEditing) << "EditFailedText";
    QTest::newRow("theme: save") << "theme/Test.theme" << int(SaveTheme) << "ThemeSaveFailedText";
    QTest::newRow("working copy: an item") << "device/tmp/tmp.theme" << int(EditItem) << "ThemeWriteFailedText";
}

void TestEditing::failedWrite()
{
    QFETCH(QString, blocked);
    QFETCH(int, action);
    QFETCH(QString, notice);
    prepare("ChangeTime = 30\nWeatherShow = true\n");
    auto block = [&] {
        QFile::remove(TestEnv::path(blocked));
        QVERIFY(QDir().mkpath(TestEnv::path(blocked + QStringLiteral("/inside"))));
    };
    if (action != SaveTheme && action != EditItem)
        block();
    ZGui *gui = open();
    m_script->clear();

    switch (action) {
    case SwitchWeather: {
        ZCheckBox *box = child<ZCheckBox>(gui, "weatherBox");
        const bool was = box->isChecked(); // nothing can be read from a folder: unchecked
        click(box);
        QCOMPARE(box->isChecked(), was);
        break;
    }
    case ChooseLanguage: {
        ZComboBox *languages = child<ZComboBox>(gui, "languageSelector");
        choose(languages, languages->findText(QStringLiteral("简体中文")));
        flushDeletes();
        QCOMPARE(child<ZComboBox>(gui, "languageSelector")->currentText(), QStringLiteral("English"));
        QCOMPARE(gui->windowTitle(), en("Quillora"));
        break;
    }
    case ChangeInterval: {
        ZNumPicker *interval = child<ZNumPicker>(gui, "intervalPicker");
        interval->setValue(45);
        QCOMPARE(interval->value(), 30);
        QCOMPARE(setting(QStringLiteral("ChangeTime")), QStringLiteral("30"));
        break;
    }
    case StartEditing:
        gui->editMenu()->activateItem(ZGui::EditStart);
        QVERIFY(!gui->tabWidget()->isTabEnabled(ZGui::TabItems));
        QVERIFY(child<ZComboBox>(gui, "themeSelector")->isEnabled());
        break;
    case SaveTheme:
        gui->editMenu()->activateItem(ZGui::EditStart);
        child<ZNumPicker>(gui, "sizePicker")->setValue(60);
        block();
        m_script->clear();
        gui->editMenu()->activateItem(ZGui::EditSave);
        QVERIFY(QDir(TestEnv::path(blocked)).entryList(QDir::Files).isEmpty()); // no copy inside the folder
        break;
    case EditItem:
        gui->editMenu()->activateItem(ZGui::EditStart);
        block();
        m_script->clear();
        child<ZNumPicker>(gui, "sizePicker")->setValue(60);
        QCOMPARE(themeEntry(kTheme, QStringLiteral("SysTime"), QStringLiteral("FontSize")), QStringLiteral("18"));
        break;
    }
    QCOMPARE(m_script->shownTexts(), QStringList({en(notice.toLatin1().constData())}));
    QCOMPARE(m_script->shown().first().type, 1);
}

namespace {
enum Leave { BackKey, ExitMenu, LanguageChange, EditAgain, EndEdit };
}

void TestEditing::unsavedEdits_data()
{
    QTest::addColumn<int>("leave");
    QTest::addColumn<bool>("changed");  // the item editor changed the working copy
    QTest::addColumn<bool>("drop");     // the answer to the question
    const QList<QPair<const char *, Leave>> ways = {
        {"back", BackKey}, {"exit", ExitMenu}, {"language", LanguageChange}, {"edit again", EditAgain},
        {"end editing", EndEdit}};
    for (const auto &way : ways) {
        QTest::addRow("%s, kept", way.first) << int(way.second) << true << false;
        QTest::addRow("%s, dropped", way.first) << int(way.second) << true << true;
        QTest::addRow("%s, nothing changed", way.first) << int(way.second) << false << true;
    }
}

void TestEditing::unsavedEdits()
{
    QFETCH(int, leave);
    QFETCH(bool, changed);
    QFETCH(bool, drop);
    prepare();
    ZGui *gui = open();
    gui->editMenu()->activateItem(ZGui::EditStart);
    if (changed)
        child<ZNumPicker>(gui, "sizePicker")->setValue(60);
    const QByteArray edited = TestEnv::readFile(kTmp);
    m_script->clear();
    Stubs::clearLog(TestEnv::dir());
    QString question;
    m_script->expect([&](QWidget *w) {
        auto *ask = qobject_cast<ZMessageDlg *>(w);
        QVERIFY(ask);
        question = ask->text();
        phoneKey(ask, drop ? ZKey::Add : ZKey::Back);
    });

    switch (leave) {
    case BackKey:
        phoneKey(gui, ZKey::Back);
        break;
    case ExitMenu:
        gui->optionsMenu()->activateItem(ZGui::MenuExit);
        break;
    case LanguageChange: {
        ZComboBox *languages = child<ZComboBox>(gui, "languageSelector");
        choose(languages, languages->findText(QStringLiteral("简体中文")));
        flushDeletes();
        break;
    }
    case EditAgain:
        gui->editMenu()->activateItem(ZGui::EditStart);
        break;
    case EndEdit:
        gui->editMenu()->activateItem(ZGui::EditEnd);
        break;
    }
    QCOMPARE(question, changed ? en("UnsavedEditsText") : QString());
    const bool left = drop || !changed;
    if (leave == BackKey)
        QCOMPARE(gui->isVisible(), !left);
    if (leave == LanguageChange)
        QCOMPARE(setting(QStringLiteral("Language")), left ? QStringLiteral("简体中文.lng") : QStringLiteral("English.lng"));
    if (!left) {
        // Still editing, the edits where they were.
        QCOMPARE(TestEnv::readFile(kTmp), edited);
        QVERIFY(gui->tabWidget()->isTabEnabled(ZGui::TabItems));
        QCOMPARE(child<ZNumPicker>(gui, "sizePicker")->value(), 60);
        QVERIFY(Stubs::log(TestEnv::dir()).isEmpty());
        return;
    }
    // Dropped means gone: the working copy holds no edit any more, and the desktop, which drew
    // it, is drawn again.
    if (leave == EditAgain)
        QCOMPARE(TestEnv::readFile(kTmp), testTheme());
    else
        QVERIFY(!QFileInfo::exists(ZGui::workingCopy()));
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started show")));
}

QUILLORA_TEST_MAIN(TestEditing)
#include "tst_editing.moc"
