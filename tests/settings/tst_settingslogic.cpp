// The settings program's logic without a window: process command lines against stand-in
// programs, the autorun and script edits, the idle-clock values, and the file lists and names.

#include "device.h"
#include "idleclock.h"
#include "processcontrol.h"
#include "scriptedits.h"
#include "stubs.h"
#include "testenv.h"
#include "themefiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class TestSettingsLogic : public QObject
{
    Q_OBJECT
private slots:
    void cleanupTestCase() { Stubs::stopAll(); }

    void startAndStopInAnyDirectory_data();
    void startAndStopInAnyDirectory();
    void stopLeavesOtherDirectoriesAlone();
    void stopWithNothingRunning();

    void autorun_data();
    void autorun();
    void autorunUnreadableIsKept();
    void autostartOnARealDesktop();
    void interval_data();
    void interval();
    void intervalKeepsScriptExecutable();

    void colorValue_data();
    void colorValue();

    void fileLists();
    void saveAsName_data();
    void saveAsName();
};

void TestSettingsLogic::startAndStopInAnyDirectory_data()
{
    QTest::addColumn<QString>("sub");
    QTest::addColumn<bool>("replaced"); // the program files are replaced while they run
    QTest::newRow("plain") << "plain" << false;
    QTest::newRow("blank and quote") << "it's a dir" << false;
    QTest::newRow("shell characters") << "a;b $(x) `y` &z" << false;
    QTest::newRow("replaced since started") << "plain" << true;
    QTest::newRow("replaced, shell characters") << "a;b $(x) `y` &z" << true;
}

void TestSettingsLogic::startAndStopInAnyDirectory()
{
    QFETCH(QString, sub);
    QFETCH(bool, replaced);
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QLatin1Char('/') + sub + QLatin1Char('/');
    QVERIFY(QDir().mkpath(dir));
    Stubs::install(dir, QStringLiteral("tarnwick"));
    Stubs::install(dir, QStringLiteral("morvessa"));
    const ProcessControl proc(dir);

    proc.startDaemon();
    proc.startRotator();
    QVERIFY(Stubs::waitFor(dir, QStringLiteral("started tarnwick")));
    QVERIFY(Stubs::waitFor(dir, QStringLiteral("started morvessa")));
    if (replaced) {
        Stubs::install(dir, QStringLiteral("tarnwick"));
        Stubs::install(dir, QStringLiteral("morvessa"));
    }

    proc.stopRotator();
    QVERIFY(Stubs::waitFor(dir, QStringLiteral("stopped morvessa")));
    QVERIFY(!Stubs::log(dir).contains(QStringLiteral("stopped tarnwick")));
    proc.stopDaemon();
    QVERIFY(Stubs::waitFor(dir, QStringLiteral("stopped tarnwick")));
    // Nothing but the two programs ever ran: no word of the directory name became a command.
    QCOMPARE(Stubs::log(dir).size(), 4);
}

void TestSettingsLogic::stopLeavesOtherDirectoriesAlone()
{
    QTemporaryDir other;
    const QString otherDir = other.path() + QLatin1Char('/');
    Stubs::install(otherDir, QStringLiteral("tarnwick"));
    QProcess foreign;
    foreign.start(otherDir + QStringLiteral("tarnwick"), {});
    QVERIFY(foreign.waitForStarted());
    QVERIFY(Stubs::waitFor(otherDir, QStringLiteral("started tarnwick")));

    Stubs::install(TestEnv::dir(), QStringLiteral("tarnwick"));
    const ProcessControl proc(TestEnv::dir());
    proc.startDaemon();
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started tarnwick")));
    proc.stopDaemon();
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("stopped tarnwick")));

    QCOMPARE(foreign.state(), QProcess::Running);
    QVERIFY(!Stubs::log(otherDir).contains(QStringLiteral("stopped tarnwick")));
    foreign.terminate();
    QVERIFY(foreign.waitForFinished(5000));
}

void TestSettingsLogic::stopWithNothingRunning()
{
    Stubs::clearLog(TestEnv::dir());
    const ProcessControl proc(TestEnv::dir());
    proc.stopDaemon();
    proc.stopRotator();
    QVERIFY(Stubs::log(TestEnv::dir()).isEmpty());
}

void TestSettingsLogic::autorun_data()
{
    QTest::addColumn<QByteArray>("before"); // "-" for a missing file
    QTest::addColumn<bool>("on");
    QTest::addColumn<QByteArray>("after");
    const QByteArray line = Platform::shellQuote(TestEnv::dir() + QStringLiteral("tarnwick.lin")).toUtf8() + " &\n";
    QTest::newRow("on replaces old suite line") << QByteArray("a\nb\n/old/tarnwick.lin &\n") << true
                                                << QByteArray("a\nb\n") + line;
    QTest::newRow("off drops it") << QByteArray("a\nb\n/old/tarnwick.lin &\n") << false << QByteArray("a\nb\n");
    QTest::newRow("on twice leaves one") << QByteArray("a\n") + line << true << QByteArray("a\n") + line;
    QTest::newRow("off drops hand-written lines") << QByteArray("x\necho tarnwick\ny") << false
                                                  << QByteArray("x\ny\n");
    QTest::newRow("case-sensitive") << QByteArray("Tarnwick\n") << false << QByteArray("Tarnwick\n");
    QTest::newRow("missing file, on") << QByteArray("-") << true << line;
    QTest::newRow("missing file, off") << QByteArray("-") << false << QByteArray();
    // "@": the program directory given relative to the working directory, as "./" when the
    // settings program is started as "./quillora": the line still names the script absolutely.
    QTest::newRow("relative program directory") << QByteArray("@") << true << line;
}

void TestSettingsLogic::autorun()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, on);
    QFETCH(QByteArray, after);
    const QString file = TestEnv::path(QStringLiteral("device/ezxlocal/autorun.txt"));
    QFile::remove(file);
    if (before != "-" && before != "@")
        TestEnv::writeFile(QStringLiteral("device/ezxlocal/autorun.txt"), before);
    const QString dir = before == "@" ? QDir::current().relativeFilePath(TestEnv::dir()) + QLatin1Char('/')
                                      : TestEnv::dir();
    QVERIFY(ScriptEdits::updateAutorun(file, dir, on));
    QVERIFY(QFile::exists(file));
    QCOMPARE(TestEnv::readFile(QStringLiteral("device/ezxlocal/autorun.txt")), after);
}

void TestSettingsLogic::autorunUnreadableIsKept()
{
    // A path that exists but cannot be read as a file is never replaced by an empty one.
    const QString path = TestEnv::path(QStringLiteral("device/ezxlocal/unreadable"));
    QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
    QVERIFY(!ScriptEdits::updateAutorun(path, TestEnv::dir(), true));
    QVERIFY(QFileInfo(path + QStringLiteral("/inside")).isDir());
}

void TestSettingsLogic::autostartOnARealDesktop()
{
    const QByteArray settings = TestEnv::readFile(QStringLiteral("settings.ini"));
    TestEnv::writeFile(QStringLiteral("settings.ini"), settings + "\n[Desktop]\nTarget = gnome\n");
    const QString autorun = TestEnv::path(QStringLiteral("device/ezxlocal/autorun.txt"));
    TestEnv::writeFile(QStringLiteral("device/ezxlocal/autorun.txt"), "x\n");
    const QString entry = ScriptEdits::autostartPath(QStringLiteral("tarnwick"));
    QVERIFY(entry.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/")));

    QVERIFY(ScriptEdits::updateStartup(autorun, TestEnv::dir(), true));
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("\nExec=/bin/sh \"" + TestEnv::path(QStringLiteral("tarnwick.lin")).toUtf8() + "\"\n"));
    // The phone's autorun file is the phone's alone.
    QCOMPARE(TestEnv::readFile(QStringLiteral("device/ezxlocal/autorun.txt")), QByteArray("x\n"));
    QVERIFY(ScriptEdits::updateStartup(autorun, TestEnv::dir(), false));
    QVERIFY(!QFileInfo::exists(entry));
    TestEnv::writeFile(QStringLiteral("settings.ini"), settings);

    // Quoted for the entry format: a folder with a space, a dollar and a percent sign.
    QVERIFY(ScriptEdits::autostartEntry(QStringLiteral("/o p/$x%/"), QStringLiteral("fetchweather"))
                .contains("\nExec=/bin/sh \"/o p/\\$x%%/fetchweather.lin\"\n"));
}

void TestSettingsLogic::interval_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("comment dropped with the line")
        << QByteArray("#!/bin/sh\nwhile true; do\n  sleep 30 # wait\ndone\n") << 45
        << QByteArray("#!/bin/sh\nwhile true; do\n\t sleep 45\ndone\n");
    QTest::newRow("every sleep line") << QByteArray("sleep 1\nusleep 2\n") << 7
                                      << QByteArray("\t sleep 7\n\t sleep 7\n");
    QTest::newRow("no sleep line") << QByteArray("a\nSLEEP 3\n") << 9 << QByteArray("a\nSLEEP 3\n");
    QTest::newRow("missing final newline") << QByteArray("x\nsleep 5") << 60 << QByteArray("x\n\t sleep 60\n");
}

void TestSettingsLogic::interval()
{
    QFETCH(QByteArray, before);
    QFETCH(int, seconds);
    QFETCH(QByteArray, after);
    TestEnv::writeFile(QStringLiteral("script.lin"), before);
    QVERIFY(ScriptEdits::updateInterval(TestEnv::path(QStringLiteral("script.lin")), seconds));
    QCOMPARE(TestEnv::readFile(QStringLiteral("script.lin")), after);
}

void TestSettingsLogic::intervalKeepsScriptExecutable()
{
    const QString script = TestEnv::path(QStringLiteral("morvessa.lin"));
    TestEnv::writeFile(QStringLiteral("morvessa.lin"), "#!/bin/sh\nsleep 30\n");
    QVERIFY(QFile(script).setPermissions(QFile(script).permissions() | QFile::ExeOwner));
    QVERIFY(ScriptEdits::updateInterval(script, 12));
    QVERIFY(QFile(script).permissions() & QFile::ExeOwner);

    QFile::remove(script);
    QVERIFY(ScriptEdits::updateInterval(script, 12));
    QVERIFY(QFile::exists(script));
    QCOMPARE(TestEnv::readFile(QStringLiteral("morvessa.lin")), QByteArray());
}

void TestSettingsLogic::colorValue_data()
{
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("value");
    QTest::newRow("ff000a") << 255 << 0 << 10 << 16711690;
    QTest::newRow("black") << 0 << 0 << 0 << 0;
    QTest::newRow("white") << 255 << 255 << 255 << 0xffffff;
    QTest::newRow("single digits padded") << 1 << 2 << 3 << 0x010203;
    QTest::newRow("out of range kept in 0..255") << 300 << -1 << 16 << 0xff0010;
}

void TestSettingsLogic::colorValue()
{
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(int, value);
    QCOMPARE(IdleClock::colorValue(r, g, b), value);
}

void TestSettingsLogic::fileLists()
{
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QLatin1Char('/');
    QDir().mkpath(dir + QStringLiteral("theme/images"));
    QDir().mkpath(dir + QStringLiteral("theme/folder.theme"));
    for (const char *f : {"theme/Red.theme", "theme/blue.theme", "theme/a.b.theme", "theme/notes.txt",
                          "theme/images/z.png", "theme/images/B.jpg", "theme/images/c.bmp", "theme/images/d.gif"}) {
        QFile file(dir + QLatin1String(f));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QStringList themes = ThemeFiles::themeFiles(dir);
    QCOMPARE(themes, QStringList({QStringLiteral("a.b.theme"), QStringLiteral("blue.theme"), QStringLiteral("Red.theme")}));
    QCOMPARE(ThemeFiles::displayNames(themes), QStringList({QStringLiteral("a.b"), QStringLiteral("blue"), QStringLiteral("Red")}));
    QCOMPARE(ThemeFiles::cycleEntries(dir), QStringList({QStringLiteral("_"), QStringLiteral("a.b.theme"), QStringLiteral("blue.theme"), QStringLiteral("Red.theme")}));
    QCOMPARE(ThemeFiles::pictureEntries(dir), QStringList({QStringLiteral(""), QStringLiteral("B.jpg"), QStringLiteral("c.bmp"), QStringLiteral("z.png")}));
    QCOMPARE(ThemeFiles::languageFiles(dir), QStringList());
}

void TestSettingsLogic::saveAsName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "Night" << true;
    QTest::newRow("blank and quote") << "my 'theme'" << true;
    QTest::newRow("dots") << ".." << true; // "...theme" stays inside theme/
    QTest::newRow("chinese") << "夜色" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("parent") << "../x" << false;
    QTest::newRow("absolute") << "/etc/x" << false;
    QTest::newRow("newline") << "a\nb" << false;
    QTest::newRow("list separator") << "a;b" << false;
}

void TestSettingsLogic::saveAsName()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(ThemeFiles::isValidSaveAsName(name), valid);
}

QUILLORA_TEST_MAIN(TestSettingsLogic)
#include "tst_settingslogic.moc"
