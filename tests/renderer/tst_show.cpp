// The program show as a process: one picture written where the idle screen reads it.

#include "renderfixture.h"

#include "phoneenv.h"
#include "pngfile.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace RenderFixture;

namespace {

using Run = ShowRun;

const QString kPicture = QStringLiteral("device/idle/desktop.png");

} // namespace

class TestShow : public QObject
{
    Q_OBJECT
private slots:
    void writesThePictureAndPrintsItsPath();
    void drawsWhatTheRendererComposes();
    void failure_data();
    void failure();
    void drawsAComingMinuteAhead_data();
    void drawsAComingMinuteAhead();
    void fontConfiguration_data();
    void fontConfiguration();
    void pngRoundTrip_data();
    void pngRoundTrip();
    void leakCheckCoversShow();
};

void TestShow::writesThePictureAndPrintsItsPath()
{
    setUp(textItem("Date_Year", 20, 10, 10, QColor(255, 0, 0)));
    QDir(TestEnv::path(QStringLiteral("device/idle"))).removeRecursively();
    const Run run = runShow();
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, TestEnv::path(kPicture).toUtf8() + "\n");
    QCOMPARE(run.err, QByteArray());
    const QImage picture(TestEnv::path(kPicture), "png");
    QCOMPARE(picture.size(), QSize(240, 320));
    QVERIFY(!boundsOfColour(picture.convertToFormat(QImage::Format_RGB32), QColor(255, 0, 0)).isNull());
    // No temporary file is left beside the picture.
    QCOMPARE(QDir(TestEnv::path(QStringLiteral("device/idle"))).entryList(QDir::Files), QStringList{QStringLiteral("desktop.png")});
}

void TestShow::drawsWhatTheRendererComposes()
{
    const QString faketime = QStandardPaths::findExecutable(QStringLiteral("faketime"));
    if (faketime.isEmpty())
        QSKIP("faketime is not installed");
    setUp(textItem("SysTime", 20, 10, 10, QColor(255, 255, 0)) + textItem("Lunar_Month", 14, 10, 60, QColor(0, 255, 255))
          + textItem("Calendar", 9, 10, 100, QColor(255, 255, 255), "TodayColor_R = 255\n"));
    // Under the fake clock with NO_FAKE_STAT=1 (runShow sets it for every run as well), so the
    // font library never takes the system's font cache for stale.
    const Run run = runShow({}, {QStringLiteral("NO_FAKE_STAT=1")}, {faketime, QStringLiteral("2020-05-23 09:05:10")});
    QCOMPARE(run.status, 0);
    const QImage drawn = QImage(TestEnv::path(kPicture), "png").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(drawn, render(QDateTime(QDate(2020, 5, 23), QTime(9, 5, 10))));
}

void TestShow::failure_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("picture path is a folder") << kPicture;
    QTest::newRow("idle folder is a file") << QStringLiteral("device/idle");
}

void TestShow::failure()
{
    QFETCH(QString, obstacle);
    setUp(QByteArray());
    QDir(TestEnv::path(QStringLiteral("device/idle"))).removeRecursively();
    if (obstacle == kPicture)
        QVERIFY(QDir().mkpath(TestEnv::path(kPicture)));
    else
        TestEnv::writeFile(obstacle, "not a folder");
    const Run run = runShow();
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.startsWith("show: ") && run.err.endsWith('\n') && run.err.count('\n') == 1, run.err.constData());
    QDir(TestEnv::path(QStringLiteral("device/idle"))).removeRecursively();
    TestEnv::removeFile(QStringLiteral("device/idle"));
}

void TestShow::drawsAComingMinuteAhead_data()
{
    QTest::addColumn<QString>("minute");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("status");
    QTest::newRow("a minute") << "2020-05-23T09:06" << QByteArray() << 0;
    QTest::newRow("a day's change") << "2020-05-24T00:00" << QByteArray() << 0;
    QTest::newRow("no date") << "09:06" << QByteArray() << 2;
    QTest::newRow("no such time") << "2020-05-23T25:06" << QByteArray() << 2;
    QTest::newRow("a real desktop chosen") << "2020-05-23T09:06" << QByteArray("\n[Desktop]\nTarget = command\nCommand = true\n") << 3;
}

// "show --at MINUTE" draws that minute into the waiting picture; the desktop stays as it was.
void TestShow::drawsAComingMinuteAhead()
{
    QFETCH(QString, minute);
    QFETCH(QByteArray, settings);
    QFETCH(int, status);
    setUp(textItem("SysTime", 20, 10, 10, QColor(255, 255, 0)) + textItem("Calendar", 9, 10, 100, QColor(255, 255, 255)),
          settings);
    QDir(TestEnv::path(QStringLiteral("device/idle"))).removeRecursively();
    const Run run = runShow({QStringLiteral("--at"), minute});
    QCOMPARE(run.status, status);
    QVERIFY(!QFileInfo::exists(TestEnv::path(kPicture)));
    const QString waiting = TestEnv::path(QStringLiteral("device/idle/cache/desktop.next.png"));
    if (status != 0) {
        QVERIFY(!QFileInfo::exists(waiting));
        return;
    }
    QCOMPARE(run.out, waiting.toUtf8() + "\n");
    const QImage drawn = QImage(waiting, "png").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(drawn, render(QDateTime::fromString(minute, Qt::ISODate)));
}

void TestShow::fontConfiguration_data()
{
    QTest::addColumn<QStringList>("fonts");   // font files, of folders "a" and "b"
    QTest::addColumn<QStringList>("missing"); // files and folders that are not there
    QTest::addColumn<QStringList>("folders"); // the font folders of the configuration; none: no configuration
    QTest::newRow("two folders") << QStringList{QStringLiteral("a/one.ttf"), QStringLiteral("b/two.ttc")} << QStringList() << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("one folder once") << QStringList{QStringLiteral("a/one.ttf"), QStringLiteral("a/two.ttf")} << QStringList() << QStringList{QStringLiteral("a")};
    QTest::newRow("a font missing") << QStringList{QStringLiteral("a/one.ttf"), QStringLiteral("b/two.ttc")} << QStringList{QStringLiteral("b/two.ttc")} << QStringList();
    QTest::newRow("the rules missing") << QStringList{QStringLiteral("a/one.ttf")} << QStringList{QStringLiteral("rules")} << QStringList();
}

// show's own font configuration knows the phone font's folders and those of the system's rules
// that bear on them, or there is none and the system's is used.
void TestShow::fontConfiguration()
{
    QFETCH(QStringList, fonts);
    QFETCH(QStringList, missing);
    QFETCH(QStringList, folders);
    QStringList files;
    for (const QString &font : fonts) {
        if (!missing.contains(font))
            TestEnv::writeFile(QStringLiteral("fonts/") + font, "font");
        files << TestEnv::path(QStringLiteral("fonts/") + font);
    }
    // A rule folder as the system's: rendering defaults, aliases, the fonts' own rules.
    const QString rules = TestEnv::path(QStringLiteral("fonts/rules"));
    if (!missing.contains(QStringLiteral("rules")))
        for (const char *rule : {"10-hinting-slight.conf", "11-lcdfilter-default.conf", "20-unhint-small-one.conf",
                                 "30-metric-aliases.conf", "57-one.conf", "65-two-mono.conf", "65-other.conf",
                                 "90-synthetic.conf", "README"})
            TestEnv::writeFile(QStringLiteral("fonts/rules/") + QLatin1String(rule), "<fontconfig/>");
    const QByteArray text = PhoneEnv::phoneFontConfiguration(files, rules);
    QDir(TestEnv::path(QStringLiteral("fonts"))).removeRecursively();
    if (folders.isEmpty()) {
        QCOMPARE(text, QByteArray());
        return;
    }
    QStringList dirs;
    for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n')))
        if (line.trimmed().startsWith(QLatin1String("<dir>")))
            dirs << line.trimmed().mid(5).chopped(6);
    QStringList expected;
    for (const QString &folder : folders)
        expected << TestEnv::path(QStringLiteral("fonts/") + folder);
    QCOMPARE(dirs, expected);
    // Only the rules that can change how the fonts draw are read.
    QStringList included;
    for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n')))
        if (line.contains(QLatin1String("<include ")))
            included << QFileInfo(line.section(QLatin1Char('>'), 1).section(QLatin1Char('<'), 0, 0)).fileName();
    QStringList chosen{QStringLiteral("10-hinting-slight.conf"), QStringLiteral("11-lcdfilter-default.conf"),
                       QStringLiteral("20-unhint-small-one.conf"), QStringLiteral("57-one.conf")};
    if (fonts.contains(QStringLiteral("b/two.ttc")) || fonts.contains(QStringLiteral("a/two.ttf")))
        chosen << QStringLiteral("65-two-mono.conf");
    chosen << QStringLiteral("90-synthetic.conf");
    QCOMPARE(included, chosen);
    QVERIFY(text.contains("<cachedir>"));
}

void TestShow::pngRoundTrip_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("opaque") << int(QImage::Format_RGB32);
    QTest::newRow("with alpha") << int(QImage::Format_ARGB32);
    QTest::newRow("premultiplied alpha") << int(QImage::Format_ARGB32_Premultiplied);
}

// The desktop's PNG encoder keeps every pixel, alpha included.
void TestShow::pngRoundTrip()
{
    QFETCH(int, format);
    QImage image(240, 320, QImage::Format(format));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor(x, y % 256, (x * y) % 256, image.hasAlphaChannel() ? (x + y) % 256 : 255));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY(PngFile::write(&buffer, image, &error));
    const QImage read = QImage::fromData(buffer.data(), "png");
    const QImage::Format plain = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    QCOMPARE(read.convertToFormat(plain), image.convertToFormat(plain));

    // A device that takes nothing is a failure with its reason.
    QBuffer closed;
    QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): device not open");
    QVERIFY(!PngFile::write(&closed, image, &error));
    QVERIFY(!error.isEmpty());
}

void TestShow::leakCheckCoversShow()
{
#if defined(__SANITIZE_ADDRESS__)
    // show ends with _exit; a leak planted before it is still reported, so its leaks are checked.
    setUp(QByteArray());
    QTemporaryDir reports;
    const QString log = QStringLiteral("ASAN_OPTIONS=detect_leaks=1:log_path=") + reports.path() + QStringLiteral("/asan");
    const Run run = runShow({}, {log, QStringLiteral("QUILLORA_PLANT_LEAK=1")});
    QVERIFY(run.status != 0);
    const QStringList found = QDir(reports.path()).entryList(QDir::Files);
    QCOMPARE(found.size(), 1);
    QFile report(reports.path() + QLatin1Char('/') + found.first());
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QByteArray text = report.readAll();
    QVERIFY2(text.contains("ERROR: LeakSanitizer") && text.contains("plantLeaks"), text.left(2000).constData());
#else
    QSKIP("only a sanitized build checks for leaks");
#endif
}

QUILLORA_TEST_MAIN(TestShow)
#include "tst_show.moc"
