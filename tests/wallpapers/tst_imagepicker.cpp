// The image picker and the image viewer, driven with keys in a private program directory.
#include "checkimg.h"
#include "filebrowser.h"
#include "folderlisting.h"
#include "resiconreader.h"
#include "wallpapertesthelpers.h"
#include "zconfig.h"
#include "zfileopendialog.h"
#include "zoptionsmenu.h"
#include "zsoftkey.h"

#include <QLabel>
#include <QTextDocument>
#include <memory>

using namespace WallpaperTest;

class TestImagePicker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void listingOrderAndRows();
    void hiddenNamesAndUnloadableImages();
    void rootFolder();
    void foldersAndParentRow();
    void twoCheckedImagesCanonicalFolder();
    void storageRootsOnKey3();
    void closingKeys_data();
    void closingKeys();
    void goUpKey();
    void highlightSignals();
    void checkEntry_data();
    void checkEntry();
    void selectAllAndNone();
    void rememberedFolder();

    void viewerHeight_data();
    void viewerHeight();
    void viewerPathIsText();
    void viewerKeys_data();
    void viewerKeys();

private:
    std::unique_ptr<ZFileOpenDialog> picker();
    static QStringList rowTexts(ZListBox *box);

    std::unique_ptr<ZConfig> m_lang;
    QString m_pick;
};

void TestImagePicker::initTestCase()
{
    m_lang = std::make_unique<ZConfig>(TestEnv::path(QStringLiteral("resource/language/English.lng")));
    makeImage(QStringLiteral("pick/a.png"), QSize(40, 30), Qt::red);
    makeImage(QStringLiteral("pick/B.jpg"), QSize(40, 30), Qt::blue, "JPG");
    TestEnv::writeFile(QStringLiteral("pick/notes.txt"), "not listed");
    makeImage(QStringLiteral("pick/x/inner.png"), QSize(8, 8), Qt::green);
    m_pick = QDir(TestEnv::path(QStringLiteral("pick"))).canonicalPath();
}

void TestImagePicker::init()
{
    ZConfig(TestEnv::path(QStringLiteral("settings.ini"))).writeEntry(QStringLiteral("Quillora"), QStringLiteral("OpenFilePath"), QString());
}

std::unique_ptr<ZFileOpenDialog> TestImagePicker::picker()
{
    auto dlg = std::make_unique<ZFileOpenDialog>(m_lang.get());
    dlg->show();
    return dlg;
}

QStringList TestImagePicker::rowTexts(ZListBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->item(i)->subItemText(1, 0);
    return texts;
}

void TestImagePicker::listingOrderAndRows()
{
    auto dlg = picker();
    QCOMPARE(dlg->windowTitle(), text("AddWallpaper"));
    QCOMPARE(dlg->softKeyBar()->text(ZSoftKey::RIGHT), text("Add"));
    QCOMPARE(dlg->optionsMenu()->count(), 4);
    FileBrowser *b = dlg->browser();
    QVERIFY(b->setDir(m_pick));
    QCOMPARE(rowTexts(b), (QStringList{QStringLiteral(".."), QStringLiteral("x"), QStringLiteral("B.jpg"), QStringLiteral("a.png")}));
    QCOMPARE(b->currentItem(), 0);
    QCOMPARE(b->item(0)->format(), QStringLiteral("%I%M"));
    QCOMPARE(b->item(1)->format(), QStringLiteral("%I%M"));
    QCOMPARE(b->item(1)->subItemCount(1), 1);
    QCOMPARE(b->item(2)->format(), QStringLiteral("%C%M"));
    QCOMPARE(b->item(2)->subItemText(1, 1), m_pick + QStringLiteral("/B.jpg"));
    const RES_ICON_Reader icons;
    QCOMPARE(b->item(0)->pixmap(0).toImage(), icons.getIcon(QStringLiteral("gen_back_to_arrw_small.g")).toImage());
    QCOMPARE(b->item(1)->pixmap(0).toImage(), icons.getIcon(QStringLiteral("fm_folder_small.g")).toImage());
    b->thumbnails()->finish();
    const QImage thumb = b->item(3)->pixmap(0).toImage();
    QCOMPARE(thumb.size(), QSize(32, 24));
    QCOMPARE(QColor(thumb.pixel(16, 12)), QColor(Qt::red));
}

void TestImagePicker::hiddenNamesAndUnloadableImages()
{
    makeImage(QStringLiteral("hid/.secret.png"), QSize(8, 8), Qt::red);
    TestEnv::writeFile(QStringLiteral("hid/broken.bmp"), "no picture");
    QDir().mkpath(TestEnv::path(QStringLiteral("hid/.folder")));
    const QString hid = QDir(TestEnv::path(QStringLiteral("hid"))).canonicalPath();
    OnDialog answer([&](QWidget *dlg) {
        auto *p = qobject_cast<ZFileOpenDialog *>(dlg);
        FileBrowser *b = p->browser();
        b->setDir(hid);
        QCOMPARE(rowTexts(b), (QStringList{QStringLiteral(".."), QStringLiteral(".folder"), QStringLiteral(".secret.png"), QStringLiteral("broken.bmp")}));
        b->thumbnails()->finish();
        QCOMPARE(b->item(3)->pixmap(0).toImage(), b->thumbnails()->fallback().toImage());
        // An image that cannot be loaded can still be checked and added.
        p->selectAll();
        p->add();
    });
    auto dlg = std::make_unique<ZFileOpenDialog>(m_lang.get());
    QCOMPARE(dlg->exec(), 1);
    QCOMPARE(dlg->selectionList(), (QStringList{hid + QStringLiteral("/.secret.png"), hid + QStringLiteral("/broken.bmp")}));
}

void TestImagePicker::rootFolder()
{
    auto dlg = picker();
    FileBrowser *b = dlg->browser();
    QVERIFY(b->setDir(QStringLiteral("/")));
    QCOMPARE(b->currentDir(), QStringLiteral("/"));
    const QStringList rows = rowTexts(b);
    QCOMPARE(rows.count(QStringLiteral("..")), 1);
    QVERIFY(rows.contains(QStringLiteral("tmp")) || rows.contains(QStringLiteral("usr")));
    // The listing's own ".." leads back to the root.
    b->setCurrentItem(rows.indexOf(QStringLiteral("..")));
    press(b, '5');
    QCOMPARE(b->currentDir(), QStringLiteral("/"));
    QCOMPARE(rowTexts(b), rows);
}

void TestImagePicker::foldersAndParentRow()
{
    auto dlg = picker();
    FileBrowser *b = dlg->browser();
    b->setDir(m_pick);
    press(b, '8');
    press(b, '5'); // into x
    QCOMPARE(b->currentDir(), m_pick + QStringLiteral("/x"));
    QCOMPARE(rowTexts(b), (QStringList{QStringLiteral(".."), QStringLiteral("inner.png")}));
    press(b, 4100); // the select key on ".." goes back, named without ".."
    QCOMPARE(b->currentDir(), m_pick);
    // A folder that cannot be listed leaves the list empty and the folder as it was.
    QVERIFY(!b->setDir(m_pick + QStringLiteral("/gone")));
    QCOMPARE(b->count(), 0);
    QCOMPARE(b->currentDir(), m_pick);
    press(b, 4146); // still leads elsewhere
    QCOMPARE(b->currentDir(), QFileInfo(m_pick).path());
}

void TestImagePicker::twoCheckedImagesCanonicalFolder()
{
    const QString link = TestEnv::path(QStringLiteral("picklink"));
    QFile::remove(link);
    QVERIFY(QFile::link(m_pick, link));
    OnDialog answer([&](QWidget *dlg) {
        auto *p = qobject_cast<ZFileOpenDialog *>(dlg);
        FileBrowser *b = p->browser();
        QVERIFY(b->setDir(link));
        QCOMPARE(b->currentDir(), m_pick);
        // Rows "..", x, B.jpg, a.png: check a.png first, then B.jpg.
        press(b, '2');
        press(b, '5');
        press(b, '2');
        press(b, '5');
        QVERIFY(b->itemChecked(2) && b->itemChecked(3));
        p->softKeyBar()->click(ZSoftKey::RIGHT);
    });
    auto dlg = std::make_unique<ZFileOpenDialog>(m_lang.get());
    QCOMPARE(dlg->exec(), 1);
    QCOMPARE(dlg->selectionList(), (QStringList{m_pick + QStringLiteral("/B.jpg"), m_pick + QStringLiteral("/a.png")}));
    ZConfig settings(TestEnv::path(QStringLiteral("settings.ini")));
    QCOMPARE(settings.readEntry(QStringLiteral("Quillora"), QStringLiteral("OpenFilePath")), QStringLiteral("pick"));
}

void TestImagePicker::storageRootsOnKey3()
{
    makeImage(QStringLiteral("device/mmc/mmca1/card.png"), QSize(8, 8), Qt::red);
    const QString card = QDir(TestEnv::path(QStringLiteral("device/mmc/mmca1"))).canonicalPath();
    const QString stuff = QDir(TestEnv::path(QStringLiteral("device/ezxlocal/download/mystuff"))).canonicalPath();
    auto dlg = picker();
    FileBrowser *b = dlg->browser();
    QCOMPARE(b->currentDir(), stuff); // nothing remembered: the phone memory
    b->setDir(m_pick);
    press(b, '3');
    QCOMPARE(b->currentDir(), card);
    QVERIFY(rowTexts(b).contains(QStringLiteral("card.png")));
    press(b, '3');
    QCOMPARE(b->currentDir(), stuff);
    press(b, '3');
    QCOMPARE(b->currentDir(), card);
}

void TestImagePicker::closingKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("remembers");
    QTest::newRow("4144 accepts with nothing selected") << 4144 << 1 << false;
    QTest::newRow("4145 rejects") << 4145 << 0 << false;
    QTest::newRow("right soft key (4147) adds") << 4147 << 1 << true;
}

void TestImagePicker::closingKeys()
{
    QFETCH(int, key);
    QFETCH(int, result);
    QFETCH(bool, remembers);
    OnDialog answer([&](QWidget *dlg) {
        FileBrowser *b = qobject_cast<ZFileOpenDialog *>(dlg)->browser();
        b->setDir(m_pick);
        b->checkItem(2, true);
        b->checkItem(3, true);
        press(b, key);
    });
    auto dlg = std::make_unique<ZFileOpenDialog>(m_lang.get());
    QCOMPARE(dlg->exec(), result);
    QCOMPARE(dlg->selectionList().size(), remembers ? 2 : 0);
    ZConfig settings(TestEnv::path(QStringLiteral("settings.ini")));
    QCOMPARE(settings.readEntry(QStringLiteral("Quillora"), QStringLiteral("OpenFilePath")),
             remembers ? QStringLiteral("pick") : QString());
}

void TestImagePicker::goUpKey()
{
    auto dlg = picker();
    FileBrowser *b = dlg->browser();
    b->setDir(m_pick + QStringLiteral("/x"));
    QSignalSpy picked(b, &FileBrowser::picked);
    QSignalSpy isFile(b, &FileBrowser::isFilePicked);
    press(b, 4146);
    QCOMPARE(b->currentDir(), m_pick);
    QCOMPARE(picked.last().at(0).toString(), m_pick + QStringLiteral("/x/.."));
    QCOMPARE(isFile.last().at(0).toBool(), false);
}

void TestImagePicker::highlightSignals()
{
    auto dlg = picker();
    FileBrowser *b = dlg->browser();
    b->setDir(m_pick);
    QSignalSpy picked(b, &FileBrowser::picked);
    QSignalSpy isFile(b, &FileBrowser::isFilePicked);
    press(b, '8'); // x
    QCOMPARE(isFile.last().at(0).toBool(), false);
    QCOMPARE(picked.size(), 0);
    press(b, '8'); // B.jpg
    QCOMPARE(isFile.last().at(0).toBool(), true);
    QCOMPARE(picked.last().at(0).toString(), m_pick + QStringLiteral("/B.jpg"));
}

void TestImagePicker::checkEntry_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("viewed");
    QTest::newRow("folder row") << 1 << "";
    QTest::newRow("parent row") << 0 << "";
    QTest::newRow("image row") << 3 << "a.png";
}

void TestImagePicker::checkEntry()
{
    QFETCH(int, row);
    QFETCH(QString, viewed);
    auto dlg = picker();
    dlg->browser()->setDir(m_pick);
    dlg->browser()->setCurrentItem(row);
    QString shown;
    OnDialog answer([&](QWidget *w) {
        auto *viewer = qobject_cast<CheckImg *>(w);
        QVERIFY(viewer);
        QTextDocument doc;
        doc.setHtml(viewer->pathLabel()->text());
        shown = doc.toPlainText();
        viewer->accept();
    });
    dlg->optionsMenu()->activateItem(0);
    QCOMPARE(answer.shown, viewed.isEmpty() ? 0 : 1);
    QCOMPARE(shown, viewed.isEmpty() ? QString() : m_pick + QStringLiteral("/") + viewed);
    QCOMPARE(dlg->browser()->currentDir(), m_pick);
}

void TestImagePicker::selectAllAndNone()
{
    auto dlg = picker();
    FileBrowser *b = dlg->browser();
    b->setDir(m_pick);
    dlg->optionsMenu()->activateItem(1);
    QList<bool> checks;
    for (int i = 0; i < b->count(); ++i)
        checks << b->itemChecked(i);
    QCOMPARE(checks, (QList<bool>{false, false, true, true}));
    dlg->optionsMenu()->activateItem(2);
    QVERIFY(!b->itemChecked(2) && !b->itemChecked(3));
    // Checks belong to the rows of one folder: listing another drops them.
    dlg->selectAll();
    press(b, '8');
    press(b, '5');
    press(b, 4146);
    QVERIFY(!b->itemChecked(2) && !b->itemChecked(3));
}

void TestImagePicker::rememberedFolder()
{
    ZConfig settings(TestEnv::path(QStringLiteral("settings.ini")));
    settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("OpenFilePath"), m_pick + QStringLiteral("/x"));
    auto dlg = picker();
    QCOMPARE(dlg->browser()->currentDir(), m_pick + QStringLiteral("/x"));
    QCOMPARE(rowTexts(dlg->browser()), (QStringList{QStringLiteral(".."), QStringLiteral("inner.png")}));
    // Remembered relative to the program directory, or the directory itself.
    settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("OpenFilePath"), QStringLiteral("pick/x"));
    QCOMPARE(picker()->browser()->currentDir(), m_pick + QStringLiteral("/x"));
    settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("OpenFilePath"), QStringLiteral("."));
    QCOMPARE(picker()->browser()->currentDir(), QDir(TestEnv::dir()).canonicalPath());

    // A remembered folder that is gone: an empty list, the phone memory as current folder.
    settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("OpenFilePath"), m_pick + QStringLiteral("/deleted"));
    dlg = picker();
    QCOMPARE(dlg->browser()->count(), 0);
    QCOMPARE(dlg->browser()->currentDir(),
             QDir(TestEnv::path(QStringLiteral("device/ezxlocal/download/mystuff"))).canonicalPath());
    press(dlg->browser(), '3');
    QVERIFY(dlg->browser()->count() > 0);
}

void TestImagePicker::viewerHeight_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("height");
    QTest::newRow("phone wallpaper shown 200 high") << "view/wall.png" << QSize(240, 320) << 200;
    QTest::newRow("small picture at its own height") << "view/small.png" << QSize(32, 32) << 32;
    QTest::newRow("blanks and # in the path") << "view/my pics/sea #1.png" << QSize(60, 80) << 80;
    QTest::newRow("percent and quote") << "view/100% \"best\".png" << QSize(20, 50) << 50;
    QTest::newRow("wide photo fits the screen's width") << "view/wide.png" << QSize(800, 600) << 180;
    QTest::newRow("panorama") << "view/pano.png" << QSize(960, 100) << 25;
}

void TestImagePicker::viewerHeight()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(int, height);
    const QString path = makeImage(file, size, Qt::magenta);
    QCOMPARE(CheckImg::shownHeight(path), height);

    CheckImg viewer(m_lang.get(), path);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QCOMPARE(viewer.windowTitle(), text("CheckWallpaper"));
    QVERIFY(viewer.imageLabel()->text().contains(QStringLiteral("height=\"%1\"").arg(height)));
    // The label draws the picture itself: a magenta block of the expected height, centred.
    const QImage shot = viewer.imageLabel()->grab().toImage();
    int top = -1, bottom = -1, left = -1, right = -1;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (QColor(shot.pixel(x, y)) == QColor(Qt::magenta)) {
                top = top < 0 ? y : top;
                bottom = y;
                left = left < 0 ? x : qMin(left, x);
                right = qMax(right, x);
            }
        }
    }
    QVERIFY2(top >= 0, "picture not drawn");
    QVERIFY(qAbs(bottom - top + 1 - height) <= 1);
    QVERIFY(qAbs((left + right) / 2 - shot.width() / 2) <= 2);
    QTextDocument doc;
    doc.setHtml(viewer.pathLabel()->text());
    QCOMPARE(doc.toPlainText(), path);
}

void TestImagePicker::viewerPathIsText()
{
    const QString path = TestEnv::path(QStringLiteral("view/<b>bold</b>&amp;.png"));
    QCOMPARE(CheckImg::shownHeight(path), 0);
    CheckImg viewer(m_lang.get(), path);
    QTextDocument doc;
    doc.setHtml(viewer.pathLabel()->text());
    QCOMPARE(doc.toPlainText(), path);
    QVERIFY(viewer.imageLabel()->text().contains(QStringLiteral("height=\"0\"")));
}

void TestImagePicker::viewerKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("key 5") << int('5') << 1;
    QTest::newRow("select 4100") << 4100 << 1;
    QTest::newRow("back 4145") << 4145 << 0;
    QTest::newRow("left soft key") << -1 << 1;
}

void TestImagePicker::viewerKeys()
{
    QFETCH(int, key);
    QFETCH(int, result);
    OnDialog answer([&](QWidget *w) {
        auto *viewer = qobject_cast<CheckImg *>(w);
        QCOMPARE(viewer->softKeyBar()->text(ZSoftKey::LEFT), text("Back"));
        QCOMPARE(viewer->softKeyBar()->text(ZSoftKey::RIGHT), QString());
        if (key < 0)
            viewer->softKeyBar()->click(ZSoftKey::LEFT);
        else
            press(viewer, key);
    });
    CheckImg viewer(m_lang.get(), m_pick + QStringLiteral("/a.png"));
    QCOMPARE(viewer.exec(), result);
    QCOMPARE(answer.shown, 1);
}

QUILLORA_TEST_MAIN(TestImagePicker)
#include "tst_imagepicker.moc"
