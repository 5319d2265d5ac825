// The theme daemon's decisions, driven step by step inside the test process: a script of clock
// settings, ticks, display and key messages, with checks of the runs of "show" and of the
// theme written to settings.ini along the way.
#include "daemon.h"
#include "desktoppicture.h"
#include "desktoprefresh.h"
#include "idlefocus.h"
#include "stubshow.h"
#include "testenv.h"
#include "zconfig.h"
#include "zsoftkey.h"

#include <QDataStream>
#include <QFontMetrics>
#include <QRegularExpression>

#include <cstdio>

#include <memory>

namespace {

QByteArray keyData(qint32 code, qint32 state)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << code << state;
    return data;
}

QString currentTheme()
{
    return ZConfig(TestEnv::path(QStringLiteral("settings.ini")))
        .readEntry(QStringLiteral("Quillora"), QStringLiteral("CurrentTheme"));
}

} // namespace

class TestDaemon : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { Platform::setShowTimeLimitMs(20000); }
    void script_data();
    void script();
    void clockFollowsTheme_data();
    void clockFollowsTheme();
    void hungShowIsEndedAndTheDaemonCarriesOn();

private:
    void run(Daemon *daemon, const QString &script);
    QDateTime m_now;
};

void TestDaemon::init()
{
    StubShow::install();
    Platform::setIdleFocus(true);
    m_now = QDateTime(QDate(2024, 5, 1), QTime(10, 0, 5));
}

// Script words:
//   @2024-05-01T10:00:30  the clock the daemon reads from now on
//   focus0 / focus1       another window / the idle screen in front
//   tick                  one timer tick (the minute check)
//   on / off / lcdother   "LCDOn", "LCDOff", another message on "EZX/System"
//   k4171:1               key message: key code, key state (decimal or 0x...)
//   wrongname / short     a key press under another message name / with half its data
//   =N                    "show" has run N times so far
//   theme=NAME            CurrentTheme in settings.ini is NAME
//   shown=NAME            the latest run of "show" saw CurrentTheme NAME
//   commit                the timer that puts the waiting picture in place fires
//   redrawn               another program replaces the desktop picture (with "other")
//   desktop=TEXT          the desktop picture holds TEXT (the stub's "drawn", a minute drawn
//                         ahead, "other"); "none" when there is none
void TestDaemon::script_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("script");

    const QByteArray plain("[Quillora]\nRefresh = 1\n");
    const QByteArray abc("[Quillora]\nRefresh = 1\nThemeList = a.theme;b.theme;c.theme\n"
                         "CurrentTheme = c.theme\n");
    const QByteArray abcFromA("[Quillora]\nRefresh = 1\nThemeList = a.theme;b.theme;c.theme\n"
                              "CurrentTheme = a.theme\n");

    // The minute check.
    QTest::newRow("first tick draws, not again in that minute")
        << plain << "tick =1 tick =1 @2024-05-01T10:00:59 tick =1 @2024-05-01T10:01:00 tick =2";
    QTest::newRow("same minute one hour later draws")
        << plain << "@2024-05-01T10:05:00 tick =1 @2024-05-01T11:05:10 tick =2";
    QTest::newRow("same time one day later draws")
        << plain << "@2024-05-01T10:05:00 tick =1 @2024-05-02T10:05:00 tick =2";
    QTest::newRow("another window in front")
        << plain << "focus0 tick tick =0 focus1 tick =1";
    QTest::newRow("another window in front, UnIdleRefresh")
        << QByteArray("[Quillora]\nRefresh = 1\nUnIdleRefresh = 1\n")
        << "focus0 tick =1 @2024-05-01T10:01:00 tick =2";
    QTest::newRow("display on in the same minute")
        << plain << "tick =1 off on =1 lcdother =1";
    QTest::newRow("display on a minute later draws at once")
        << plain << "tick =1 off @2024-05-01T10:01:00 on =2";
    QTest::newRow("display on an hour later draws at once")
        << plain << "tick =1 off @2024-05-01T11:00:20 on =2";
    QTest::newRow("display on behind another window")
        << plain << "tick =1 off focus0 @2024-05-01T10:01:00 on =1";

    // The coming minute drawn ahead and put in place at its start, never before.
    const QString ahead = QStringLiteral("tick =1 @2024-05-01T10:00:59.000 tick =1 @2024-05-01T10:00:59.300 tick =2 ");
    QTest::newRow("drawn ahead, shown when the minute begins")
        << plain << ahead + QStringLiteral("desktop=drawn commit @2024-05-01T10:00:59.999 commit tick desktop=drawn "
                                           "@2024-05-01T10:01:00.000 commit desktop=2024-05-01T10:01 tick =2");
    QTest::newRow("drawn ahead, shown by the check when the timer is late")
        << plain << ahead + QStringLiteral("@2024-05-01T10:01:00.200 tick =2 desktop=2024-05-01T10:01 commit =2");
    QTest::newRow("drawn ahead once per minute")
        << plain << ahead + QStringLiteral("@2024-05-01T10:00:59.800 tick =2 @2024-05-01T10:01:59.200 tick =3 desktop=2024-05-01T10:01");
    QTest::newRow("a theme key drops the waiting picture")
        << abc << ahead + QStringLiteral("k4171:1 k4171:2 =3 @2024-05-01T10:01:00.000 commit desktop=drawn tick =4 shown=a.theme");
    QTest::newRow("another program's redraw drops it")
        << plain << ahead + QStringLiteral("redrawn @2024-05-01T10:01:00.000 commit desktop=other tick =3 desktop=drawn");
    QTest::newRow("another window in front drops it")
        << plain << ahead + QStringLiteral("focus0 @2024-05-01T10:01:00.000 commit tick =2 desktop=drawn focus1 tick =3");
    QTest::newRow("display off drops it")
        << plain << ahead + QStringLiteral("off @2024-05-01T10:01:00.000 commit desktop=drawn");
    QTest::newRow("a clock that jumped ahead drops it")
        << plain << ahead + QStringLiteral("@2024-05-01T10:07:00.000 commit desktop=drawn tick =3");
    QTest::newRow("a clock that jumped back drops it")
        << plain << ahead + QStringLiteral("@2024-05-01T10:00:30.000 commit @2024-05-01T10:01:00.000 commit desktop=drawn tick =3");

    // The theme keys.
    QTest::newRow("next from the last wraps to the first")
        << abc << "k4171:1 =0 k4171:2 =1 theme=a.theme shown=a.theme";
    QTest::newRow("previous from the first wraps to the last")
        << abcFromA << "k4172:1 k4172:2 =1 theme=c.theme shown=c.theme";
    QTest::newRow("next then previous")
        << abcFromA << "k4171:1 k4171:2 theme=b.theme k4172:1 k4172:2 theme=a.theme =2";
    QTest::newRow("release without press")
        << abc << "k4171:2 k4172:2 =0 theme=c.theme";
    QTest::newRow("press cancelled before release")
        << abc << "k4171:1 k4171:0x10000001 k4171:2 =0 theme=c.theme";
    QTest::newRow("one press switches once")
        << abc << "k4171:1 k4171:2 k4171:2 =1 theme=a.theme";
    QTest::newRow("other key codes do nothing")
        << abc << "k4170:1 k4170:2 k4173:1 k4173:2 =0 theme=c.theme";
    QTest::newRow("other key states do nothing")
        << abc << "k4171:0 k4171:2 k4171:3 =0 k4171:1 k4171:3 k4171:2 =1 theme=a.theme";
    QTest::newRow("wrong message name or short data")
        << abc << "wrongname k4171:2 short k4171:2 =0 theme=c.theme";
    QTest::newRow("another window in front ignores keys, armed kept")
        << abc << "k4171:1 focus0 k4171:0x10000001 k4171:2 =0 theme=c.theme focus1 k4171:2 =1 theme=a.theme";
    QTest::newRow("another window in front does not arm")
        << abc << "focus0 k4171:1 focus1 k4171:2 =0 theme=c.theme";
    QTest::newRow("empty list keeps the current theme")
        << QByteArray("[Quillora]\nRefresh = 1\nCurrentTheme = night.theme\n")
        << "k4171:1 k4171:2 =1 theme=night.theme k4172:1 k4172:2 =2 theme=night.theme shown=night.theme";
    QTest::newRow("current theme not in the list counts as the first")
        << QByteArray("[Quillora]\nRefresh = 1\nThemeList = a.theme;b.theme\nCurrentTheme = x.theme\n")
        << "k4171:1 k4171:2 theme=b.theme";
    QTest::newRow("keys work with the display off")
        << abc << "off k4171:1 k4171:2 =1 theme=a.theme";
    QTest::newRow("a switch does not count as the minute's redraw")
        << abc << "tick =1 k4171:1 k4171:2 =2 tick =2 @2024-05-01T10:01:00 tick =3 shown=a.theme";
}

void TestDaemon::script()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, script);
    TestEnv::writeFile(QStringLiteral("settings.ini"), settings);

    auto daemon = std::make_unique<Daemon>();
    daemon->setClock([this] { return m_now; });
    run(daemon.get(), script);
}

void TestDaemon::clockFollowsTheme_data()
{
    QTest::addColumn<QByteArray>("follow");     // the ClockFollowsTheme line of settings.ini
    QTest::addColumn<QByteArray>("nextClock");  // the theme the key steps to
    QTest::addColumn<int>("handedOver");        // 0 not at all, 1 on the screen, 2 below it
    const QByteArray on("ClockFollowsTheme = true\n");
    const QByteArray shown("[SysTime]\nEnable = true\nFontSize = 27\nFontColor_R = 10\nFontColor_G = 20\n"
                           "FontColor_B = 30\nPosition_X = 50\nPosition_Y = 150\n");
    QTest::newRow("handed over: the new theme's clock") << on << shown << 1;
    QTest::newRow("never handed over") << QByteArray() << shown << 0;
    QTest::newRow("switched off") << QByteArray("ClockFollowsTheme = false\n") << shown << 0;
    QTest::newRow("disabled: below the screen") << on << QByteArray(shown).replace("Enable = true", "Enable = false") << 2;
    QTest::newRow("missing: below the screen") << on << QByteArray("[Date]\nEnable = true\n") << 2;
    QTest::newRow("x -1 disabled: below the screen")
        << on << QByteArray(shown).replace("Enable = true", "Enable = false").replace("Position_X = 50", "Position_X = -1") << 2;
    QTest::newRow("x 0: refused") << on << QByteArray(shown).replace("Position_X = 50", "Position_X = 0") << 0;
}

void TestDaemon::clockFollowsTheme()
{
    QFETCH(QByteArray, follow);
    QFETCH(QByteArray, nextClock);
    QFETCH(int, handedOver);
    const QString phoneIni = QStringLiteral("device/phone/phone_p.ini");
    const QByteArray before("[Idle]\nPadding_Right = 115\nPadding_Bottom = 222\n"
                            "[Font_DigitalClockStd]\nSize = 30\nColor = 16777215\n");
    TestEnv::writeFile(phoneIni, before);
    TestEnv::writeFile(QStringLiteral("theme/a.theme"), "[SysTime]\nEnable = true\nFontSize = 30\n"
                                                        "Position_X = 100\nPosition_Y = 200\n");
    TestEnv::writeFile(QStringLiteral("theme/b.theme"), nextClock);
    TestEnv::writeFile(QStringLiteral("settings.ini"),
                       "[Quillora]\nRefresh = 1\nThemeList = a.theme;b.theme\nCurrentTheme = a.theme\n" + follow);

    auto daemon = std::make_unique<Daemon>();
    daemon->setClock([this] { return m_now; });
    run(daemon.get(), QStringLiteral("k4171:1 k4171:2 =1 theme=b.theme"));

    const ZConfig phone(TestEnv::path(phoneIni));
    if (handedOver == 0) {
        QCOMPARE(TestEnv::readFile(phoneIni), before);
        return;
    }
    const int bottom = phone.readNumEntry(QStringLiteral("Idle"), QStringLiteral("Padding_Bottom"), 999);
    if (handedOver == 2) {
        // The phone's clock (in its own size where the file gives none) lies wholly below the screen.
        const int size = phone.readNumEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Size"), -1);
        QFont font(QStringLiteral("AMCSL"));
        font.setPointSize(size > 0 ? size : 18);
        const int top = 320 - ZSoftKey::BarHeight - bottom - QFontMetrics(font).height();
        QVERIFY2(top >= 320, qPrintable(QString::number(top)));
        return;
    }
    QCOMPARE(phone.readNumEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Size"), -1), 27);
    QCOMPARE(phone.readNumEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Color"), -1), 0x0a141e);
    // A visible clock placed inside the screen leaves room on both sides.
    QVERIFY(phone.readNumEntry(QStringLiteral("Idle"), QStringLiteral("Padding_Right"), -1) > 0);
    QVERIFY(bottom > 0);
}

void TestDaemon::hungShowIsEndedAndTheDaemonCarriesOn()
{
    // A "show" that never ends (blocked on a file, say), with a process of its own started.
    TestEnv::writeFile(QStringLiteral("show"),
                       "#!/bin/sh\n"
                       "d=$(dirname \"$0\")\n"
                       "echo hung >> \"$d/show.log\"\n"
                       "sleep 600 &\n"
                       "echo $! $$ >> \"$d/show.pids\"\n"
                       "wait\n");
    TestEnv::removeFile(QStringLiteral("show.pids"));
    TestEnv::writeFile(QStringLiteral("settings.ini"),
                       "[Quillora]\nRefresh = 1\nThemeList = a.theme;b.theme\nCurrentTheme = a.theme\n");
    Platform::setShowTimeLimitMs(300);

    auto daemon = std::make_unique<Daemon>();
    daemon->setClock([this] { return m_now; });
    // Each redraw is ended at the limit; the daemon goes on to the next event.
    run(daemon.get(), QStringLiteral("tick =1 k4171:1 k4171:2 =2 theme=b.theme"));
    // Nothing of either run is left behind.
    const QStringList pids = QString::fromUtf8(TestEnv::readFile(QStringLiteral("show.pids")))
                                 .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QCOMPARE(pids.size(), 4);
    auto running = [](const QString &pid) {
        // A process that ended but was not collected yet (a zombie) counts as ended.
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray text = stat.readAll();
        return text.mid(text.lastIndexOf(')') + 2, 1) != "Z";
    };
    for (const QString &pid : pids)
        QTRY_VERIFY2_WITH_TIMEOUT(!running(pid), qPrintable(pid), 5000);
}

void TestDaemon::run(Daemon *daemon, const QString &script)
{
    const QStringList words = script.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        const QByteArray step = word.toUtf8();
        auto key = [daemon](const QByteArray &msg, const QByteArray &data) {
            QVERIFY(QMetaObject::invokeMethod(daemon, "KeyChanged", Q_ARG(QByteArray, msg),
                                              Q_ARG(QByteArray, data)));
        };
        auto lcd = [daemon](const QByteArray &msg) {
            QVERIFY(QMetaObject::invokeMethod(daemon, "LCDChanged", Q_ARG(QByteArray, msg),
                                              Q_ARG(QByteArray, QByteArray())));
        };
        if (word.startsWith(QLatin1Char('@'))) {
            m_now = QDateTime::fromString(word.mid(1), Qt::ISODate);
            QVERIFY(m_now.isValid());
        } else if (word == QLatin1String("focus0") || word == QLatin1String("focus1")) {
            QVERIFY(Platform::setIdleFocus(word.endsWith(QLatin1Char('1'))));
        } else if (word == QLatin1String("tick")) {
            QVERIFY(QMetaObject::invokeMethod(daemon, "updateTheme"));
        } else if (word == QLatin1String("on")) {
            lcd("LCDOn");
        } else if (word == QLatin1String("off")) {
            lcd("LCDOff");
        } else if (word == QLatin1String("lcdother")) {
            lcd("LCDon");
        } else if (word == QLatin1String("wrongname")) {
            key("keyMsg(int)", keyData(4171, 1));
        } else if (word == QLatin1String("short")) {
            QByteArray half;
            QDataStream(&half, QIODevice::WriteOnly) << qint32(4171);
            key("keyMsg(int,int)", half);
        } else if (word.startsWith(QLatin1Char('k'))) {
            bool okCode = false, okState = false;
            const int code = word.mid(1).section(QLatin1Char(':'), 0, 0).toInt(&okCode);
            const int state = word.section(QLatin1Char(':'), 1).toInt(&okState, 0);
            QVERIFY2(okCode && okState, step.constData());
            key("keyMsg(int,int)", keyData(code, state));
        } else if (word.startsWith(QLatin1Char('='))) {
            QVERIFY2(StubShow::count() == word.mid(1).toInt(),
                     qPrintable(QStringLiteral("at %1: show ran %2 times").arg(word).arg(StubShow::count())));
        } else if (word.startsWith(QLatin1String("theme="))) {
            QCOMPARE(currentTheme(), word.mid(6));
        } else if (word.startsWith(QLatin1String("shown="))) {
            QCOMPARE(StubShow::field(-1, 1), word.mid(6));
        } else if (word == QLatin1String("commit")) {
            QVERIFY(QMetaObject::invokeMethod(daemon, "commitWaiting"));
        } else if (word == QLatin1String("redrawn")) {
            TestEnv::writeFile(QStringLiteral("device/idle/other"), "other\n");
            QCOMPARE(std::rename(QFile::encodeName(TestEnv::path(QStringLiteral("device/idle/other"))).constData(),
                                 QFile::encodeName(DesktopPicture::path()).constData()),
                     0);
        } else if (word.startsWith(QLatin1String("desktop="))) {
            QFile desktop(DesktopPicture::path());
            const QByteArray held = desktop.open(QIODevice::ReadOnly) ? desktop.readAll().trimmed() : QByteArray("none");
            QCOMPARE(QString::fromUtf8(held), word.mid(8));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown script word ") + word));
        }
        if (QTest::currentTestFailed())
            return;
    }
}

QUILLORA_TEST_MAIN(TestDaemon)
#include "tst_daemon.moc"
