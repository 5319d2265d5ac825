// The wallpaper list's logic without a window: the list file, thumbnails and folder listings.
#include "folderlisting.h"
#include "testenv.h"
#include "thumbnails.h"
#include "wallpaperlist.h"

#include <QDir>
#include <QSignalSpy>
#include <unistd.h>

class TestWallpaperLogic : public QObject
{
    Q_OBJECT
private slots:
    void readList_data();
    void readList();
    void readListAppendsAndKeepsOnMissingFile();
    void writeListWholeFile();
    void writeListNamesFilesOfItsFolderRelative_data();
    void writeListNamesFilesOfItsFolderRelative();
    void unreadableFileIsNotEmptied();
    void fittedSize_data();
    void fittedSize();
    void decodeAtThumbnailSize();
    void loaderQueuesCachesAndFallsBack();
    void loaderPrefersRowsNearHighlight();
    void listingOrder();
    void storageRootsLieUnderDevice_data();
    void storageRootsLieUnderDevice();

private:
    QString makeDir(const QString &name);
};

static void writeImage(const QString &path, const QSize &size, const char *format = nullptr)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(path, format));
}

QString TestWallpaperLogic::makeDir(const QString &name)
{
    const QString dir = TestEnv::path(name);
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    return QDir(dir).canonicalPath();
}

void TestWallpaperLogic::readList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("two lines") << QByteArray("/a/x.png\n/b/y.jpg\n")
                               << QStringList{QStringLiteral("/a/x.png"), QStringLiteral("/b/y.jpg")};
    QTest::newRow("no final line end") << QByteArray("/a/x.png\n/b/y.jpg")
                                       << QStringList{QStringLiteral("/a/x.png"), QStringLiteral("/b/y.jpg")};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("blank lines carry no entry") << QByteArray("\n/a.png\n\n/b.png\n\n")
                                                << QStringList{QStringLiteral("/a.png"), QStringLiteral("/b.png")};
    QTest::newRow("lines of blanks carry no entry") << QByteArray(" \n/a.png\n\t\r\n/b c.png \n")
                                                    << QStringList{QStringLiteral("/a.png"), QStringLiteral("/b c.png ")};
    QTest::newRow("CRLF line ends") << QByteArray("/a.png\r\n/b.png\r\n")
                                    << QStringList{QStringLiteral("/a.png"), QStringLiteral("/b.png")};
    QTest::newRow("UTF-8 and blanks") << QByteArray("/壁纸/春 天.png\n")
                                      << QStringList{QString::fromUtf8("/壁纸/春 天.png")};
    QTest::newRow("duplicates kept") << QByteArray("/a.png\n/a.png\n")
                                     << QStringList{QStringLiteral("/a.png"), QStringLiteral("/a.png")};
    // "@" stands for the folder of the list.
    QTest::newRow("relative entries lie below the list") << QByteArray("resource/a.png\n/b.png\n../c.png\n")
                                                         << QStringList{QStringLiteral("@resource/a.png"), QStringLiteral("/b.png"), QStringLiteral("@../c.png")};
}

void TestWallpaperLogic::readList()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    entries.replaceInStrings(QStringLiteral("@"), TestEnv::dir());
    TestEnv::writeFile(QStringLiteral("r.list"), bytes);
    QStringList got;
    QCOMPARE(WallpaperList::readList(TestEnv::path(QStringLiteral("r.list")), got),
             WallpaperList::ReadStatus::Read);
    QCOMPARE(got, entries);
}

void TestWallpaperLogic::readListAppendsAndKeepsOnMissingFile()
{
    QStringList got{QStringLiteral("/kept.png")};
    TestEnv::removeFile(QStringLiteral("none.list"));
    QCOMPARE(WallpaperList::readList(TestEnv::path(QStringLiteral("none.list")), got),
             WallpaperList::ReadStatus::Missing);
    QCOMPARE(got, QStringList{QStringLiteral("/kept.png")});

    TestEnv::writeFile(QStringLiteral("r.list"), "/new.png\n");
    WallpaperList::readList(TestEnv::path(QStringLiteral("r.list")), got);
    QCOMPARE(got, (QStringList{QStringLiteral("/kept.png"), QStringLiteral("/new.png")}));
}

void TestWallpaperLogic::writeListWholeFile()
{
    const QString file = TestEnv::path(QStringLiteral("w.list"));
    TestEnv::writeFile(QStringLiteral("w.list"), "/old/one.png\n/old/two.png\n/old/three.png\n");
    QVERIFY(WallpaperList::writeList(file, {QStringLiteral("/n/一.png"), QStringLiteral("/n/b c.jpg")}));
    QCOMPARE(TestEnv::readFile(QStringLiteral("w.list")), QByteArray("/n/一.png\n/n/b c.jpg\n"));
    QVERIFY(WallpaperList::writeList(file, {}));
    QCOMPARE(TestEnv::readFile(QStringLiteral("w.list")), QByteArray());
    // A path that would not stay one line of the file is left out.
    QVERIFY(WallpaperList::writeList(file, {QStringLiteral("/a\nb.png"), QStringLiteral("/c\t.png"),
                                            QStringLiteral("/d.png"), QString(), QStringLiteral("/e\x7f.png")}));
    QCOMPARE(TestEnv::readFile(QStringLiteral("w.list")), QByteArray("/d.png\n"));
    // A folder that does not exist cannot take the file: nothing is written, false comes back.
    QVERIFY(!WallpaperList::writeList(TestEnv::path(QStringLiteral("no/such/dir/w.list")), {QStringLiteral("/a")}));
}

void TestWallpaperLogic::writeListNamesFilesOfItsFolderRelative_data()
{
    // "@" stands for the folder of the list with its "/", "%" for it without, "&" for a link to
    // it from elsewhere.
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("file of the folder") << "@pics/a.png" << QByteArray("pics/a.png") << "@pics/a.png";
    QTest::newRow("deeper, with a blank") << "@device/mmc/b c.png" << QByteArray("device/mmc/b c.png")
                                          << "@device/mmc/b c.png";
    QTest::newRow("through a link to the folder") << "&pics/a.png" << QByteArray("pics/a.png") << "@pics/a.png";
    QTest::newRow("back into the folder") << "@pics/../y.png" << QByteArray("y.png") << "@y.png";
    QTest::newRow("out of the folder") << "@pics/../../x.png" << QByteArray("@pics/../../x.png") << "@pics/../../x.png";
    QTest::newRow("sibling folder of a longer name") << "%more/x.png" << QByteArray("%more/x.png") << "%more/x.png";
    QTest::newRow("elsewhere") << "/srv/x.png" << QByteArray("/srv/x.png") << "/srv/x.png";
    QTest::newRow("already relative") << "pics/a.png" << QByteArray("pics/a.png") << "@pics/a.png";
}

void TestWallpaperLogic::writeListNamesFilesOfItsFolderRelative()
{
    QFETCH(QString, entry);
    QFETCH(QByteArray, line);
    QFETCH(QString, readBack);
    QTemporaryDir elsewhere;
    const QString link = elsewhere.path() + QStringLiteral("/link");
    QVERIFY(QFile::link(TestEnv::dir(), link));
    QDir().mkpath(TestEnv::path(QStringLiteral("pics")));
    writeImage(TestEnv::path(QStringLiteral("pics/a.png")), QSize(4, 4));
    const auto place = [&](QString text) {
        return text.replace(QLatin1Char('@'), TestEnv::dir()).replace(QLatin1Char('%'), QDir::cleanPath(TestEnv::dir()))
            .replace(QLatin1Char('&'), link + QLatin1Char('/'));
    };
    const QString file = TestEnv::path(QStringLiteral("w.list"));
    QVERIFY(WallpaperList::writeList(file, {place(entry)}));
    QCOMPARE(TestEnv::readFile(QStringLiteral("w.list")), place(QString::fromUtf8(line)).toUtf8() + '\n');
    QStringList got;
    WallpaperList::readList(file, got);
    QCOMPARE(got, QStringList{place(readBack)});
}

void TestWallpaperLogic::unreadableFileIsNotEmptied()
{
    if (::geteuid() == 0)
        QSKIP("the superuser reads every file");
    const QString file = TestEnv::path(QStringLiteral("locked.list"));
    TestEnv::writeFile(QStringLiteral("locked.list"), "/a.png\n/b.png\n");
    QFile::setPermissions(file, QFile::WriteOwner);
    WallpaperList::Store store(file);
    QStringList entries;
    store.read(entries);
    QVERIFY(entries.isEmpty());
    QVERIFY(!store.writable());
    QVERIFY(!store.write({QStringLiteral("/c.png")}));
    QFile::setPermissions(file, QFile::WriteOwner | QFile::ReadOwner);
    QCOMPARE(TestEnv::readFile(QStringLiteral("locked.list")), QByteArray("/a.png\n/b.png\n"));
}

void TestWallpaperLogic::fittedSize_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("thumb");
    QTest::newRow("phone wallpaper") << QSize(240, 320) << QSize(32, 43);
    QTest::newRow("landscape photo") << QSize(2000, 1500) << QSize(32, 24);
    QTest::newRow("small square") << QSize(16, 16) << QSize(32, 32);
    QTest::newRow("thin strip keeps a pixel") << QSize(4000, 10) << QSize(32, 1);
    QTest::newRow("very tall fits 48 high") << QSize(100, 1000) << QSize(5, 48);
    QTest::newRow("exactly 48 high") << QSize(64, 96) << QSize(32, 48);
    QTest::newRow("invalid") << QSize(0, 0) << QSize(32, 32);
}

void TestWallpaperLogic::fittedSize()
{
    QFETCH(QSize, source);
    QFETCH(QSize, thumb);
    QCOMPARE(ThumbnailLoader::fitted(source), thumb);
}

void TestWallpaperLogic::decodeAtThumbnailSize()
{
    const QString dir = makeDir(QStringLiteral("dec"));
    writeImage(dir + QStringLiteral("/w.png"), QSize(240, 320));
    writeImage(dir + QStringLiteral("/p.jpg"), QSize(800, 600));
    writeImage(dir + QStringLiteral("/b.bmp"), QSize(64, 64));
    TestEnv::writeFile(QStringLiteral("dec/bad.png"), "not a picture");

    QCOMPARE(ThumbnailLoader::decode(dir + QStringLiteral("/w.png")).size(), QSize(32, 43));
    QCOMPARE(ThumbnailLoader::decode(dir + QStringLiteral("/p.jpg")).size(), QSize(32, 24));
    const QImage bmp = ThumbnailLoader::decode(dir + QStringLiteral("/b.bmp"));
    QCOMPARE(bmp.size(), QSize(32, 32));
    QCOMPARE(QColor(bmp.pixel(16, 16)), QColor(Qt::darkCyan));
    QVERIFY(ThumbnailLoader::decode(dir + QStringLiteral("/bad.png")).isNull());
    QVERIFY(ThumbnailLoader::decode(dir + QStringLiteral("/missing.png")).isNull());
}

void TestWallpaperLogic::loaderQueuesCachesAndFallsBack()
{
    ThumbnailLoader::clearCache();
    const QString dir = makeDir(QStringLiteral("load"));
    writeImage(dir + QStringLiteral("/a.png"), QSize(240, 320));
    TestEnv::writeFile(QStringLiteral("load/bad.png"), "not a picture");
    QPixmap fallback(10, 10);
    fallback.fill(Qt::red);

    ThumbnailLoader loader;
    loader.setFallback(fallback);
    QSignalSpy ready(&loader, &ThumbnailLoader::ready);
    QSignalSpy idle(&loader, &ThumbnailLoader::idle);

    // Not yet decoded: a placeholder of the final size, the picture follows through ready().
    QCOMPARE(loader.thumbnail(0, dir + QStringLiteral("/a.png")).size(), QSize(32, 43));
    loader.thumbnail(1, dir + QStringLiteral("/bad.png"));
    QVERIFY(!loader.isIdle());
    QVERIFY(idle.wait(5000));
    QCOMPARE(ready.size(), 2);
    QCOMPARE(ready.at(0).at(0).toInt(), 0);
    const QImage first = ready.at(0).at(2).value<QPixmap>().toImage();
    QCOMPARE(first.size(), QSize(32, 43));
    QCOMPARE(QColor(first.pixel(10, 10)), QColor(Qt::darkCyan));
    const QImage second = ready.at(1).at(2).value<QPixmap>().toImage();
    QCOMPARE(second.size(), QSize(32, 32));
    QCOMPARE(QColor(second.pixel(10, 10)), QColor(Qt::red));

    // Now cached: given at once, nothing queued.
    QCOMPARE(QColor(loader.thumbnail(5, dir + QStringLiteral("/a.png")).toImage().pixel(3, 3)), QColor(Qt::darkCyan));
    QCOMPARE(QColor(loader.thumbnail(6, dir + QStringLiteral("/bad.png")).toImage().pixel(3, 3)), QColor(Qt::red));
    QVERIFY(loader.isIdle());

    // A changed file is decoded again.
    QImage green(300, 300, QImage::Format_RGB32);
    green.fill(Qt::green);
    QVERIFY(green.save(dir + QStringLiteral("/a.png")));
    QFile changed(dir + QStringLiteral("/a.png"));
    QVERIFY(changed.open(QIODevice::ReadWrite));
    QVERIFY(changed.setFileTime(QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime));
    changed.close();
    loader.thumbnail(0, dir + QStringLiteral("/a.png"));
    QVERIFY(!loader.isIdle());
    loader.finish();
    QCOMPARE(ready.last().at(2).value<QPixmap>().size(), QSize(32, 32));
}

void TestWallpaperLogic::loaderPrefersRowsNearHighlight()
{
    ThumbnailLoader::clearCache();
    const QString dir = makeDir(QStringLiteral("prefer"));
    ThumbnailLoader loader;
    for (int i = 0; i < 6; ++i) {
        writeImage(dir + QStringLiteral("/%1.png").arg(i), QSize(40, 40));
        loader.thumbnail(i, dir + QStringLiteral("/%1.png").arg(i));
    }
    loader.prefer(3, 4);
    QSignalSpy ready(&loader, &ThumbnailLoader::ready);
    loader.finish();
    QList<int> order;
    for (const auto &args : std::as_const(ready))
        order << args.at(0).toInt();
    QCOMPARE(order, (QList<int>{3, 4, 2, 5, 1, 0})); // the nearest first

    // A new set of rows drops what was pending for the old one.
    ThumbnailLoader::clearCache();
    loader.thumbnail(0, dir + QStringLiteral("/0.png"));
    loader.reset();
    QVERIFY(loader.isIdle());
}

void TestWallpaperLogic::listingOrder()
{
    const QString dir = makeDir(QStringLiteral("pick"));
    writeImage(dir + QStringLiteral("/a.png"), QSize(20, 20));
    writeImage(dir + QStringLiteral("/B.jpg"), QSize(20, 20), "JPG");
    writeImage(dir + QStringLiteral("/c.bmp"), QSize(20, 20));
    writeImage(dir + QStringLiteral("/D.PNG"), QSize(20, 20), "PNG");
    TestEnv::writeFile(QStringLiteral("pick/notes.txt"), "text");
    TestEnv::writeFile(QStringLiteral("pick/gif.gif"), "GIF89a");
    QDir(dir).mkdir(QStringLiteral("x"));
    QDir(dir).mkdir(QStringLiteral("Y"));
    QDir(dir).mkdir(QStringLiteral("pics.png"));

    const FolderListing::Listing l = FolderListing::list(dir);
    QVERIFY(l.readable);
    QCOMPARE(l.canonicalPath, dir);
    QVERIFY(!l.parentRowFirst);
    QCOMPARE(l.folders, (QStringList{QStringLiteral(".."), QStringLiteral("Y"), QStringLiteral("pics.png"), QStringLiteral("x")}));
    QCOMPARE(l.imageNames, (QStringList{QStringLiteral("B.jpg"), QStringLiteral("D.PNG"), QStringLiteral("a.png"), QStringLiteral("c.bmp")}));
    QCOMPARE(l.imagePaths.first(), dir + QStringLiteral("/B.jpg"));

    // Reached through "..", the folder is still named by its canonical path.
    const FolderListing::Listing viaParent = FolderListing::list(dir + QStringLiteral("/x/.."));
    QCOMPARE(viaParent.canonicalPath, dir);
    QCOMPARE(viaParent.imagePaths.last(), dir + QStringLiteral("/c.bmp"));
}

void TestWallpaperLogic::storageRootsLieUnderDevice_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("resolved");
    QTest::newRow("memory card") << "/mmc/mmca1/" << "device/mmc/mmca1/";
    QTest::newRow("memory card, no slash") << "/mmc/mmca1" << "device/mmc/mmca1";
    QTest::newRow("below the phone memory") << "/ezxlocal/download/mystuff/pics"
                                            << "device/ezxlocal/download/mystuff/pics";
    QTest::newRow("other folder is real") << "/usr/share" << "";
    QTest::newRow("look-alike is real") << "/mmc/mmca10" << "";
}

void TestWallpaperLogic::storageRootsLieUnderDevice()
{
    QFETCH(QString, folder);
    QFETCH(QString, resolved);
    QCOMPARE(FolderListing::resolve(folder), resolved.isEmpty() ? folder : TestEnv::path(resolved));
}

QUILLORA_TEST_MAIN(TestWallpaperLogic)
#include "tst_wallpaperlogic.moc"
