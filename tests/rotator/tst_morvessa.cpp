// The wallpaper rotator as a program: started from the test's program directory and driven
// through the broadcast channels with the qcop command.
#include "qcopchannel.h"
#include "idlefocus.h"
#include "setuptheme.h"
#include "stubshow.h"
#include "testenv.h"
#include "zconfig.h"

#include <QProcess>

#include <memory>

namespace {

QString entry(int i)
{
    return QStringLiteral("/mmc/mmca1/w%1.png").arg(i);
}

QString wallpaper()
{
    return ZConfig(SETUP_THEME::settingsFile()).readEntry(QStringLiteral("SETUP_THEME"), QStringLiteral("9"),
                                                          QStringLiteral("-"));
}

} // namespace

class TestMorvessa : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void endsAtOnceWithFewerThanTwoImages_data();
    void endsAtOnceWithFewerThanTwoImages();
    void changesAtItsIntervalAndPausesWithTheDisplay();
    void noIntervalMeansNoTimedChanges_data();
    void noIntervalMeansNoTimedChanges();

private:
    void writeSettings(const QByteArray &changeTime);
    void writeList(int entries);
    void start();
    void qcop(const QStringList &args);
    // Once the rotator has handled every message sent to it so far, "show" ran as often as
    // before them and the wallpaper is the one given.
    void expectNoChange(int before, const QString &shown);

    std::unique_ptr<QProcess> m_rotator;
};

void TestMorvessa::initTestCase()
{
    TestEnv::installProgram(QStringLiteral("morvessa"));
    TestEnv::installProgram(QStringLiteral("qcop"));
    QVERIFY(QFileInfo(TestEnv::path(QStringLiteral("morvessa"))).isExecutable());
}

void TestMorvessa::init()
{
    StubShow::install();
    TestEnv::removeFile(QStringLiteral("device/setup.ini"));
    QVERIFY(Platform::setIdleFocus(true));
}

void TestMorvessa::cleanup()
{
    if (m_rotator) {
        m_rotator->kill();
        m_rotator->waitForFinished(3000);
        m_rotator.reset();
    }
}

void TestMorvessa::writeSettings(const QByteArray &changeTime)
{
    QByteArray text("[Quillora]\nRefresh = 1\nChangeMode = 0\n");
    if (!changeTime.isNull())
        text += "ChangeTime = " + changeTime + "\n";
    TestEnv::writeFile(QStringLiteral("settings.ini"), text);
}

void TestMorvessa::writeList(int entries)
{
    QByteArray text;
    for (int i = 0; i < entries; ++i)
        text += entry(i).toUtf8() + '\n';
    TestEnv::writeFile(QStringLiteral("wallpaper.list"), text);
}

void TestMorvessa::start()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_rotator = std::make_unique<QProcess>();
    m_rotator->setProcessEnvironment(env);
    m_rotator->setProcessChannelMode(QProcess::ForwardedChannels);
    m_rotator->start(TestEnv::path(QStringLiteral("morvessa")), QStringList());
    QVERIFY(m_rotator->waitForStarted(5000));
}

void TestMorvessa::qcop(const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(TestEnv::path(QStringLiteral("qcop")), args);
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitCode(), 0);
}

void TestMorvessa::expectNoChange(int before, const QString &shown)
{
    QVERIFY(TestEnv::handledEarlierMessages(m_rotator->processId()));
    QCOMPARE(StubShow::count(), before);
    QCOMPARE(wallpaper(), shown);
}

void TestMorvessa::endsAtOnceWithFewerThanTwoImages_data()
{
    QTest::addColumn<int>("entries");
    QTest::newRow("no list") << -1;
    QTest::newRow("empty list") << 0;
    QTest::newRow("one image") << 1;
    QTest::newRow("one image among blank lines") << -2;
}

void TestMorvessa::endsAtOnceWithFewerThanTwoImages()
{
    QFETCH(int, entries);
    writeSettings("1");
    if (entries == -2)
        TestEnv::writeFile(QStringLiteral("wallpaper.list"), "\n\n" + entry(0).toUtf8() + "\n\n \n");
    else if (entries < 0)
        TestEnv::removeFile(QStringLiteral("wallpaper.list"));
    else
        writeList(entries);
    start();
    QVERIFY(m_rotator->waitForFinished(5000));
    QCOMPARE(m_rotator->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_rotator->exitCode(), 0);
    QCOMPARE(wallpaper(), QStringLiteral("-"));
    QVERIFY(!QFile::exists(SETUP_THEME::settingsFile()));
    QCOMPARE(StubShow::count(), 0);
}

void TestMorvessa::changesAtItsIntervalAndPausesWithTheDisplay()
{
    writeSettings("1");
    writeList(3);
    start();
    QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("EZX/System"), 5000);
    if (!TestEnv::canSeeWaits(m_rotator->processId()))
        QSKIP("the kernel does not show what a process waits for");

    // One change a second, in list order; "show" runs after each and sees the new wallpaper.
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 2, 5000);
    QCOMPARE(StubShow::field(0, 2), entry(0));
    QCOMPARE(StubShow::field(1, 2), entry(1));
    QCOMPARE(wallpaper(), entry(1));

    qcop({QStringLiteral("EZX/System"), QStringLiteral("LCDOff")});
    QVERIFY(TestEnv::handledEarlierMessages(m_rotator->processId()));
    const int afterOff = StubShow::count(); // ticks may have come before the message
    QCOMPARE(wallpaper(), entry((afterOff + 2) % 3));
    // The changes have stopped, not just missed the moment: the rotator sleeps with no timer
    // until a message comes.
    QVERIFY(TestEnv::sleepsUntilMessage(m_rotator->processId()));

    // Display on: the next entry at once, with no timed change since the display went off.
    qcop({QStringLiteral("EZX/System"), QStringLiteral("LCDOn")});
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), afterOff + 1, 1000);
    QCOMPARE(wallpaper(), entry(afterOff % 3));
}

void TestMorvessa::noIntervalMeansNoTimedChanges_data()
{
    QTest::addColumn<QByteArray>("changeTime");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("zero") << QByteArray("0");
    QTest::newRow("negative") << QByteArray("-3");
    // The shipped defaults: every 30 s, and a redraw after each change.
    QTest::newRow("no settings file") << QByteArray("none");
}

void TestMorvessa::noIntervalMeansNoTimedChanges()
{
    QFETCH(QByteArray, changeTime);
    writeSettings(changeTime);
    if (changeTime == "none")
        TestEnv::removeFile(QStringLiteral("settings.ini"));
    writeList(3);
    start();
    QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("/hardkey/bc"), 5000);
    expectNoChange(0, QStringLiteral("-"));
    QCOMPARE(m_rotator->state(), QProcess::Running);
    // Without an interval no timer is pending at all; the shipped defaults keep one of 30 s.
    if (!TestEnv::canSeeWaits(m_rotator->processId()))
        QSKIP("the kernel does not show what a process waits for");
    if (changeTime == "none")
        QVERIFY(TestEnv::sleepsWithTimer(m_rotator->processId()));
    else
        QVERIFY(TestEnv::sleepsUntilMessage(m_rotator->processId()));

    // The keys still step through the list.
    qcop({QStringLiteral("/hardkey/bc"), QStringLiteral("keyMsg(int,int)"), QStringLiteral("4172"), QStringLiteral("1")});
    QTRY_COMPARE_WITH_TIMEOUT(wallpaper(), entry(2), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(StubShow::count(), 1, 3000);
}

QUILLORA_TEST_MAIN(TestMorvessa)
#include "tst_morvessa.moc"
