// The wallpaper manager and the reorder dialog, driven with keys in a private program directory.
#include "checkimg.h"
#include "filebrowser.h"
#include "reorderdlg.h"
#include "setuptheme.h"
#include "wallpaperlist.h"
#include "wallpapermng.h"
#include "wallpapertesthelpers.h"
#include "zconfig.h"
#include "zfileopendialog.h"
#include "zlistbox.h"
#include "znoticedlg.h"
#include "zmessagedlg.h"
#include "znoticedlg.h"
#include "zoptionsmenu.h"
#include "zsoftkey.h"

#include <QLabel>
#include <QProcess>
#include <memory>

using namespace WallpaperTest;

class TestWallpaperMng : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void rowsShowNameAndPath();
    void thumbnailsArriveWithFallback();
    void addFromPicker();
    void pickerNotAcceptedAddsNothing();
    void pickerRefusesControlCharacters_data();
    void pickerRefusesControlCharacters();
    void removeCurrent_data();
    void removeCurrent();
    void failedRemoveShowsStoredList();
    void removeDuplicatePathRebuildsRows();
    void multiRemove_data();
    void multiRemove();
    void cancelRemoveKeepsFile();
    void setAsWallpaper();
    void viewAndEmptyList_data();
    void viewAndEmptyList();
    void navigation_data();
    void navigation();
    void reorderSequences_data();
    void reorderSequences();
    void reorderNeedsTwoEntries();
    void menuKeyOpensOptions();
    void editedListMovesWithTheProgramDirectory();

private:
    std::unique_ptr<WallpaperMng> open();
    void writeList(const QStringList &names);
    QString pic(const QString &name) const { return m_pics.value(name); }
    QStringList rowNames(ZListBox *box) const;

    std::unique_ptr<ZConfig> m_lang;
    QMap<QString, QString> m_pics;
};

void TestWallpaperMng::initTestCase()
{
    m_lang = std::make_unique<ZConfig>(TestEnv::path(QStringLiteral("resource/language/English.lng")));
    const QList<QPair<QString, QColor>> pics = {
        {QStringLiteral("X"), Qt::red}, {QStringLiteral("Y"), Qt::green}, {QStringLiteral("Z"), Qt::blue}, {QStringLiteral("W"), Qt::yellow}};
    for (const auto &p : pics)
        m_pics[p.first] = makeImage(QStringLiteral("pics/%1.png").arg(p.first), QSize(240, 320), p.second);
}

void TestWallpaperMng::init()
{
    TestEnv::removeFile(QStringLiteral("wallpaper.list"));
}

void TestWallpaperMng::writeList(const QStringList &names)
{
    QByteArray bytes;
    for (const QString &n : names)
        bytes += (m_pics.contains(n) ? m_pics.value(n) : n).toUtf8() + '\n';
    TestEnv::writeFile(QStringLiteral("wallpaper.list"), bytes);
}

std::unique_ptr<WallpaperMng> TestWallpaperMng::open()
{
    auto mng = std::make_unique<WallpaperMng>(m_lang.get());
    mng->show();
    return mng;
}

QStringList TestWallpaperMng::rowNames(ZListBox *box) const
{
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names << box->item(i)->subItemText(1, 0).remove(ReorderDlg::grabMarker()).section(QLatin1Char('.'), 0, 0);
    return names;
}

static QString listNames()
{
    QStringList names;
    for (const QByteArray &line : TestEnv::readFile(QStringLiteral("wallpaper.list")).split('\n'))
        names << QString::fromUtf8(line).section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
    return names.join(QLatin1Char(','));
}

static QString listNamesOf(const QStringList &paths)
{
    QString names;
    for (const QString &p : paths)
        names += p.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0) + QLatin1Char(',');
    return names;
}

void TestWallpaperMng::rowsShowNameAndPath()
{
    writeList({QStringLiteral("X"), QStringLiteral("plainname.png"), QStringLiteral("Y")});
    auto mng = open();
    ZListBox *box = mng->listBox();
    QCOMPARE(box->count(), 3);
    QCOMPARE(box->item(0)->format(), QStringLiteral("%I%M"));
    QCOMPARE(box->item(0)->subItemText(1, 0), QStringLiteral("X.png"));
    QCOMPARE(box->item(0)->subItemText(1, 1), pic(QStringLiteral("X")));
    QCOMPARE(box->item(1)->subItemText(1, 0), QStringLiteral("plainname.png"));
    // A relative entry names a file of the program directory.
    QCOMPARE(box->item(1)->subItemText(1, 1), TestEnv::path(QStringLiteral("plainname.png")));
    QCOMPARE(box->currentItem(), 0);
    QCOMPARE(mng->windowTitle(), text("WallpaperListMng"));
    QCOMPARE(mng->softKeyBar()->text(ZSoftKey::LEFT), text("Options"));
    QCOMPARE(mng->softKeyBar()->text(ZSoftKey::RIGHT), text("Back"));
    QCOMPARE(mng->optionsMenu()->count(), 7);
    QCOMPARE(mng->optionsMenu()->text(5), QStringLiteral("  ") + text("SetAsWallpaper"));
}

void TestWallpaperMng::thumbnailsArriveWithFallback()
{
    ThumbnailLoader::clearCache();
    TestEnv::writeFile(QStringLiteral("pics/broken.png"), "no picture here");
    writeList({QStringLiteral("X"), TestEnv::path(QStringLiteral("pics/broken.png")), QStringLiteral("Z")});
    auto mng = open();
    if (!mng->thumbnails()->isIdle())
        QVERIFY(QSignalSpy(mng->thumbnails(), &ThumbnailLoader::idle).wait(5000));
    ZListBox *box = mng->listBox();
    const QImage x = box->item(0)->pixmap(0).toImage();
    QCOMPARE(x.size(), QSize(32, 43));
    QCOMPARE(QColor(x.pixel(16, 20)), QColor(Qt::red));
    QCOMPARE(QColor(box->item(2)->pixmap(0).toImage().pixel(16, 20)), QColor(Qt::blue));
    // The unloadable entry keeps its row with the fixed picture for a missing image, not the
    // thumbnail of a neighbour.
    QCOMPARE(box->item(1)->subItemText(1, 0), QStringLiteral("broken.png"));
    QCOMPARE(box->item(1)->pixmap(0).toImage(), mng->thumbnails()->fallback().toImage());
}

void TestWallpaperMng::addFromPicker()
{
    makeImage(QStringLiteral("add/b.png"), QSize(20, 30), Qt::cyan);
    makeImage(QStringLiteral("add/a.png"), QSize(20, 30), Qt::magenta);
    makeImage(QStringLiteral("add/c.png"), QSize(20, 30), Qt::gray);
    const QString folder = QDir(TestEnv::path(QStringLiteral("add"))).canonicalPath();
    TestEnv::removeFile(QStringLiteral("settings.ini")); // the first change writes the whole file
    auto mng = open();
    QCOMPARE(mng->listBox()->count(), 0);

    {
        OnDialog answer([&](QWidget *dlg) {
            auto *picker = qobject_cast<ZFileOpenDialog *>(dlg);
            QVERIFY(picker);
            FileBrowser *browser = picker->browser();
            browser->setDir(folder);
            // Rows: "..", a.png, b.png, c.png. Check c.png then a.png; the list keeps row order.
            press(browser, '8');
            press(browser, '8');
            press(browser, '8');
            press(browser, '5');
            press(browser, '2');
            press(browser, '2');
            press(browser, '5');
            picker->softKeyBar()->click(ZSoftKey::RIGHT);
        });
        press(mng->listBox(), 4144);
        QCOMPARE(answer.shown, 1);
        // Files and folders of the program directory are stored relative to it.
        QCOMPARE(TestEnv::readFile(QStringLiteral("wallpaper.list")), QByteArray("add/a.png\nadd/c.png\n"));
        QCOMPARE(rowNames(mng->listBox()), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
        QCOMPARE(TestEnv::readFile(QStringLiteral("settings.ini")),
                 TestEnv::readFile(QStringLiteral("resource/defaults.ini")) + "OpenFilePath = add\n");
    }

    // Adding again appends, duplicates included.
    OnDialog again([&](QWidget *dlg) {
        auto *picker = qobject_cast<ZFileOpenDialog *>(dlg);
        QCOMPARE(picker->browser()->currentDir(), folder); // the folder confirmed last
        picker->browser()->checkItem(1, true);
        picker->add();
    });
    mng->optionsMenu()->activateItem(1);
    QCOMPARE(listNames(), QStringLiteral("a,c,a,"));
}

void TestWallpaperMng::pickerRefusesControlCharacters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("line break") << QStringLiteral("two\nlines.png") << QStringLiteral("two?lines.png");
    QTest::newRow("tab") << QStringLiteral("tab\there.png") << QStringLiteral("tab?here.png");
    QTest::newRow("carriage return") << QStringLiteral("cr\r.png") << QStringLiteral("cr?.png");
}

void TestWallpaperMng::pickerRefusesControlCharacters()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    const QString folderName = QStringLiteral("odd%1").arg(QLatin1String(QTest::currentDataTag())).remove(QLatin1Char(' '));
    makeImage(folderName + QStringLiteral("/good.png"), QSize(20, 30), Qt::cyan);
    makeImage(folderName + QLatin1Char('/') + name, QSize(20, 30), Qt::magenta);
    const QString folder = QDir(TestEnv::path(folderName)).canonicalPath();
    writeList({QStringLiteral("X")});
    auto mng = open();

    QStringList notices;
    OnDialog answer([&](QWidget *dlg) {
        if (auto *notice = qobject_cast<ZNoticeDlg *>(dlg)) {
            notices << notice->text();
            notice->accept();
            return;
        }
        auto *picker = qobject_cast<ZFileOpenDialog *>(dlg);
        QVERIFY(picker);
        picker->browser()->setDir(folder);
        picker->selectAll();
        picker->softKeyBar()->click(ZSoftKey::RIGHT);
    });
    press(mng->listBox(), 4144);
    QCOMPARE(notices, QStringList{text("BadFileNameText").arg(shown)});
    QCOMPARE(TestEnv::readFile(QStringLiteral("wallpaper.list")), (QStringLiteral("pics/X.png\n") + folderName + QStringLiteral("/good.png\n")).toUtf8());
    QCOMPARE(rowNames(mng->listBox()), (QStringList{QStringLiteral("X"), QStringLiteral("good")}));
}

void TestWallpaperMng::pickerNotAcceptedAddsNothing()
{
    writeList({QStringLiteral("X")});
    const QByteArray before = TestEnv::readFile(QStringLiteral("wallpaper.list"));
    auto mng = open();
    OnDialog answer([&](QWidget *dlg) {
        auto *picker = qobject_cast<ZFileOpenDialog *>(dlg);
        picker->browser()->setDir(TestEnv::path(QStringLiteral("pics")));
        picker->browser()->checkItem(1, true);
        press(picker->browser(), 4145);
    });
    mng->add();
    QCOMPARE(answer.shown, 1);
    QCOMPARE(TestEnv::readFile(QStringLiteral("wallpaper.list")), before);
    QCOMPARE(mng->listBox()->count(), 1);
}

void TestWallpaperMng::removeCurrent_data()
{
    QTest::addColumn<int>("answer"); // the key that answers the question
    QTest::addColumn<QStringList>("after");
    QTest::newRow("confirmed with select") << int(Qt::Key_Return) << QStringList{QStringLiteral("X"), QStringLiteral("Z")};
    QTest::newRow("cancelled with back") << int(Qt::Key_Escape) << QStringList{QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")};
}

void TestWallpaperMng::removeCurrent()
{
    QFETCH(int, answer);
    QFETCH(QStringList, after);
    writeList({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")});
    auto mng = open();
    press(mng->listBox(), '8');
    QString asked;
    OnDialog question([&](QWidget *dlg) {
        auto *ask = qobject_cast<ZMessageDlg *>(dlg);
        QVERIFY(ask);
        asked = ask->text();
        press(dlg, answer);
    });
    press(mng->listBox(), int(Qt::Key_Delete));
    QCOMPARE(question.shown, 1);
    QCOMPARE(asked, text("RemoveText").arg(WallpaperList::fileNameOf(pic(QStringLiteral("Y")))));
    QStringList paths;
    QByteArray lines; // a rewritten list names the pictures of the program directory relative to it
    for (const QString &name : after) {
        paths << pic(name);
        lines += "pics/" + name.toUtf8() + ".png\n";
    }
    if (answer == Qt::Key_Escape)
        lines = (paths.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(); // not rewritten
    QCOMPARE(TestEnv::readFile(QStringLiteral("wallpaper.list")), lines);
    QCOMPARE(rowNames(mng->listBox()), after);
    QCOMPARE(mng->wallpaperList(), paths);
}

// A removal that cannot be stored is told, and the rows show the list as the file holds it.
void TestWallpaperMng::failedRemoveShowsStoredList()
{
    writeList({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")});
    auto mng = open();
    // Between opening and removing, another program leaves a folder in the list's place.
    TestEnv::removeFile(QStringLiteral("wallpaper.list"));
    QVERIFY(QDir().mkdir(TestEnv::path(QStringLiteral("wallpaper.list"))));
    QStringList texts;
    OnDialog answer([&](QWidget *dlg) {
        if (auto *notice = qobject_cast<ZNoticeDlg *>(dlg))
            texts << notice->text();
        static_cast<QDialog *>(dlg)->accept();
    });
    press(mng->listBox(), int(Qt::Key_Delete));
    QVERIFY(QDir().rmdir(TestEnv::path(QStringLiteral("wallpaper.list"))));
    QCOMPARE(texts, QStringList{text("WallpaperSaveFailedText")});
    QCOMPARE(mng->wallpaperList(), QStringList());
    QCOMPARE(mng->listBox()->count(), 0);
}

void TestWallpaperMng::removeDuplicatePathRebuildsRows()
{
    writeList({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("X"), QStringLiteral("Z")});
    auto mng = open();
    OnDialog question([](QWidget *dlg) { static_cast<QDialog *>(dlg)->accept(); });
    mng->optionsMenu()->activateItem(2); // Remove, on row 0
    QCOMPARE(question.shown, 1);
    QCOMPARE(listNames(), QStringLiteral("Y,Z,"));
    // Every copy left the list, and the rows show the list again.
    QCOMPARE(rowNames(mng->listBox()), (QStringList{QStringLiteral("Y"), QStringLiteral("Z")}));
    QCOMPARE(mng->listBox()->currentItem(), 0);
}

void TestWallpaperMng::multiRemove_data()
{
    QTest::addColumn<bool>("bySoftKey");
    QTest::newRow("key 4146") << false;
    QTest::newRow("right soft key") << true;
}

void TestWallpaperMng::multiRemove()
{
    QFETCH(bool, bySoftKey);
    writeList({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z"), QStringLiteral("W")});
    auto mng = open();
    ZListBox *box = mng->listBox();
    mng->optionsMenu()->activateItem(4); // MultiSelect
    QVERIFY(mng->removeMode());
    QCOMPARE(box->item(0)->format(), QStringLiteral("%C%M"));
    QVERIFY(!box->item(0)->pixmap(0).isNull());
    QCOMPARE(mng->softKeyBar()->text(ZSoftKey::RIGHT), text("Remove"));
    QCOMPARE(mng->optionsMenu()->count(), 3);

    press(box, 4100); // select toggles row 0; in remove mode nothing opens
    press(box, '8');
    press(box, '8');
    press(box, 4100);
    QVERIFY(box->itemChecked(0) && !box->itemChecked(1) && box->itemChecked(2));
    QString asked;
    OnDialog question([&](QWidget *dlg) {
        asked = static_cast<ZMessageDlg *>(dlg)->text();
        static_cast<QDialog *>(dlg)->accept();
    });
    if (bySoftKey)
        mng->softKeyBar()->click(ZSoftKey::RIGHT);
    else
        press(box, 4146); // the checked rows go, not the current one
    QCOMPARE(asked, text("RemoveManyText").arg(2));
    QCOMPARE(listNames(), QStringLiteral("Y,W,"));
    QVERIFY(!mng->removeMode());
    QCOMPARE(rowNames(box), (QStringList{QStringLiteral("Y"), QStringLiteral("W")}));
    QCOMPARE(box->item(0)->format(), QStringLiteral("%I%M"));
    QCOMPARE(mng->softKeyBar()->text(ZSoftKey::RIGHT), text("Back"));
}

void TestWallpaperMng::cancelRemoveKeepsFile()
{
    writeList({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")});
    const QByteArray before = TestEnv::readFile(QStringLiteral("wallpaper.list"));
    auto mng = open();
    mng->multiSelect();
    mng->selectAll();
    for (int i = 0; i < 3; ++i)
        QVERIFY(mng->listBox()->itemChecked(i));
    mng->selectNone();
    QVERIFY(!mng->listBox()->itemChecked(1));
    mng->selectAll();
    mng->optionsMenu()->activateItem(2); // CancelRemove
    QVERIFY(!mng->removeMode());
    QCOMPARE(TestEnv::readFile(QStringLiteral("wallpaper.list")), before);
    QCOMPARE(mng->listBox()->item(0)->format(), QStringLiteral("%I%M"));
    QCOMPARE(mng->softKeyBar()->text(ZSoftKey::RIGHT), text("Back"));
    QCOMPARE(mng->optionsMenu()->count(), 7);
}

void TestWallpaperMng::setAsWallpaper()
{
    const QString spaced = makeImage(QStringLiteral("pics/sea side.png"), QSize(24, 32), Qt::darkBlue);
    writeList({QStringLiteral("X"), spaced});
    TestEnv::removeFile(QStringLiteral("settings.ini")); // the first change writes the whole file
    auto mng = open();
    press(mng->listBox(), '8');
    QString noticeText;
    OnDialog answer([&](QWidget *dlg) {
        auto *notice = qobject_cast<ZNoticeDlg *>(dlg);
        QVERIFY(notice);
        QCOMPARE(notice->noticeType(), 0);
        QCOMPARE(notice->timeValue(), 0);
        noticeText = notice->text();
        notice->accept();
    });
    mng->optionsMenu()->activateItem(5);
    QCOMPARE(answer.shown, 1);
    QCOMPARE(noticeText, text("SetAsWallpaperText").arg(spaced));
    QCOMPARE(SETUP_THEME::getThemeValue(9), spaced);
    QCOMPARE(ZConfig(SETUP_THEME::settingsFile()).readEntry(QStringLiteral("SETUP_THEME"), QStringLiteral("9")),
             QStringLiteral("pics/sea side.png"));
    QCOMPARE(TestEnv::readFile(QStringLiteral("settings.ini")),
             TestEnv::readFile(QStringLiteral("resource/defaults.ini")) + "WallpaperPath = pics/sea side.png\n");
    QVERIFY(!QFile::exists(TestEnv::path(QStringLiteral("device/idle/desktop.png"))));
}

void TestWallpaperMng::viewAndEmptyList_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("viewed");
    QTest::newRow("key 5 views the current entry") << QStringList{QStringLiteral("X"), QStringLiteral("Y")} << int('5') << "Y";
    QTest::newRow("select views the current entry") << QStringList{QStringLiteral("X"), QStringLiteral("Y")} << 4100 << "Y";
    QTest::newRow("key 5 on an empty list") << QStringList{} << int('5') << "";
    QTest::newRow("remove on an empty list") << QStringList{} << 4146 << "";
}

void TestWallpaperMng::viewAndEmptyList()
{
    QFETCH(QStringList, entries);
    QFETCH(int, key);
    QFETCH(QString, viewed);
    writeList(entries);
    auto mng = open();
    if (!entries.isEmpty())
        press(mng->listBox(), '8');
    QString shownPath;
    OnDialog answer([&](QWidget *dlg) {
        auto *viewer = qobject_cast<CheckImg *>(dlg);
        QVERIFY(viewer);
        shownPath = viewer->pathLabel()->text();
        press(viewer, 4145);
    });
    press(mng->listBox(), key);
    if (!viewed.isEmpty())
        QVERIFY(shownPath.contains(pic(viewed)));
    // Nothing on an empty list: no file appears, remove mode cannot be entered, nothing is set.
    if (entries.isEmpty()) {
        mng->multiSelect();
        QVERIFY(!mng->removeMode());
        mng->set();
        mng->check();
        QCOMPARE(TestEnv::readFile(QStringLiteral("wallpaper.list")), QByteArray());
    }
    QCOMPARE(answer.shown, viewed.isEmpty() ? 0 : 1);
    QVERIFY(mng->isVisible());
}

void TestWallpaperMng::navigation_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("row"); // -1: the last row; -2: a row a page down, shown whole

    QTest::newRow("2 wraps to the last row") << QList<int>{'2'} << -1;
    QTest::newRow("up arrow wraps") << QList<int>{4115} << -1;
    QTest::newRow("8 from the last row wraps to 0") << QList<int>{'2', '8'} << 0;
    QTest::newRow("down arrow") << QList<int>{4117, 4117} << 2;
    QTest::newRow("keyboard down") << QList<int>{Qt::Key_Down, Qt::Key_Down} << 2;
    QTest::newRow("keyboard up wraps") << QList<int>{Qt::Key_Up} << -1;
    QTest::newRow("4 from row 1 goes to 0") << QList<int>{'8', '4'} << 0;
    QTest::newRow("page down") << QList<int>{'6'} << -2;
    QTest::newRow("page down and up") << QList<int>{'6', 4114} << 0;
    QTest::newRow("page down near the end") << QList<int>{'2', '2', 4116} << -1;
}

void TestWallpaperMng::navigation()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, row);
    QStringList entries;
    for (int i = 0; i < 20; ++i)
        entries << QStringLiteral("/nowhere/%1.png").arg(i);
    writeList(entries);
    auto mng = open();
    QVERIFY(QTest::qWaitForWindowExposed(mng.get()));
    ZListBox *box = mng->listBox();
    for (int key : keys)
        press(box, key);
    if (row == -1) {
        QCOMPARE(box->currentItem(), 19);
    } else if (row == -2) {
        const int visible = box->numItemsVisible();
        QVERIFY(visible >= 3);
        QVERIFY(box->currentItem() >= visible - 2 && box->currentItem() < 19);
        QVERIFY(box->itemVisible(box->currentItem()));
    } else {
        QCOMPARE(box->currentItem(), row);
    }
}

void TestWallpaperMng::reorderSequences_data()
{
    // Steps in the reorder dialog: G / I the left soft key (Grab, Insert), C / B the right soft
    // key (Cancel, Back), K key 4145, D / U arrow down / up, 8 and 5 the digit keys.
    QTest::addColumn<int>("startRow");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("current");

    QTest::newRow("grab, down twice, insert, back") << 0 << "GDDIB" << "Y,Z,X," << 2;
    QTest::newRow("cancel puts the order back") << 0 << "GDCB" << "X,Y,Z," << 1;
    QTest::newRow("cancel keeps the first insert") << 0 << "GDIGDCB" << "Y,X,Z," << 2;
    QTest::newRow("4145 while grabbed keeps the moves") << 0 << "GDK" << "Y,X,Z," << 1;
    QTest::newRow("select toggles grab and insert") << 0 << "5D5B" << "Y,X,Z," << 1;
    QTest::newRow("digit 8 carries the entry") << 1 << "G8IB" << "X,Z,Y," << 2;
    QTest::newRow("carried up") << 2 << "GUUIB" << "Z,X,Y," << 0;
    QTest::newRow("moves without grab change nothing") << 0 << "DDUB" << "X,Y,Z," << 1;
    QTest::newRow("wrap from the last row") << 2 << "GDIB" << "Z,Y,X," << 0;
}

void TestWallpaperMng::reorderSequences()
{
    QFETCH(int, startRow);
    QFETCH(QString, steps);
    QFETCH(QString, file);
    QFETCH(int, current);
    writeList({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")});
    auto mng = open();
    mng->listBox()->setCurrentItem(startRow);

    QStringList rowsAtClose;
    OnDialog answer([&](QWidget *dlg) {
        auto *reorder = qobject_cast<ReorderDlg *>(dlg);
        QVERIFY(reorder);
        QCOMPARE(reorder->listBox()->currentItem(), startRow);
        ZListBox *box = reorder->listBox();
        for (const QChar step : steps) {
            switch (step.toLatin1()) {
            case 'G':
            case 'I': reorder->softKeyBar()->click(ZSoftKey::LEFT); break;
            case 'C':
            case 'B':
                rowsAtClose = rowNames(box);
                reorder->softKeyBar()->click(ZSoftKey::RIGHT);
                break;
            case 'K':
                rowsAtClose = rowNames(box);
                press(box, 4145);
                break;
            case 'D': press(box, 4117); break;
            case 'U': press(box, 4115); break;
            default: press(box, step.toLatin1()); break;
            }
            // The rows show the dialog's list after every step, and the carried row alone
            // is marked while it is carried.
            QCOMPARE(rowNames(box).join(QLatin1Char(',')) + QLatin1Char(','),
                     listNamesOf(reorder->getList()));
            if (!reorder->isVisible())
                continue;
            QList<int> marked;
            for (int i = 0; i < box->count(); ++i) {
                if (box->item(i)->subItemText(1, 0).startsWith(ReorderDlg::grabMarker()))
                    marked << i;
            }
            QCOMPARE(marked, reorder->grabMode() ? QList<int>{box->currentItem()} : QList<int>());
        }
    });
    mng->optionsMenu()->activateItem(3);
    QCOMPARE(answer.shown, 1);
    QCOMPARE(listNames(), file);
    QCOMPARE(rowNames(mng->listBox()).join(QLatin1Char(',')) + QLatin1Char(','), file);
    QCOMPARE(mng->listBox()->currentItem(), current);
}

void TestWallpaperMng::reorderNeedsTwoEntries()
{
    writeList({QStringLiteral("X")});
    auto mng = open();
    OnDialog answer([](QWidget *dlg) { dlg->close(); });
    mng->reorder();
    QCOMPARE(answer.shown, 0);
    mng.reset();

    writeList({QStringLiteral("X"), QStringLiteral("Y")});
    mng = open();
    OnDialog answer2([](QWidget *dlg) {
        auto *reorder = qobject_cast<ReorderDlg *>(dlg);
        QCOMPARE(reorder->windowTitle(), text("Reorder"));
        QCOMPARE(reorder->softKeyBar()->text(ZSoftKey::LEFT), text("Grab"));
        reorder->reorder();
        QCOMPARE(reorder->softKeyBar()->text(ZSoftKey::LEFT), text("Insert"));
        QCOMPARE(reorder->softKeyBar()->text(ZSoftKey::RIGHT), text("Cancel"));
        press(reorder->listBox(), 4117);
        press(reorder->listBox(), 4145);
    });
    mng->reorder();
    QCOMPARE(answer2.shown, 1);
    QCOMPARE(listNames(), QStringLiteral("Y,X,"));
}

void TestWallpaperMng::menuKeyOpensOptions()
{
    // F1 adds here; the keyboard's Menu key still reaches the options (reorder, set, ...).
    writeList({QStringLiteral("X"), QStringLiteral("Y")});
    auto mng = open();
    press(mng->listBox(), int(Qt::Key_Menu));
    QTRY_VERIFY(mng->optionsMenu()->isVisible());
    mng->optionsMenu()->close();
}

// The list edited by keys, the program directory then copied and the original gone: the copy's
// show and rotator draw the copy's pictures.
void TestWallpaperMng::editedListMovesWithTheProgramDirectory()
{
    writeList({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")}); // absolute, as an older manager wrote them
    {
        auto mng = open();
        OnDialog confirm([](QWidget *dlg) { press(dlg, int(Qt::Key_Return)); });
        press(mng->listBox(), int(Qt::Key_Delete)); // X
        press(mng->listBox(), '8');
        press(mng->listBox(), int(Qt::Key_Menu));
        QTRY_VERIFY(mng->optionsMenu()->isVisible());
        for (int i = 0; i < 5; ++i) // from the first entry down to "Set as wallpaper"
            press(mng->optionsMenu(), int(Qt::Key_Down));
        press(mng->optionsMenu(), int(Qt::Key_Return));
        QTRY_COMPARE(confirm.shown, 2);
    }
    QCOMPARE(TestEnv::readFile(QStringLiteral("wallpaper.list")), QByteArray("pics/Y.png\npics/Z.png\n"));

    TestEnv::installProgram(QStringLiteral("show"));
    TestEnv::installProgram(QStringLiteral("morvessa"));
    QTemporaryDir elsewhere;
    const QString copy = elsewhere.path() + QStringLiteral("/phone/");
    QCOMPARE(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), TestEnv::dir(), copy}), 0);
    QDir(copy + QStringLiteral("device/run")).removeRecursively();
    QFile::remove(copy + QStringLiteral("device/idle/focus")); // the idle screen in front
    ZConfig settings(copy + QStringLiteral("settings.ini"));
    // No theme: the desktop is the wallpaper alone. The rotator steps every second and redraws.
    QVERIFY(settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("CurrentTheme"), QString())
            && settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("ChangeTime"), 1)
            && settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("ChangeMode"), 0)
            && settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("Refresh"), true));
    // The original is gone while the copy runs.
    // It waits inside the temporary folder of the copy, so nothing is left elsewhere.
    const QString original = QDir::cleanPath(TestEnv::dir());
    const QString gone = elsewhere.path() + QStringLiteral("/gone");
    QVERIFY(QDir().rename(original, gone));
    struct Restore {
        QString from, to;
        ~Restore() { QDir().rename(from, to); }
    } restore{gone, original};

    const QString desktop = copy + QStringLiteral("device/idle/desktop.png");
    const auto colourOf = [&] {
        const QImage drawn(desktop);
        return drawn.size() == QSize(240, 320) && drawn.pixelColor(0, 0) == drawn.pixelColor(239, 319)
                   ? drawn.pixelColor(120, 160) : QColor();
    };
    QCOMPARE(QProcess::execute(copy + QStringLiteral("show"), {}), 0);
    QCOMPARE(colourOf(), QColor(Qt::blue)); // Z, set as wallpaper

    QProcess rotator;
    rotator.setProcessChannelMode(QProcess::ForwardedChannels);
    rotator.start(copy + QStringLiteral("morvessa"), {});
    QVERIFY(rotator.waitForStarted(5000));
    QTRY_COMPARE_WITH_TIMEOUT(colourOf(), QColor(Qt::green), 30000); // Y, the first of the list
    TestEnv::killWithChildren(rotator);
    QCOMPARE(ZConfig(copy + QStringLiteral("device/setup.ini")).readEntry(QStringLiteral("SETUP_THEME"), QStringLiteral("9")),
             QStringLiteral("pics/Y.png"));
}

QUILLORA_TEST_MAIN(TestWallpaperMng)
#include "tst_wallpapermng.moc"
