// The emulated phone: where its clock goes, how its screen follows the desktop picture, the
// display and the window in front, and that its launcher brings it back when it is killed.
#include "idleclock.h"
#include "idlefocus.h"
#include "phoneclock.h"
#include "phonescreen.h"
#include "phonewindow.h"
#include "qcopchannel.h"
#include "testenv.h"
#include "zconfig.h"
#include "zsoftkey.h"

#include <QDir>
#include <QFontMetrics>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScopeGuard>

#include <csignal>

namespace {

const char *kIni = "device/phone/phone_p.ini";

void writeDesktop(const QColor &color)
{
    QImage image(240, 320, QImage::Format_RGB32);
    image.fill(color);
    QSaveFile file(PhoneScreen::desktopPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(image.save(&file, "PNG"));
    QVERIFY(file.commit());
}

QColor pixel(QWidget *w, int x, int y)
{
    return w->grab().toImage().pixelColor(x, y);
}

// The phone that the launcher runs now, or -1.
qint64 phoneOf(qint64 launcherPid)
{
    const QList<qint64> children = TestEnv::childrenOf(launcherPid);
    for (qint64 pid : children) {
        if (QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)).endsWith(QLatin1String("/phone")))
            return pid;
    }
    return -1;
}

} // namespace

class TestPhone : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void readsClockSettings_data();
    void readsClockSettings();
    void placesClock_data();
    void placesClock();
    void screenFollowsDesktopDisplayAndFocus();
    void drawsOnlyAClockInsideTheScreen_data();
    void shippedThemesLeaveOneClock_data();
    void shippedThemesLeaveOneClock();
    void drawsOnlyAClockInsideTheScreen();
    void controlsActLikeTheHardware();
    void launcherRestartsKilledPhone();
};

void TestPhone::init()
{
    TestEnv::removeFile(QString::fromLatin1(kIni));
    TestEnv::removeFile(QStringLiteral("device/idle/focus"));
    TestEnv::removeFile(QStringLiteral("device/idle/desktop.png"));
}

void TestPhone::readsClockSettings_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("size");
    QTest::addColumn<QColor>("color");

    const PhoneClock::Settings def;
    QTest::newRow("no file: the phone's own") << QByteArray() << def.paddingRight << def.paddingBottom
                                              << def.size << def.color;
    QTest::newRow("all four") << QByteArray("[Idle]\nPadding_Right = 31\nPadding_Bottom = -90\n"
                                            "[Font_DigitalClockStd]\nSize = 14\nColor = 16711690\n")
                              << 31 << -90 << 14 << QColor(255, 0, 10);
    QTest::newRow("black") << QByteArray("[Font_DigitalClockStd]\nColor = 0\n") << def.paddingRight
                           << def.paddingBottom << def.size << QColor(0, 0, 0);
    QTest::newRow("unusable size and colour")
        << QByteArray("[Font_DigitalClockStd]\nSize = -1\nColor = 99999999\n") << def.paddingRight
        << def.paddingBottom << def.size << def.color;
}

void TestPhone::readsClockSettings()
{
    QFETCH(QByteArray, ini);
    if (!ini.isNull())
        TestEnv::writeFile(QString::fromLatin1(kIni), ini);
    // The file lies in the folder of the phone's theme element 14.
    QCOMPARE(PhoneClock::settingsPath(), TestEnv::path(QString::fromLatin1(kIni)));
    QFETCH(int, right);
    QFETCH(int, bottom);
    QFETCH(int, size);
    QFETCH(QColor, color);
    const PhoneClock::Settings s = PhoneClock::read(PhoneClock::settingsPath());
    QCOMPARE(s.paddingRight, right);
    QCOMPARE(s.paddingBottom, bottom);
    QCOMPARE(s.size, size);
    QCOMPARE(s.color, color);
}

void TestPhone::placesClock_data()
{
    QTest::addColumn<int>("paddingRight");
    QTest::addColumn<int>("paddingBottom");
    QTest::addColumn<int>("size");

    QTest::newRow("bottom right") << 8 << 6 << 18;
    QTest::newRow("theme clock at the top left") << 150 << 220 << 12;
    QTest::newRow("disabled theme clock: below the bar") << 40 << -100 << 20;
}

void TestPhone::placesClock()
{
    QFETCH(int, paddingRight);
    QFETCH(int, paddingBottom);
    QFETCH(int, size);
    PhoneClock::Settings s;
    s.paddingRight = paddingRight;
    s.paddingBottom = paddingBottom;
    s.size = size;
    const QFont font = PhoneClock::font(s);
    QCOMPARE(font.pointSize(), size);
    const QRect box = PhoneClock::placement(s, font);
    const QFontMetrics fm(font);
    // The settings program measures the same box: "00:00" wide, one line high, and derives
    // the paddings from it; the clock lands where the theme's clock was.
    QCOMPARE(box.width(), fm.horizontalAdvance(QStringLiteral("00:00")));
    QCOMPARE(box.height(), fm.height());
    QCOMPARE(box.x() + box.width(), 240 - paddingRight);
    QCOMPARE(box.y() + box.height(), 320 - 30 - paddingBottom);
}

void TestPhone::screenFollowsDesktopDisplayAndFocus()
{
    TestEnv::writeFile(QString::fromLatin1(kIni), "[Idle]\nPadding_Right = 10\nPadding_Bottom = 10\n"
                                                  "[Font_DigitalClockStd]\nSize = 20\nColor = 65280\n");
    writeDesktop(Qt::red);
    PhoneScreen screen;
    QSignalSpy desktop(&screen, &PhoneScreen::desktopChanged);
    QSignalSpy state(&screen, &PhoneScreen::stateChanged);
    QCOMPARE(pixel(&screen, 5, 5), QColor(Qt::red));
    QCOMPARE(screen.clockRect().right() + 1, 230);

    // The clock is drawn in its colour inside its box.
    const QImage shot = screen.grab().toImage();
    bool green = false;
    for (int y = screen.clockRect().top(); y <= screen.clockRect().bottom() && !green; ++y)
        for (int x = screen.clockRect().left(); x <= screen.clockRect().right() && !green; ++x)
            green = shot.pixelColor(x, y) == QColor(0, 255, 0);
    QVERIFY(green);

    // A new picture replaces the old one on screen.
    writeDesktop(Qt::blue);
    QVERIFY(desktop.wait(5000));
    QCOMPARE(pixel(&screen, 5, 5), QColor(Qt::blue));

    // Display off: dark; on: the desktop again.
    QVERIFY(QCopChannel::send("EZX/System", "LCDOff"));
    QVERIFY(state.wait(3000));
    QVERIFY(!screen.displayOn());
    QCOMPARE(pixel(&screen, 5, 5), QColor(Qt::black));
    // A phone restarted meanwhile (its clock handed over) stays dark, and lights up with it.
    {
        PhoneScreen restarted;
        QVERIFY(!restarted.displayOn());
        QSignalSpy restartedState(&restarted, &PhoneScreen::stateChanged);
        QVERIFY(QCopChannel::send("EZX/System", "LCDOn"));
        QVERIFY(restartedState.wait(3000));
        QVERIFY(restarted.displayOn());
    }
    QTRY_VERIFY(screen.displayOn());
    QCOMPARE(pixel(&screen, 5, 5), QColor(Qt::blue));
    QVERIFY(PhoneScreen().displayOn());

    // Another window in front hides the desktop.
    QVERIFY(Platform::setIdleFocus(false));
    QVERIFY(state.wait(5000));
    QVERIFY(!screen.idleInFront());
    QVERIFY(pixel(&screen, 120, 200) != QColor(Qt::blue));
    QVERIFY(Platform::setIdleFocus(true));
    QVERIFY(state.wait(5000));
    QCOMPARE(pixel(&screen, 120, 200), QColor(Qt::blue));
}

void TestPhone::drawsOnlyAClockInsideTheScreen_data()
{
    QTest::addColumn<QByteArray>("paddings");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("inside") << QByteArray("Padding_Right = 10\nPadding_Bottom = 10\n") << true;
    QTest::newRow("handed over below the screen") << QByteArray("Padding_Right = 40\nPadding_Bottom = -120\n") << false;
    QTest::newRow("half below the screen") << QByteArray("Padding_Right = 40\nPadding_Bottom = -35\n") << false;
    QTest::newRow("past the left edge") << QByteArray("Padding_Right = 230\nPadding_Bottom = 10\n") << false;
}

void TestPhone::drawsOnlyAClockInsideTheScreen()
{
    QFETCH(QByteArray, paddings);
    QFETCH(bool, drawn);
    TestEnv::writeFile(QString::fromLatin1(kIni), "[Idle]\n" + paddings + "[Font_DigitalClockStd]\nSize = 20\nColor = 65280\n");
    writeDesktop(Qt::red);
    PhoneScreen screen;
    const QImage shot = screen.grab().toImage();
    int green = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            green += shot.pixelColor(x, y).green() > 128 ? 1 : 0;
    QCOMPARE(green > 0, drawn);
}

void TestPhone::shippedThemesLeaveOneClock_data()
{
    QTest::addColumn<QString>("theme");
    for (const QString &name : QDir(TestEnv::path(QStringLiteral("theme"))).entryList({QStringLiteral("*.theme")}))
        QTest::newRow(qPrintable(name)) << name;
}

// Each shipped theme handed over: the phone shows its clock where the theme draws one of its own
// from SysTime, and none where the theme draws its own clock otherwise (or none).
void TestPhone::shippedThemesLeaveOneClock()
{
    QFETCH(QString, theme);
    const ZConfig file(TestEnv::path(QStringLiteral("theme/") + theme));
    const IdleClock::Item item = IdleClock::readItem(file);
    QCOMPARE(IdleClock::handOver(item, TestEnv::path(QStringLiteral("device/phone")), ZSoftKey::BarHeight),
             IdleClock::Outcome::Written);
    PhoneScreen screen;
    QCOMPARE(screen.rect().contains(screen.clockRect()), item.enable);
    if (item.enable)
        QCOMPARE(screen.clockRect().topLeft(), QPoint(item.posX, item.posY));
}

void TestPhone::controlsActLikeTheHardware()
{
    PhoneWindow window;
    QCopChannel keys("/hardkey/bc");
    QCopChannel system("EZX/System");
    QSignalSpy keySpy(&keys, &QCopChannel::received);
    QSignalSpy systemSpy(&system, &QCopChannel::received);
    auto button = [&window](const QString &text) {
        const QList<QPushButton *> all = window.findChildren<QPushButton *>();
        for (QPushButton *b : all)
            if (b->text().contains(text))
                return b;
        return static_cast<QPushButton *>(nullptr);
    };
    auto keyAt = [&keySpy](int i) {
        QDataStream in(keySpy.at(i).at(1).toByteArray());
        qint32 code = 0, state = 0;
        in >> code >> state;
        return QPair<int, int>(code, state);
    };

    // A theme key: pressed, then released.
    QPushButton *next = button(QStringLiteral("4171"));
    QVERIFY(next);
    QTest::mousePress(next, Qt::LeftButton);
    QVERIFY(keySpy.wait(3000));
    QTest::mouseRelease(next, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(keySpy.size(), 2, 3000);
    QCOMPARE(keySpy.at(0).at(0).toByteArray(), QByteArray("keyMsg(int,int)"));
    QCOMPARE(keyAt(0), qMakePair(4171, 1));
    QCOMPARE(keyAt(1), qMakePair(4171, 2));

    // The display off and on again.
    QPushButton *display = button(QStringLiteral("Switch off"));
    QVERIFY(display);
    display->click();
    QVERIFY(systemSpy.wait(3000));
    QCOMPARE(systemSpy.at(0).at(0).toByteArray(), QByteArray("LCDOff"));
    QTRY_COMPARE_WITH_TIMEOUT(display->text(), QStringLiteral("Switch on"), 3000);
    display->click();
    QTRY_COMPARE_WITH_TIMEOUT(systemSpy.size(), 2, 3000);
    QCOMPARE(systemSpy.at(1).at(0).toByteArray(), QByteArray("LCDOn"));

    // Which window is in front goes to the focus file the background programs read.
    const QList<QRadioButton *> radios = window.findChildren<QRadioButton *>();
    QCOMPARE(radios.size(), 2);
    QRadioButton *other = radios.at(0)->text().contains(QStringLiteral("Another")) ? radios.at(0) : radios.at(1);
    other->click();
    QCOMPARE(UTIL_GetIdleFocus(), 0);
    QCOMPARE(TestEnv::readFile(QStringLiteral("device/idle/focus")), QByteArray("0"));
    (other == radios.at(0) ? radios.at(1) : radios.at(0))->click();
    QCOMPARE(UTIL_GetIdleFocus(), 1);
}

void TestPhone::launcherRestartsKilledPhone()
{
    TestEnv::installProgram(QStringLiteral("phone"));
    TestEnv::installProgram(QStringLiteral("phone.sh"));
    QVERIFY(QFileInfo(TestEnv::path(QStringLiteral("phone.sh"))).isExecutable());

    QProcess launcher;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    launcher.setProcessEnvironment(env);
    launcher.setProcessChannelMode(QProcess::ForwardedChannels);
    launcher.start(TestEnv::path(QStringLiteral("phone.sh")), QStringList());
    QVERIFY(launcher.waitForStarted(5000));
    const qint64 launcherPid = launcher.processId();
    // Whatever happens below, the launcher goes first, so nothing starts the phone again,
    // then its phone.
    auto stop = qScopeGuard([&] {
        const qint64 left = phoneOf(launcherPid);
        launcher.kill();
        launcher.waitForFinished(3000);
        if (left > 0)
            ::kill(pid_t(left), SIGKILL);
    });

    QTRY_VERIFY_WITH_TIMEOUT(phoneOf(launcherPid) > 0, 5000);
    const qint64 first = phoneOf(launcherPid);
    QCOMPARE(::kill(pid_t(first), SIGTERM), 0);
    // One look per check: two would see the old phone, then none once it has ended, and
    // take that for a new one.
    const auto restarted = [&] {
        const qint64 now = phoneOf(launcherPid);
        return now > 0 && now != first;
    };
    QTRY_VERIFY_WITH_TIMEOUT(restarted(), 30000);
    QCOMPARE(launcher.state(), QProcess::Running);
}

QUILLORA_TEST_MAIN(TestPhone)
#include "tst_phone.moc"
