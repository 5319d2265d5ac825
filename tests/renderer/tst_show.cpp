// The program show as a process: one picture written where the idle screen reads it.

#include "renderfixture.h"

#include "phoneenv.h"
#include "pngfile.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/stat.h>

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
    void frontAnswersHeldMinutes_data();
    void frontAnswersHeldMinutes();
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

namespace {

// The minute sheet's file as it stands: a new sheet is a new file.
QByteArray sheetIdentity()
{
    struct stat st;
    if (::stat(QFile::encodeName(TestEnv::path(QStringLiteral("device/idle/cache/minutes.sheet"))).constData(), &st) != 0)
        return QByteArray();
    return QByteArray::number(qulonglong(st.st_ino)) + ' ' + QByteArray::number(qlonglong(st.st_mtim.tv_nsec));
}

// A run of the program directory's `program` (show, or its drawing program) as installed, with
// `environment` ("NAME=value") added.
Run runInstalled(const QString &program, const QStringList &arguments, const QStringList &environment = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &variable : environment + QStringList{QStringLiteral("NO_FAKE_STAT=1")})
        env.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.start(TestEnv::path(program), arguments);
    Run run;
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    return run;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void TestShow::frontAnswersHeldMinutes_data()
{
    QTest::addColumn<QString>("minute");      // "" for the current one
    QTest::addColumn<QString>("change");      // made after the sheet
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<bool>("answered");       // by the front, from the sheet

    const QString at = QStringLiteral("2020-05-23T09:");
    QTest::newRow("the drawn minute") << at + QStringLiteral("06") << QString() << QStringList() << true;
    QTest::newRow("a later minute") << at + QStringLiteral("47") << QString() << QStringList() << true;
    QTest::newRow("the current minute") << QString() << QString() << QStringList() << true;
    QTest::newRow("beyond the sheet") << QStringLiteral("2020-05-23T10:06") << QString() << QStringList() << false;
    QTest::newRow("another day") << QStringLiteral("2020-05-24T09:06") << QString() << QStringList() << false;
    QTest::newRow("the theme edited") << at + QStringLiteral("07") << QStringLiteral("theme") << QStringList() << false;
    QTest::newRow("the wallpaper painted over") << at + QStringLiteral("07") << QStringLiteral("wallpaper") << QStringList()
                                                << false;
    QTest::newRow("a damaged sheet") << at + QStringLiteral("07") << QStringLiteral("sheet") << QStringList() << false;
    QTest::newRow("another environment") << at + QStringLiteral("07") << QString()
                                         << QStringList{QStringLiteral("QT_FONT_DPI=144")} << false;
}

// A minute of the sheet is written by the front, exactly as the drawing program writes it; any
// change since the sheet was made leaves the minute to the drawing program.
void TestShow::frontAnswersHeldMinutes()
{
    QFETCH(QString, minute);
    QFETCH(QString, change);
    QFETCH(QStringList, environment);
    QFETCH(bool, answered);
    const auto theme = [](int blue) {
        return textItem("SysTime", 20, 10, 10, QColor(255, 255, 0)) + textItem("Calendar", 9, 10, 100, QColor(255, 255, blue));
    };
    setUp(theme(255));
    QDir(TestEnv::path(QStringLiteral("device/idle"))).removeRecursively();
    const QString ahead = minute.isEmpty() ? QString() : QStringLiteral("2020-05-23T09:06");
    const QStringList args = minute.isEmpty() ? QStringList() : QStringList{QStringLiteral("--at"), minute};
    const QStringList first = minute.isEmpty() ? QStringList() : QStringList{QStringLiteral("--at"), ahead};
    // The first run draws the still part, the second finds it kept and makes the sheet.
    const QString show = QStringLiteral("show");
    TestEnv::installProgram(show);
    QCOMPARE(runInstalled(show, first).status, 0);
    QCOMPARE(runInstalled(show, first).status, 0);
    const QByteArray sheet = sheetIdentity();
    QVERIFY(!sheet.isEmpty());

    if (change == QLatin1String("theme"))
        TestEnv::writeFile(QStringLiteral("theme/t.theme"), theme(254)); // of the same size
    if (change == QLatin1String("wallpaper")) {
        QImage wall(DrawImg::Width, DrawImg::Height, QImage::Format_RGB32);
        wall.fill(QColor(0, 128, 0));
        QVERIFY(wall.save(TestEnv::path(QStringLiteral("wall.png"))));
    }
    if (change == QLatin1String("sheet"))
        QVERIFY(QFile::resize(TestEnv::path(QStringLiteral("device/idle/cache/minutes.sheet")), 40000));

    const Run run = runInstalled(show, args, environment);
    QCOMPARE(run.status, 0);
    const QString target = TestEnv::path(minute.isEmpty() ? kPicture : QStringLiteral("device/idle/cache/desktop.next.png"));
    QCOMPARE(run.out, target.toUtf8() + "\n");
    const QByteArray written = readAll(target);
    QVERIFY(!written.isEmpty());
    // The drawing program, finding the still part kept, would have made a new sheet.
    if (answered)
        QCOMPARE(sheetIdentity(), sheet);
    // The drawing program's own picture of the minute, from the same files.
    QCOMPARE(runInstalled(QStringLiteral("showdraw"), args, environment).status, 0);
    QVERIFY(written == readAll(target));
}

QUILLORA_TEST_MAIN(TestShow)
#include "tst_show.moc"
