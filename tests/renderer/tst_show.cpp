// The program show as a process: one picture written where the idle screen reads it.

#include "renderfixture.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace RenderFixture;

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run runShow(const QStringList &prefix = {}, const QStringList &environment = {})
{
    const QString show = TestEnv::installProgram(QStringLiteral("show"));
    QProcess process;
    process.setWorkingDirectory(QDir::rootPath()); // relative files come from the program directory
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    // Under faketime, fontconfig must not see shifted file dates, or it rewrites the system
    // font cache.
    env.insert(QStringLiteral("NO_FAKE_STAT"), QStringLiteral("1"));
    for (const QString &variable : environment)
        env.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    if (prefix.isEmpty())
        process.start(show, {});
    else
        process.start(prefix.first(), prefix.mid(1) + QStringList{show});
    Run run;
    if (!process.waitForFinished(30000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

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
    const Run run = runShow({faketime, QStringLiteral("2020-05-23 09:05:10")});
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
