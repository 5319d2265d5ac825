// The wallpaper as phones take it, and show against hostile input: every case still writes a
// picture with exit status 0, quickly and in bounded memory.

#include "renderfixture.h"
#include "picturefiles.h"
#include "rawimage.h"
#include "wallpaperloader.h"

#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>

#include <QElapsedTimer>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace RenderFixture;

namespace {

// The memory a bounded run of show may take; a sanitized build keeps shadow memory and freed
// blocks besides.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kPeakLimitMB = 240;
#else
constexpr int kPeakLimitMB = 120;
#endif

const QString kPicture = QStringLiteral("device/idle/desktop.png");
const QString kCache = QStringLiteral("device/idle/cache/wallpaper.raw");
const QString kWaiting = QStringLiteral("device/idle/cache/desktop.next.png");

struct Run
{
    int status = -1;
    QByteArray err;
    long peakMB = -1; // the largest resident size show reached
};

// Runs show (with the arguments given) and waits up to a minute; a show that blocks (on a FIFO,
// say) ends here with status -1. wait4() gives the memory of this one process.
Run spawnShow(const QStringList &arguments = {})
{
    const QByteArray show = QFile::encodeName(TestEnv::installProgram(QStringLiteral("show")));
    const QByteArray errFile = QFile::encodeName(TestEnv::path(QStringLiteral("show.err")));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    QList<QByteArray> words{show};
    for (const QString &argument : arguments)
        words.append(argument.toLocal8Bit());
    std::vector<char *> args;
    for (QByteArray &word : words)
        args.push_back(word.data());
    args.push_back(nullptr);
    pid_t pid = 0;
    Run run;
    const int spawned = posix_spawn(&pid, show.constData(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    rusage usage{};
    QElapsedTimer clock;
    clock.start();
    pid_t done = 0;
    while ((done = wait4(pid, &status, WNOHANG, &usage)) == 0 && clock.elapsed() < 60000)
        QThread::msleep(20);
    if (done == 0) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        return run;
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakMB = usage.ru_maxrss / 1024;
    run.err = TestEnv::readFile(QStringLiteral("show.err"));
    return run;
}

void setWallpaper(const QString &path)
{
    TestEnv::writeFile(QStringLiteral("device/setup.ini"), "[SETUP_THEME]\n9 = " + path.toUtf8() + "\n");
}

// A picture whose four quadrants have their own colours, top-left, top-right, bottom-left,
// bottom-right.
const QColor kQuad[4] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 255, 0)};

QImage quadrants(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width() / 2, h = size.height() / 2;
    QPainter p(&image);
    p.fillRect(0, 0, w, h, kQuad[0]);
    p.fillRect(w, 0, size.width() - w, h, kQuad[1]);
    p.fillRect(0, h, w, size.height() - h, kQuad[2]);
    p.fillRect(w, h, size.width() - w, size.height() - h, kQuad[3]);
    return image;
}

// The colour at the middle of each quadrant of a picture, as indices into kQuad (-1: none).
QList<int> quadrantsOf(const QImage &image)
{
    QList<int> seen;
    for (const QPoint &at : {QPoint(1, 1), QPoint(3, 1), QPoint(1, 3), QPoint(3, 3)}) {
        const QColor c = image.pixelColor(at.x() * image.width() / 4, at.y() * image.height() / 4);
        int found = -1;
        for (int i = 0; i < 4; ++i)
            if (qAbs(c.red() - kQuad[i].red()) < 40 && qAbs(c.green() - kQuad[i].green()) < 40
                && qAbs(c.blue() - kQuad[i].blue()) < 40)
                found = i;
        seen << found;
    }
    return seen;
}

} // namespace

class TestShowInput : public QObject
{
    Q_OBJECT
private slots:
    void exifOrientation_data();
    void exifOrientation();
    void phonePhoto_data();
    void phonePhoto();
    void badInput_data();
    void badInput();
    void staleCache_data();
    void staleCache();
    void screenSizedSourceIsTakenAsItIs();
    void damagedCache_data();
    void damagedCache();
    void pictureFilesDecodeOnce();
};

void TestShowInput::exifOrientation_data()
{
    QTest::addColumn<int>("transformation");
    QTest::addColumn<QList<int>>("quadrants");
    QTest::newRow("upright") << int(QImageIOHandler::TransformationNone) << QList<int>{0, 1, 2, 3};
    QTest::newRow("turned right") << int(QImageIOHandler::TransformationRotate90) << QList<int>{2, 0, 3, 1};
    QTest::newRow("upside down") << int(QImageIOHandler::TransformationRotate180) << QList<int>{3, 2, 1, 0};
    QTest::newRow("turned left") << int(QImageIOHandler::TransformationRotate270) << QList<int>{1, 3, 0, 2};
    QTest::newRow("mirrored") << int(QImageIOHandler::TransformationMirror) << QList<int>{1, 0, 3, 2};
}

// A landscape photo taken with the phone on its side stands upright, filling the picture.
void TestShowInput::exifOrientation()
{
    QFETCH(int, transformation);
    QFETCH(QList<int>, quadrants);
    const QString file = TestEnv::path(QStringLiteral("photo.jpg"));
    QImageWriter writer(file, "jpeg");
    writer.setTransformation(QImageIOHandler::Transformations(transformation));
    QVERIFY(writer.write(::quadrants(QSize(640, 480))));
    const WallpaperLoader::Result loaded = WallpaperLoader::decode(file, QSize(240, 320));
    QCOMPARE(loaded.image.size(), QSize(240, 320));
    QCOMPARE(quadrantsOf(loaded.image), quadrants);
}

void TestShowInput::phonePhoto_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("1 px PNG") << QSize(1, 1) << QByteArray("png");
    QTest::newRow("48 MP JPEG") << QSize(8064, 6048) << QByteArray("jpeg");
}

// A phone's photo is drawn as the wallpaper, decoded once and then taken from the cache.
void TestShowInput::phonePhoto()
{
    QFETCH(QSize, size);
    QFETCH(QByteArray, format);
    setUp(QByteArray());
    const QString file = TestEnv::path(QStringLiteral("photo.") + QString::fromLatin1(format));
    // Written by a process of its own: the 195 MB of the photo would otherwise count in the
    // peak memory of every process this test starts.
    QCOMPARE(QProcess::execute(QCoreApplication::applicationFilePath(),
                               {QStringLiteral("--write-photo"), file, QString::number(size.width()),
                                QString::number(size.height()), QString::fromLatin1(format)}),
             0);
    setWallpaper(file);
    TestEnv::removeFile(kCache);

    Run run = spawnShow();
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QByteArray());
    const QImage drawn(TestEnv::path(kPicture));
    QCOMPARE(drawn.size(), QSize(240, 320));
    if (size.width() > 1)
        QCOMPARE(quadrantsOf(drawn), (QList<int>{0, 1, 2, 3}));
    // Decoded at the picture's size: far below the 195 MB of the full photo.
    QVERIFY2(run.peakMB > 0 && run.peakMB < kPeakLimitMB, qPrintable(QString::number(run.peakMB)));

    // The next run takes the scaled picture from the cache: a cache of another colour under
    // the same key is what it draws.
    const QByteArray key = WallpaperLoader::sourceKey(file);
    QVERIFY(!WallpaperLoader::readCache(TestEnv::path(kCache), key, QSize(240, 320)).isNull());
    QImage marked(240, 320, QImage::Format_RGB32);
    marked.fill(Qt::magenta);
    QVERIFY(WallpaperLoader::writeCache(TestEnv::path(kCache), key, marked));
    run = spawnShow();
    QCOMPARE(run.status, 0);
    QCOMPARE(QImage(TestEnv::path(kPicture)).pixelColor(120, 160), QColor(Qt::magenta));

    // A changed photo is decoded again.
    QImage other(64, 48, QImage::Format_RGB32);
    other.fill(Qt::white);
    QVERIFY(QImageWriter(file, format).write(other));
    QFile changed(file);
    QVERIFY(changed.open(QIODevice::ReadWrite));
    QVERIFY(changed.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    changed.close();
    run = spawnShow();
    QCOMPARE(QImage(TestEnv::path(kPicture)).pixelColor(120, 160), QColor(Qt::white));
}

void TestShowInput::badInput_data()
{
    QTest::addColumn<QByteArray>("theme");
    QTest::addColumn<QString>("hostile");      // a file made a FIFO, or "link NAME": NAME a link to a file
    QTest::addColumn<QStringList>("args");     // show's arguments
    QTest::addColumn<QByteArray>("settings");  // settings.ini after the default
    QTest::addColumn<QByteArray>("weather");   // the weather file
    QTest::addColumn<QByteArray>("logged");    // what standard error names

    const QByteArray item = textItem("Notify", 12, 10, 10, QColor(255, 0, 0));
    QByteArray twelve;
    for (const char *group : {"SysTime", "Time_Hour", "Time_Minute", "Date_Year", "Date_Month", "Date_Day", "Lunar_Year",
                              "Lunar_Month", "Lunar_Day", "Week", "Calendar", "Notify"})
        twelve += QByteArray("[") + group + "]\nEnable = true\nBGImage = big.png\nBGImage_X = -100\nBGImage_Y = -100\n"
                  "BGImage_W = 4096\nBGImage_H = 4096\n";
    // Huge contents are written in pieces by the test ("HUGE" below), so that this process
    // stays small: the memory of a process show is started from counts in show's own peak.
    QByteArray weather;
    for (int i = 0; i < 32; ++i)
        weather += (i == 8 ? QByteArray("HUGE") : QByteArray("12/08 晴")) + "\n";
    const QByteArray maxInt = "2147483647";

    QTest::newRow("wallpaper is a FIFO") << item << "wall.png" << QStringList() << QByteArray() << QByteArray() << QByteArray("wall.png: not a regular file");
    QTest::newRow("wallpaper is not a picture") << item << QString() << QStringList() << QByteArray() << QByteArray() << QByteArray("garbage.jpg");
    // Named as it was set, not as the phone's path it was looked for under as well.
    QTest::newRow("wallpaper is missing") << item << QString() << QStringList() << QByteArray() << QByteArray()
                                          << ("show: wallpaper " + TestEnv::path(QStringLiteral("gone.png")).toUtf8() + ": no such file\n");
    QTest::newRow("weather file is a FIFO") << item << "device/ezxlocal/.weather" << QStringList() << QByteArray("WeatherShow = true\n")
                                            << QByteArray() << QByteArray();
    QTest::newRow("notify.db is a FIFO") << item << "notify.db" << QStringList() << QByteArray("CustomNotify = true\n") << QByteArray() << QByteArray();
    QTest::newRow("theme is a FIFO") << item << "theme/t.theme" << QStringList() << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("current theme leads to /dev/zero")
        << item << QString() << QStringList() << QByteArray("CurrentTheme = ../../../../../../../../dev/zero\n") << QByteArray() << QByteArray();
    QTest::newRow("twelve backgrounds of 4096 x 4096") << twelve << QString() << QStringList() << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("40 MB TextFormat")
        << textItem("Date_Year", 12, 0, 0, QColor(255, 0, 0), "TextFormat = HUGE\n")
        << QString() << QStringList() << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("40 MB weather line")
        << textItem("Weather1_Wind", 12, 0, 0, QColor(255, 0, 0)) << QString() << QStringList() << QByteArray("WeatherShow = true\n") << weather
        << QByteArray();
    QTest::newRow("positions near INT_MAX")
        << textItem("Calendar", 9, 2147483600, 2147483600, QColor(255, 0, 0),
                    "BGImage = big.png\nBGImage_X = " + maxInt + "\nBGImage_W = " + maxInt + "\n")
               + textItem("SysTime", 9, 2147483647, -2147483647, QColor(255, 0, 0))
               + textItem("Week", 9, 2147483647, 2147483647, QColor(255, 0, 0), "Box_W = " + maxInt + "\nRotateAngle = " + maxInt + "\n")
        << QString() << QStringList() << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("calendar shrinking from an enormous font")
        << textItem("Calendar", 2147483647, 10, 10, QColor(255, 0, 0), "Box_W = 40\nBox_H = 20\nFit = shrink\n")
        << QString() << QStringList() << QByteArray() << QByteArray() << QByteArray();
    // The pictures show writes replace a link at their names; the file it led to is left alone.
    const QStringList atMinute{QStringLiteral("--at"), QStringLiteral("2026-12-08T09:06")};
    QTest::newRow("desktop picture is a link") << item << QStringLiteral("link ") + kPicture << QStringList() << QByteArray() << QByteArray()
                                               << QByteArray();
    QTest::newRow("waiting picture is a link") << item << QStringLiteral("link ") + kWaiting << atMinute << QByteArray() << QByteArray()
                                               << QByteArray();
    QTest::newRow("font configuration is a link") << item << QStringLiteral("link device/idle/cache/fonts.conf") << QStringList()
                                                  << QByteArray() << QByteArray() << QByteArray();
}

// Writes a file in which the word HUGE stands for 40 MB of text, in pieces.
void writeHuge(const QString &relative, const QByteArray &content)
{
    QFile file(TestEnv::path(relative));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const qsizetype at = content.indexOf("HUGE");
    file.write(content.left(at));
    const QByteArray piece(1024 * 1024, 'W');
    for (int i = 0; i < 40; ++i)
        file.write(piece);
    file.write(content.mid(at + 4));
}

void TestShowInput::badInput()
{
    QFETCH(QByteArray, theme);
    QFETCH(QString, hostile);
    QFETCH(QStringList, args);
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, weather);
    QFETCH(QByteArray, logged);
    setUp(theme, settings);
    QImage big(64, 64, QImage::Format_RGB32);
    big.fill(Qt::green);
    QVERIFY(big.save(TestEnv::path(QStringLiteral("theme/images/big.png"))));
    if (!weather.isEmpty())
        writeHuge(QStringLiteral("device/ezxlocal/.weather"), weather);
    if (theme.contains("HUGE"))
        writeHuge(QStringLiteral("theme/t.theme"), theme);
    if (QByteArray(QTest::currentDataTag()).contains("not a picture")) {
        TestEnv::writeFile(QStringLiteral("garbage.jpg"), QByteArray(1000, '\x42'));
        setWallpaper(TestEnv::path(QStringLiteral("garbage.jpg")));
    }
    if (QByteArray(QTest::currentDataTag()).contains("missing"))
        setWallpaper(TestEnv::path(QStringLiteral("gone.png")));
    QFile::remove(TestEnv::path(kPicture));
    QFile::remove(TestEnv::path(kWaiting));
    const QString linked = hostile.startsWith(QLatin1String("link ")) ? hostile.mid(5) : QString();
    const QString fifo = linked.isEmpty() ? hostile : QString();
    if (!fifo.isEmpty())
        QVERIFY(TestEnv::plantHostile(QStringLiteral("FIFO"), fifo));
    if (!linked.isEmpty()) // to linked + ".target"
        QVERIFY(TestEnv::plantHostile(QStringLiteral("link"), linked, "keep me\n"));

    const Run run = spawnShow(args);
    if (!fifo.isEmpty())
        TestEnv::removeFile(fifo);
    QCOMPARE(run.status, 0);
    QCOMPARE(QImage(TestEnv::path(args.isEmpty() ? kPicture : kWaiting)).size(), QSize(240, 320));
    if (!linked.isEmpty()) {
        QCOMPARE(TestEnv::readFile(linked + QStringLiteral(".target")), QByteArray("keep me\n"));
        QVERIFY(!QFileInfo(TestEnv::path(linked)).isSymLink());
    }
    if (logged.isEmpty()) {
        QCOMPARE(run.err, QByteArray());
    } else {
        QVERIFY2(run.err.startsWith("show: wallpaper ") && run.err.count('\n') == 1 && run.err.contains(logged),
                 run.err.constData());
    }
    QVERIFY2(run.peakMB > 0 && run.peakMB < kPeakLimitMB, qPrintable(QString::number(run.peakMB)));
}

void TestShowInput::staleCache_data()
{
    // Each row changes the source picture "wall.bmp" (64 x 48, red) into a green one of the
    // very same size in bytes, or leaves it.
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("fromCache");
    QTest::newRow("untouched") << "none" << true;
    // Also what two writes within one tick of a coarse clock leave.
    QTest::newRow("rewritten in place, time restored") << "rewrite restore" << false;
    QTest::newRow("replaced by mv, same size and time") << "mv restore" << false;
    QTest::newRow("link pointed at another file of the same time") << "link" << false;
}

// The cache never shows the old picture of a changed source, however the change hides.
void TestShowInput::staleCache()
{
    QFETCH(QString, change);
    QFETCH(bool, fromCache);
    const QString cache = TestEnv::path(QStringLiteral("cache/wallpaper.raw"));
    const QString wall = TestEnv::path(QStringLiteral("wall.bmp"));
    const QString red = TestEnv::path(QStringLiteral("red.bmp"));
    const QString green = TestEnv::path(QStringLiteral("green.bmp"));
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(red, "bmp"));
    picture.fill(Qt::green);
    QVERIFY(picture.save(green, "bmp"));
    QCOMPARE(QFileInfo(red).size(), QFileInfo(green).size());
    for (const QString &file : {wall, cache})
        QFile::remove(file);
    const QDateTime time = QDateTime::currentDateTime().addSecs(-100);
    const auto setTime = [&](const QString &path) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(time, QFileDevice::FileModificationTime));
    };
    setTime(red);
    setTime(green);
    if (change == QLatin1String("link"))
        QVERIFY(QFile::link(red, wall));
    else
        QVERIFY(QFile::copy(red, wall));
    setTime(wall);

    const WallpaperLoader::Result first = WallpaperLoader::load(wall, QSize(240, 320), cache);
    QCOMPARE(first.image.pixelColor(120, 160), QColor(Qt::red));
    QVERIFY(!first.fromCache && QFileInfo::exists(cache));

    if (change.startsWith(QLatin1String("rewrite"))) {
        QFile f(wall);
        QFile g(green);
        QVERIFY(f.open(QIODevice::ReadWrite) && g.open(QIODevice::ReadOnly));
        f.write(g.readAll());
        f.close();
        if (change.endsWith(QLatin1String("restore")))
            setTime(wall);
    } else if (change == QLatin1String("mv restore")) {
        const QString next = TestEnv::path(QStringLiteral("next.bmp"));
        QFile::remove(next);
        QVERIFY(QFile::copy(green, next));
        setTime(next);
        QCOMPARE(std::rename(QFile::encodeName(next).constData(), QFile::encodeName(wall).constData()), 0);
    } else if (change == QLatin1String("link")) {
        QVERIFY(QFile::remove(wall) && QFile::link(green, wall));
    }
    const WallpaperLoader::Result second = WallpaperLoader::load(wall, QSize(240, 320), cache);
    QCOMPARE(second.fromCache, fromCache);
    QCOMPARE(second.image.pixelColor(120, 160), QColor(fromCache ? Qt::red : Qt::green));
}

// A wallpaper of the picture's size is drawn pixel for pixel, and from the cache from the second
// run on; so is one of a very wide desktop.
void TestShowInput::screenSizedSourceIsTakenAsItIs()
{
    const QString cache = TestEnv::path(QStringLiteral("cache/wallpaper.raw"));
    QFile::remove(cache);
    const QString file = TestEnv::path(QStringLiteral("screen.png"));
    const QImage source = quadrants(QSize(240, 320));
    QVERIFY(source.save(file, "png"));
    for (int run = 0; run < 2; ++run) {
        const WallpaperLoader::Result loaded = WallpaperLoader::load(file, QSize(240, 320), cache);
        QCOMPARE(loaded.fromCache, run == 1);
        QCOMPARE(loaded.image, source);
    }
    // A desktop wider than 8192 pixels (monitors side by side) is kept in the cache too.
    QFile::remove(cache);
    for (int run = 0; run < 2; ++run)
        QCOMPARE(WallpaperLoader::load(file, QSize(9000, 8), cache).fromCache, run == 1);
}

void TestShowInput::damagedCache_data()
{
    QTest::addColumn<bool>("wallpaper"); // the wallpaper's cache, else the pictures' cache
    QTest::addColumn<QString>("damage");
    for (bool wallpaper : {true, false}) {
        const char *kind = wallpaper ? "wallpaper" : "pictures";
        for (const char *damage : {"none", "truncated", "one byte more", "garbage", "FIFO", "link"})
            QTest::addRow("%s, %s", kind, damage) << wallpaper << QString::fromLatin1(damage);
    }
}

// A damaged cache is a miss: the picture is decoded again, the same, and the cache replaced (a
// link at its name included, the file it led to left alone); an intact one decodes nothing.
void TestShowInput::damagedCache()
{
    QFETCH(bool, wallpaper);
    QFETCH(QString, damage);
    const QString cache = TestEnv::path(QStringLiteral("cache/damaged.raw"));
    const QString file = TestEnv::path(QStringLiteral("source.png"));
    QFile::remove(cache);
    QImage source = quadrants(QSize(64, 48)).convertToFormat(QImage::Format_ARGB32);
    source.setPixelColor(0, 0, QColor(10, 20, 30, 40));
    QVERIFY(source.save(file, "png"));
    // Returns the picture as drawn and whether it was decoded.
    const auto load = [&]() -> std::pair<QImage, bool> {
        if (wallpaper) {
            const WallpaperLoader::Result loaded = WallpaperLoader::load(file, QSize(240, 320), cache);
            return {loaded.image, !loaded.fromCache};
        }
        PictureFiles files;
        files.useCache(cache);
        const QImage image = files.picture(file, QSize(32, 24));
        files.picture(file); // a second size of the same file
        files.saveCache();
        return {image, files.decodings() > 0};
    };
    const auto [first, decoded] = load();
    QVERIFY(!first.isNull() && decoded);

    QFile stored(cache);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QByteArray bytes = stored.readAll();
    stored.close();
    QVERIFY(QFile::remove(cache));
    if (damage == QLatin1String("FIFO") || damage == QLatin1String("link")) {
        QVERIFY(TestEnv::plantHostile(damage, cache, "keep me\n"));
    } else {
        if (damage == QLatin1String("truncated"))
            bytes.chop(bytes.size() / 3);
        else if (damage == QLatin1String("one byte more"))
            bytes += 'x';
        else if (damage == QLatin1String("garbage"))
            bytes.fill('\xff');
        QFile out(cache);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    }
    const auto [second, decodedAgain] = load();
    QCOMPARE(decodedAgain, damage != QLatin1String("none"));
    QCOMPARE(second, first);
    QVERIFY(QFileInfo(cache).isFile() && !QFileInfo(cache).isSymLink());
    QVERIFY(!load().second);
    if (damage == QLatin1String("link"))
        QCOMPARE(TestEnv::readFile(QStringLiteral("cache/damaged.raw.target")), QByteArray("keep me\n"));
}

// Five weather days of the same icon decode it once; a picture whose name lies about its format
// is still read; what is no picture reads as none.
void TestShowInput::pictureFilesDecodeOnce()
{
    const QString icon = TestEnv::path(QStringLiteral("sunny.png"));
    const QString jpeg = TestEnv::path(QStringLiteral("named.png"));
    QVERIFY(quadrants(QSize(48, 48)).save(icon, "png"));
    QVERIFY(quadrants(QSize(40, 30)).save(jpeg, "jpeg"));
    TestEnv::writeFile(QStringLiteral("garbage.png"), QByteArray(500, 'x'));
    PictureFiles files;
    for (int day = 0; day < 5; ++day)
        QCOMPARE(files.picture(icon, QSize(14, 14)).size(), QSize(14, 14));
    QCOMPARE(files.decodings(), 1);
    QCOMPARE(files.picture(icon).size(), QSize(48, 48));
    QCOMPARE(files.decodings(), 2);
    QCOMPARE(files.storedSize(jpeg), QSize(40, 30));
    QCOMPARE(quadrantsOf(files.picture(jpeg)), (QList<int>{0, 1, 2, 3}));
    QVERIFY(!files.storedSize(TestEnv::path(QStringLiteral("garbage.png"))).isValid());
    QVERIFY(files.picture(TestEnv::path(QStringLiteral("missing.png"))).isNull());

    // A picture above the cache's cap is decoded every run; the cache keeps the others and is
    // not written again for it.
    const QString big = TestEnv::path(QStringLiteral("big.png"));
    QVERIFY(QImage(1600, 1600, QImage::Format_RGB32).save(big, "png"));
    const QString cache = TestEnv::path(QStringLiteral("cache/pictures.raw"));
    QByteArray stamps[2];
    for (QByteArray &stamp : stamps) {
        PictureFiles run;
        run.useCache(cache);
        QCOMPARE(run.picture(icon).size(), QSize(48, 48));
        QCOMPARE(run.picture(big).size(), QSize(1600, 1600));
        QVERIFY(run.saveCache());
        stamp = RawImage::stamp(cache);
    }
    QVERIFY(!stamps[0].isEmpty());
    QCOMPARE(stamps[1], stamps[0]);
}

int main(int argc, char **argv)
{
    // --write-photo FILE WIDTH HEIGHT FORMAT: writes a test photo and ends.
    if (argc == 6 && QByteArray(argv[1]) == "--write-photo") {
        const QSize size(QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toInt());
        QImageWriter writer(QString::fromLocal8Bit(argv[2]), argv[5]);
        writer.setQuality(50);
        return writer.write(size.width() > 1 ? quadrants(size) : QImage(size, QImage::Format_RGB32)) ? 0 : 1;
    }
    TestShowInput tc;
    return TestEnv::run(&tc, argc, argv);
}
#include "tst_showinput.moc"
