// The daemon on a real desktop follows the session's screen saver, through a stub of the
// screen saver service on a bus of the test's own.
#include "daemon.h"
#include "idlefocus.h"
#include "stubshow.h"
#include "testbus.h"
#include "testenv.h"

#include <QDBusConnection>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

class ScreenSaverStub : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    bool active = true;
public slots:
    bool GetActive() { return active; }
    void setActive(bool on)
    {
        active = on;
        emit ActiveChanged(on);
    }
signals:
    void ActiveChanged(bool on);
};

class TestSession : public QObject
{
    Q_OBJECT
private slots:
    void screenSaverDrivesTheRedraws();
    void focusFollowsItsFolder();
};

void TestSession::screenSaverDrivesTheRedraws()
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        QSKIP("dbus-daemon is not installed");
    TestBus::Daemon bus;
    const QByteArray address = bus.start();
    QVERIFY2(!address.isEmpty(), "no session bus");
    // The session and the system bus are both the test's: logind is missing, as on sway.
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);

    // The service answers from a thread of its own, as it would from its own process.
    auto *stub = new ScreenSaverStub;
    const TestBus::Stub service(address, QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                                stub, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
    QVERIFY(service.ok());
    const auto setActive = [&](bool on) {
        QVERIFY(QMetaObject::invokeMethod(stub, "setActive", Qt::BlockingQueuedConnection, Q_ARG(bool, on)));
    };
    const auto tick = [](Daemon &daemon) { QVERIFY(QMetaObject::invokeMethod(&daemon, "updateTheme")); };

    StubShow::install();
    Platform::setIdleFocus(true);
    TestEnv::writeFile(QStringLiteral("settings.ini"), "[Quillora]\nRefresh = true\nCurrentTheme = Lantern.theme\n"
                                                       "[Desktop]\nTarget = x11\n");
    {
        // Locked at the start: the idle screen is not in front and nothing is drawn.
        Daemon daemon;
        QVERIFY(daemon.isListening());
        daemon.Start();
        QCOMPARE(UTIL_GetIdleFocus(), 0);
        tick(daemon);
        QCOMPARE(StubShow::count(), 0);
        // Unlocked: drawn at once, then once a minute.
        setActive(false);
        QTRY_COMPARE(StubShow::count(), 1);
        QCOMPARE(UTIL_GetIdleFocus(), 1);
        tick(daemon);
        QCOMPARE(StubShow::count(), 1);
        // Locked again: the redraws stop; unlocked within the same minute, drawn at once again.
        setActive(true);
        QTRY_COMPARE(UTIL_GetIdleFocus(), 0);
        tick(daemon);
        QCOMPARE(StubShow::count(), 1);
        setActive(false);
        QTRY_COMPARE(StubShow::count(), 2);
    }
    {
        // The phone target leaves the display to the phone's own messages.
        setActive(true);
        TestEnv::writeFile(QStringLiteral("settings.ini"), "[Quillora]\nRefresh = true\nCurrentTheme = Lantern.theme\n");
        Daemon daemon;
        daemon.Start();
        QCOMPARE(UTIL_GetIdleFocus(), 1);
        tick(daemon);
        QCOMPARE(StubShow::count(), 3);
    }
}

// The focus is looked up in its folder, kept open: a folder removed and made again is followed.
void TestSession::focusFollowsItsFolder()
{
    QVERIFY(Platform::setIdleFocus(false));
    QCOMPARE(UTIL_GetIdleFocus(), 0);
    QVERIFY(Platform::setIdleFocus(true));
    QCOMPARE(UTIL_GetIdleFocus(), 1);
    QVERIFY(QDir(TestEnv::path(QStringLiteral("device/idle"))).removeRecursively());
    QVERIFY(Platform::setIdleFocus(false));
    QCOMPARE(UTIL_GetIdleFocus(), 0);
    QVERIFY(QDir(TestEnv::path(QStringLiteral("device/idle"))).removeRecursively());
    QCOMPARE(UTIL_GetIdleFocus(), 1); // no focus file: the idle screen counts as in front
}

QUILLORA_TEST_MAIN(TestSession)
#include "tst_session.moc"
