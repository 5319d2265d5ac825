// The theme daemon as a program: started from the test's program directory, driven through the
// broadcast channels with the qcop command, its clock moved with libfaketime.
#include "qcopchannel.h"
#include "idlefocus.h"
#include "stubshow.h"
#include "testenv.h"
#include "zconfig.h"

#include <QProcess>

#include <memory>

class TestTarnwick : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void redrawsWhenTheMinuteChanges();
    void displayOffStopsTicksAndOnRedrawsAtOnce();
    void themeKeys();
    void refreshOffDrawsOncePausesAndEnds_data();
    void refreshOffDrawsOncePausesAndEnds();
    void withoutSettingsFileTheShippedOnes();
    void deafProgramSaysSoAndFails_data();
    void deafProgramSaysSoAndFails();

private:
    // Fake time = real time + offset seconds; a rate > 1 makes it (and sleeps) run faster.
    void setClockOffset(qint64 seconds, int rate = 1);
    // The offset that puts the fake clock at the given second of a minute now; from a given
    // offset, of the minute that offset shows now.
    static qint64 offsetToSecond(int second, qint64 from = 0);
    // The daemon's environment: offscreen, with the fake clock.
    QProcessEnvironment environment();
    // The time of day on the fake clock.
    QTime fakeTime();
    void startDaemon();
    void qcop(const QStringList &args);
    void key(int code, int state) { qcop({QStringLiteral("/hardkey/bc"), QStringLiteral("keyMsg(int,int)"), QString::number(code), QString::number(state)}); }
    // Once the daemon has handled every message sent to it so far, "show" ran as often as
    // before them.
    void expectNoRedraw(int before);

    std::unique_ptr<QProcess> m_daemon;
    QString m_clockFile;
};

void TestTarnwick::initTestCase()
{
    TestEnv::installProgram(QStringLiteral("tarnwick"));
    TestEnv::installProgram(QStringLiteral("qcop"));
    QVERIFY(QFileInfo(TestEnv::path(QStringLiteral("tarnwick"))).isExecutable());
    m_clockFile = TestEnv::path(QStringLiteral("faketime.rc"));
}

void TestTarnwick::init()
{
    StubShow::install();
    QVERIFY(Platform::setIdleFocus(true));
    TestEnv::writeFile(QStringLiteral("settings.ini"),
                       "[Quillora]\nRefresh = 1\nThemeList = a.theme;b.theme;c.theme\nCurrentTheme = c.theme\n");
}

void TestTarnwick::cleanup()
{
    if (m_daemon) {
        TestEnv::killFakeClockProgram(*m_daemon);
        m_daemon.reset();
    }
}

void TestTarnwick::setClockOffset(qint64 seconds, int rate)
{
    QByteArray line = (seconds < 0 ? "" : "+") + QByteArray::number(seconds);
    if (rate != 1)
        line += " x" + QByteArray::number(rate);
    QFile file(m_clockFile + QStringLiteral(".new"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(line + "\n");
    file.close();
    QVERIFY(::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(m_clockFile).constData()) == 0);
}

qint64 TestTarnwick::offsetToSecond(int second, qint64 from)
{
    return from + second - QTime::currentTime().addSecs(from).second();
}

QProcessEnvironment TestTarnwick::environment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FAKETIME_LIB));
    env.insert(QStringLiteral("FAKETIME_TIMESTAMP_FILE"), m_clockFile);
    env.insert(QStringLiteral("FAKETIME_NO_CACHE"), QStringLiteral("1"));
    // fontconfig must not see shifted file dates, or it rewrites the system font cache.
    env.insert(QStringLiteral("NO_FAKE_STAT"), QStringLiteral("1"));
    env.insert(QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC"), QStringLiteral("1"));
    return env;
}

QTime TestTarnwick::fakeTime()
{
    QProcess date;
    date.setProcessEnvironment(environment());
    date.start(QStringLiteral("date"), {QStringLiteral("+%H:%M:%S")});
    date.waitForFinished(5000);
    return QTime::fromString(QString::fromLatin1(date.readAllStandardOutput().trimmed()), QStringLiteral("HH:mm:ss"));
}

void TestTarnwick::startDaemon()
{
    if (QByteArray(FAKETIME_LIB).isEmpty())
        QSKIP("libfaketime is not installed");
    const QProcessEnvironment env = environment();
    m_daemon = std::make_unique<QProcess>();
    m_daemon->setProcessEnvironment(env);
    m_daemon->setProcessChannelMode(QProcess::ForwardedChannels);
    m_daemon->start(TestEnv::path(QStringLiteral("tarnwick")), QStringList());
    QVERIFY(m_daemon->waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("/hardkey/bc"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("EZX/System"), 5000);
}

void TestTarnwick::qcop(const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(TestEnv::path(QStringLiteral("qcop")), args);
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitCode(), 0);
}

void TestTarnwick::expectNoRedraw(int before)
{
    QVERIFY(TestEnv::handledEarlierMessages(m_daemon->processId()));
    QCOMPARE(StubShow::count(), before);
}

void TestTarnwick::redrawsWhenTheMinuteChanges()
{
    setClockOffset(offsetToSecond(56));
    startDaemon();
    // The first tick draws; the ticks of the rest of that minute do not, but one in its last
    // second has the next minute drawn ahead, which becomes the desktop when that minute begins.
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 2, 8000);
    const QTime first = QTime::fromString(StubShow::field(0, 0), QStringLiteral("HH:mm:ss"));
    const QTime second = QTime::fromString(StubShow::field(1, 0), QStringLiteral("HH:mm:ss"));
    QVERIFY2(first.second() >= 56, qPrintable(StubShow::calls().join(QLatin1Char(','))));
    QCOMPARE(second.second(), 59);
    const QString next = QTime(first.hour(), first.minute()).addSecs(60).toString(QStringLiteral("HH:mm"));
    QVERIFY2(StubShow::field(1, 3).startsWith(QLatin1String("--at ")) && StubShow::field(1, 3).endsWith(QLatin1Char('T') + next),
             qPrintable(StubShow::field(1, 3)));
    QTRY_COMPARE_WITH_TIMEOUT(TestEnv::readFile(QStringLiteral("device/idle/desktop.png")).right(5), next.toUtf8(), 2000);
    // The minute check within the minute put in place draws nothing ("LCDOn" runs it at once).
    qcop({QStringLiteral("EZX/System"), QStringLiteral("LCDOn")});
    expectNoRedraw(2);
    QCOMPARE(m_daemon->state(), QProcess::Running);
}

void TestTarnwick::displayOffStopsTicksAndOnRedrawsAtOnce()
{
    const qint64 offset = offsetToSecond(10);
    setClockOffset(offset);
    startDaemon();
    if (!TestEnv::canSeeWaits(m_daemon->processId()))
        QSKIP("the kernel does not show what a process waits for");
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 1, 5000);

    // Display off, then the minute changes: no tick runs, so nothing is drawn. The ticks have
    // stopped, not just missed the moment: the daemon sleeps with no timer until a message comes.
    qcop({QStringLiteral("EZX/System"), QStringLiteral("LCDOff")});
    setClockOffset(offset + 60);
    expectNoRedraw(1);
    QVERIFY(TestEnv::sleepsUntilMessage(m_daemon->processId()));
    // Display on: the minute check runs at once.
    qcop({QStringLiteral("EZX/System"), QStringLiteral("LCDOn")});
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 2, 2000);

    // Off for exactly one hour: the same minute of the hour, yet another minute of the day.
    qcop({QStringLiteral("EZX/System"), QStringLiteral("LCDOff")});
    setClockOffset(offset + 60 + 3600);
    expectNoRedraw(2);
    QVERIFY(TestEnv::sleepsUntilMessage(m_daemon->processId()));
    qcop({QStringLiteral("EZX/System"), QStringLiteral("LCDOn")});
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 3, 2000);
    // The ticks run again, and keep quiet within the minute: in its last second the next run of
    // "show" is the coming minute drawn ahead, by a tick.
    setClockOffset(offsetToSecond(58, offset + 60 + 3600));
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 4, 3000);
    QVERIFY2(StubShow::field(3, 3).startsWith(QLatin1String("--at ")), qPrintable(StubShow::calls().join(QLatin1Char(','))));
}

void TestTarnwick::themeKeys()
{
    setClockOffset(offsetToSecond(5));
    startDaemon();
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 1, 5000);

    key(4171, 1);
    key(4171, 2);
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 2, 5000);
    // The new theme was in settings.ini before "show" ran.
    QCOMPARE(StubShow::field(1, 1), QStringLiteral("a.theme"));

    // Behind another window the keys do nothing.
    QVERIFY(Platform::setIdleFocus(false));
    key(4172, 1);
    key(4172, 2);
    expectNoRedraw(2);
    QVERIFY(Platform::setIdleFocus(true));

    // A press with another key's state between press and release changes nothing. The daemon
    // handles messages in order: once the press that follows has drawn its theme, the earlier
    // keys were handled, and a theme change of theirs would have come first.
    key(4172, 1);
    key(4172, 0x10000001);
    key(4172, 2);
    key(4171, 1);
    key(4171, 2);
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 3, 5000);
    QCOMPARE(StubShow::field(2, 1), QStringLiteral("b.theme"));

    key(4172, 1);
    key(4172, 2);
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 4, 5000);
    QCOMPARE(StubShow::field(3, 1), QStringLiteral("a.theme"));
    key(4172, 1);
    key(4172, 2);
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 5, 5000);
    QCOMPARE(StubShow::field(4, 1), QStringLiteral("c.theme"));
    QCOMPARE(ZConfig(TestEnv::path(QStringLiteral("settings.ini")))
                 .readEntry(QStringLiteral("Quillora"), QStringLiteral("CurrentTheme")),
             QStringLiteral("c.theme"));
}

void TestTarnwick::refreshOffDrawsOncePausesAndEnds_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("off") << QByteArray("[Quillora]\nRefresh = 0\n");
    QTest::newRow("missing counts as off") << QByteArray("[Quillora]\nThemeList = a.theme;b.theme\n");
}

void TestTarnwick::refreshOffDrawsOncePausesAndEnds()
{
    // The clock runs a thousand times faster, so the pause of 2000 seconds lasts two.
    QFETCH(QByteArray, settings);
    TestEnv::writeFile(QStringLiteral("settings.ini"), settings);
    setClockOffset(0, 1000);
    startDaemon();
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 1, 5000);
    key(4171, 1);
    key(4171, 2);
    qcop({QStringLiteral("EZX/System"), QStringLiteral("LCDOn")});
    QVERIFY(m_daemon->waitForFinished(15000));
    QCOMPARE(m_daemon->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_daemon->exitCode(), 0);
    // It ended after its pause: 2000 s of its own clock since the drawing.
    const QTime drawn = QTime::fromString(StubShow::field(0, 0), QStringLiteral("HH:mm:ss"));
    const int paused = (drawn.secsTo(fakeTime()) + 86400) % 86400;
    QVERIFY2(paused >= 2000, qPrintable(QString::number(paused)));
    // Nothing after the pause: the messages that came meanwhile were never handled.
    QCOMPARE(StubShow::count(), 1);
}

void TestTarnwick::withoutSettingsFileTheShippedOnes()
{
    // The shipped defaults redraw and cycle Lantern, Frost, Ink; the first theme key writes the
    // whole file from them. The clock stands early in its minute, so no minute's redraw comes
    // between the first picture and the key's.
    setClockOffset(offsetToSecond(5));
    TestEnv::removeFile(QStringLiteral("settings.ini"));
    startDaemon();
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 1, 5000);
    key(4171, 1);
    key(4171, 2);
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 2, 5000);
    QCOMPARE(StubShow::field(1, 1), QStringLiteral("Frost.theme"));
    QCOMPARE(TestEnv::readFile(QStringLiteral("settings.ini")),
             TestEnv::readFile(QStringLiteral("resource/defaults.ini"))
                 .replace("CurrentTheme = Lantern.theme", "CurrentTheme = Frost.theme"));
}

void TestTarnwick::deafProgramSaysSoAndFails_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("theme daemon") << QStringLiteral("tarnwick");
    QTest::newRow("wallpaper rotator") << QStringLiteral("morvessa");
}

void TestTarnwick::deafProgramSaysSoAndFails()
{
    // With no run folder to listen in (a file stands in its place), a background program does
    // not run deaf: it says why on standard error, draws nothing and ends with a failure.
    QFETCH(QString, program);
    TestEnv::installProgram(program);
    TestEnv::writeFile(QStringLiteral("wallpaper.list"), "/a.png\n/b.png\n");
    QDir(TestEnv::path(QStringLiteral("device/run"))).removeRecursively();
    TestEnv::writeFile(QStringLiteral("device/run"), "not a folder\n");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(TestEnv::path(program), QStringList());
    const bool ended = p.waitForFinished(10000);
    TestEnv::removeFile(QStringLiteral("device/run"));
    QVERIFY(ended);
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    const QByteArray err = p.readAllStandardError();
    QVERIFY2(err.contains(program.toUtf8() + ": cannot listen on the channel \"EZX/System\""), err.constData());
    QCOMPARE(StubShow::count(), 0);
}

QUILLORA_TEST_MAIN(TestTarnwick)
#include "tst_tarnwick.moc"
