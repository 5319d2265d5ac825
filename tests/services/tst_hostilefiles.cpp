// Every reader and writer of the suite's files against what a broken machine may hold under a
// file's name: a FIFO (opening one blocks), a link to a device (reads never end), a folder, a
// file far larger than its kind, and symbolic links under the names that are replaced.
#include "atomicfile.h"
#include "boundedimage.h"
#include "storelock.h"
#include "testenv.h"
#include "userprogramdir.h"
#include "wallpaperlist.h"
#include "zconfig.h"

#include <QDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a reader made of the file at path, in a few words.
QString readAs(const QString &reader, const QString &path)
{
    if (reader == QLatin1String("store")) {
        const ZConfig store(path);
        return QStringLiteral("a=") + store.readEntry(QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("none"));
    }
    if (reader == QLatin1String("store write")) {
        ZConfig store(path);
        return store.writeEntry(QStringLiteral("A"), QStringLiteral("b"), 2) ? QStringLiteral("written")
                                                                             : QStringLiteral("refused");
    }
    if (reader == QLatin1String("wallpaper list")) {
        QStringList entries;
        const auto status = WallpaperList::readList(path, entries);
        return status == WallpaperList::ReadStatus::Read ? QStringLiteral("read ") + entries.value(0)
                                                         : QStringLiteral("not read");
    }
    if (reader == QLatin1String("picture"))
        return BoundedFile::readImage(path).isNull() ? QStringLiteral("none") : QStringLiteral("picture");
    return QStringLiteral("no reader ") + reader;
}

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT
private slots:
    void readersNeitherHangNorGrow_data();
    void readersNeitherHangNorGrow();
    void replacesNeverWriteThroughLinks_data();
    void replacesNeverWriteThroughLinks();
    void lockNeverCreatedThroughALink();
};

void TestHostileFiles::readersNeitherHangNorGrow_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("readsAs");
    const QStringList blocking = {QStringLiteral("FIFO"), QStringLiteral("device"), QStringLiteral("folder")};
    for (const QString &kind : blocking) {
        QTest::addRow("%s, store", qPrintable(kind)) << kind << "store" << "a=none";
        // Nothing is merged with what cannot be read, so nothing is replaced.
        QTest::addRow("%s, store write", qPrintable(kind)) << kind << "store write" << "refused";
        QTest::addRow("%s, wallpaper list", qPrintable(kind)) << kind << "wallpaper list" << "not read";
        QTest::addRow("%s, picture", qPrintable(kind)) << kind << "picture" << "none";
    }
    // Larger than its kind: read up to the cap, and never replaced by a cut copy.
    QTest::newRow("oversize, store") << "oversize" << "store" << "a=1";
    QTest::newRow("oversize, store write") << "oversize" << "store write" << "refused";
    QTest::newRow("oversize, wallpaper list") << "oversize" << "wallpaper list" << "read /a.png";
    QTest::newRow("oversize, picture") << "oversize" << "picture" << "none";
}

void TestHostileFiles::readersNeitherHangNorGrow()
{
    QFETCH(QString, kind);
    QFETCH(QString, reader);
    QFETCH(QString, readsAs);
    const QString path = TestEnv::path(QStringLiteral("hostile/file"));
    QDir().mkpath(TestEnv::path(QStringLiteral("hostile")));
    const qint64 size = reader == QLatin1String("picture") ? BoundedFile::kPictureCap + 1 : BoundedFile::kListCap + 1;
    const QByteArray start = reader == QLatin1String("wallpaper list") ? "/a.png\n" : "[A]\na = 1\n";
    QVERIFY(TestEnv::plantHostile(kind, path, start, size));
    struct stat before;
    QCOMPARE(::lstat(QFile::encodeName(path).constData(), &before), 0);

    QCOMPARE(readAs(reader, path), readsAs);
    struct stat after;
    QCOMPARE(::lstat(QFile::encodeName(path).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_size, before.st_size);
    QDir(TestEnv::path(QStringLiteral("hostile"))).removeRecursively();
}

void TestHostileFiles::replacesNeverWriteThroughLinks_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<bool>("dangling");
    for (const char *writer : {"store", "wallpaper list", "replace", "user program directory"}) {
        QTest::addRow("%s, link to a file", writer) << QString::fromLatin1(writer) << false;
        QTest::addRow("%s, dangling link", writer) << QString::fromLatin1(writer) << true;
    }
}

void TestHostileFiles::replacesNeverWriteThroughLinks()
{
    QFETCH(QString, writer);
    QFETCH(bool, dangling);
    QDir(TestEnv::path(QStringLiteral("links"))).removeRecursively();
    QDir().mkpath(TestEnv::path(QStringLiteral("links")));
    const QString target = TestEnv::path(QStringLiteral("links/target"));
    // The user's program directory is made in links/, and its stamp is the name.
    const bool userDir = writer == QLatin1String("user program directory");
    const QString name = TestEnv::path(userDir ? QStringLiteral("links/.made-from") : QStringLiteral("links/name"));
    if (!dangling)
        TestEnv::writeFile(QStringLiteral("links/target"), "[A]\na = 1\n");
    QCOMPARE(::symlink("target", QFile::encodeName(name).constData()), 0);

    bool ok = false;
    if (writer == QLatin1String("store"))
        ok = ZConfig(name).writeEntry(QStringLiteral("A"), QStringLiteral("b"), 2);
    else if (userDir)
        ok = QDir().mkpath(TestEnv::path(QStringLiteral("installed")))
            && !UserProgramDir::ensure(TestEnv::path(QStringLiteral("installed")), TestEnv::path(QStringLiteral("links/"))).isEmpty();
    else if (writer == QLatin1String("wallpaper list"))
        ok = WallpaperList::writeList(name, {QStringLiteral("/b.png")});
    else
        ok = AtomicFile::replace(name, "new\n");
    QVERIFY(ok);
    // The name is now a file of its own; the target is as it was.
    QVERIFY(!QFileInfo(name).isSymLink());
    QVERIFY(QFileInfo(name).isFile());
    QCOMPARE(QFileInfo::exists(target), !dangling);
    if (!dangling)
        QCOMPARE(TestEnv::readFile(QStringLiteral("links/target")), QByteArray("[A]\na = 1\n"));
}

void TestHostileFiles::lockNeverCreatedThroughALink()
{
    QDir().mkpath(TestEnv::path(QStringLiteral("locks")));
    const QString file = TestEnv::path(QStringLiteral("locks/t.ini"));
    const QString elsewhere = TestEnv::path(QStringLiteral("locks/elsewhere"));
    QCOMPARE(::symlink(QFile::encodeName(elsewhere).constData(), QFile::encodeName(file + QStringLiteral(".lock")).constData()), 0);
    StoreLock lock(file);
    QVERIFY(lock.lock());
    QVERIFY(!QFileInfo::exists(elsewhere));
    QVERIFY(!QFileInfo(file + QStringLiteral(".lock")).isSymLink());
    lock.unlock();
    QVERIFY(!QFileInfo::exists(elsewhere));
}

QUILLORA_TEST_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
