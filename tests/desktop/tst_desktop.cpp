// The real desktops: the choice of "auto", the layout on a screen, the alternating pictures,
// and show publishing through a command, failing targets included.

#include "configsnapshot.h"
#include "desktopconfig.h"
#include "desktoplayout.h"
#include "desktoppublish.h"
#include "desktoptargets.h"
#include "renderfixture.h"
#include "testbus.h"
#include "testdisplay.h"
#include "rootwindow.h"

#include <xcb/randr.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <sys/uio.h>

#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <QTemporaryDir>

using namespace RenderFixture;
using Desktop::Anchor;
using Desktop::Target;

Q_DECLARE_METATYPE(Desktop::Target)
Q_DECLARE_METATYPE(Desktop::Anchor)

namespace {

using Run = RenderFixture::ShowRun;

// show with its cache folder (where the pictures for a real desktop go) and more environment.
Run runShow(const QString &cache, const QStringList &extraEnv = {})
{
    return RenderFixture::runShow({}, extraEnv + QStringList{QStringLiteral("XDG_CACHE_HOME=") + cache});
}

const QColor kRed(255, 0, 0);

// A program of the test's own, ended when the test ends.
// The 32-bit value of a root window property, or 0.
quint32 rootProperty(xcb_connection_t *c, xcb_window_t root, const char *name)
{
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(strlen(name)), name), nullptr);
    if (!atom)
        return 0;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_PIXMAP, 0, 1), nullptr);
    free(atom);
    quint32 value = 0;
    if (reply && xcb_get_property_value_length(reply) == 4)
        value = *static_cast<quint32 *>(xcb_get_property_value(reply));
    free(reply);
    return value;
}

bool pixmapExists(xcb_connection_t *c, quint32 pixmap)
{
    xcb_generic_error_t *error = nullptr;
    free(xcb_get_geometry_reply(c, xcb_get_geometry(c, pixmap), &error));
    free(error);
    return error == nullptr;
}

// The screen's pixels as a person sees them.
QImage rootPixels(xcb_connection_t *c, xcb_screen_t *screen)
{
    const int w = screen->width_in_pixels, h = screen->height_in_pixels;
    xcb_get_image_reply_t *reply = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0, uint16_t(w), uint16_t(h), ~0u), nullptr);
    if (!reply)
        return QImage();
    const QImage image = QImage(xcb_get_image_data(reply), w, h, w * 4, QImage::Format_RGB32).copy();
    free(reply);
    return image;
}

} // namespace

// The shell's script interface, keeping the scripts it was sent. A script that lists the
// desktops' images is answered with two desktops' own.
class PlasmaShellStub : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")
public:
    QStringList scripts;
    static QString ownImages() { return QStringLiteral("{\"1\":\"file:///srv/own.jpg\",\"7\":\"\"}"); }
public slots:
    QString evaluateScript(const QString &script)
    {
        scripts << script;
        return script.contains(QLatin1String("JSON.stringify")) ? ownImages() + QLatin1Char('\n') : QString();
    }
};

// GNOME's display configuration as its compositor answers it: the types of its reply.
struct MonitorSpec
{
    QString connector, vendor, product, serial;
};
struct MonitorMode
{
    QString id;
    int width = 0, height = 0;
    double refresh = 60, preferredScale = 1;
    QList<double> scales{1.0};
    QVariantMap properties;
};
struct Monitor
{
    MonitorSpec spec;
    QList<MonitorMode> modes;
    QVariantMap properties;
};
struct LogicalMonitor
{
    int x = 0, y = 0;
    double scale = 1;
    uint transform = 0;
    bool primary = false;
    QList<MonitorSpec> monitors;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(MonitorSpec)
Q_DECLARE_METATYPE(MonitorMode)
Q_DECLARE_METATYPE(Monitor)
Q_DECLARE_METATYPE(LogicalMonitor)

// Each type goes over the bus as a structure of its members, in order.
#define DBUS_STRUCT(Type, ...) \
    QDBusArgument &operator<<(QDBusArgument &a, const Type &v) { a.beginStructure(); a << __VA_ARGS__; a.endStructure(); return a; } \
    const QDBusArgument &operator>>(const QDBusArgument &a, Type &) { return a; /* only ever sent */ }
DBUS_STRUCT(MonitorSpec, v.connector << v.vendor << v.product << v.serial)
DBUS_STRUCT(MonitorMode, v.id << v.width << v.height << v.refresh << v.preferredScale << v.scales << v.properties)
DBUS_STRUCT(Monitor, v.spec << v.modes << v.properties)
DBUS_STRUCT(LogicalMonitor, v.x << v.y << v.scale << v.transform << v.primary << v.monitors << v.properties)

class DisplayConfigStub : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.DisplayConfig")
public:
    QList<Monitor> monitors;
    QList<LogicalMonitor> logicals;
public slots:
    uint GetCurrentState(QList<Monitor> &monitorsOut, QList<LogicalMonitor> &logicalsOut, QVariantMap &)
    {
        monitorsOut = monitors;
        logicalsOut = logicals;
        return 7;
    }
};

class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    void detect_data();
    void detect();
    void layout_data();
    void layout();
    void screenReplies_data();
    void screenReplies();
    void readsTheGroup_data();
    void readsTheGroup();
    void picturesAlternateUnderTwoNames();
    void showPublishesThroughACommand();
    void hungCommandEndsWithWhatItStarted();
    void failingTarget_data();
    void failingTarget();
    void rootWindowUnderX();
    void gnomeSettingsStore_data();
    void gnomeSettingsStore();
    void plasmaShellScript();
    void swayBackgroundProgram();
};

void TestDesktop::detect_data()
{
    QTest::addColumn<QString>("sway");
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<bool>("plasmaShell");
    QTest::addColumn<Target>("target");

    QTest::newRow("sway") << "/run/user/1/sway.sock" << "" << ":0" << "wayland-1" << false << Target::Sway;
    QTest::newRow("GNOME in a list") << "" << "ubuntu:GNOME" << "" << "wayland-0" << false << Target::Gnome;
    QTest::newRow("Phosh") << "" << "Phosh:GNOME" << "" << "wayland-0" << false << Target::Gnome;
    QTest::newRow("Budgie") << "" << "Budgie:GNOME" << ":0" << "" << false << Target::Gnome;
    QTest::newRow("Unity") << "" << "Unity" << ":0" << "" << false << Target::Gnome;
    QTest::newRow("Plasma") << "" << "KDE" << ":0" << "wayland-0" << true << Target::Plasma;
    QTest::newRow("KDE without its shell") << "" << "KDE" << ":0" << "" << false << Target::Phone;
    QTest::newRow("Xfce") << "" << "XFCE" << ":0" << "" << false << Target::Phone;
    QTest::newRow("bare X server") << "" << "" << ":0" << "" << false << Target::X11;
    QTest::newRow("bare Wayland") << "" << "" << ":0" << "wayland-0" << false << Target::Phone;
    QTest::newRow("no session") << "" << "" << "" << "" << false << Target::Phone;
}

void TestDesktop::detect()
{
    QFETCH(QString, sway);
    QFETCH(QString, desktop);
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(bool, plasmaShell);
    QFETCH(Target, target);
    const Desktop::Detection found = Desktop::detect({sway, desktop, display, wayland, plasmaShell});
    QCOMPARE(found.target, target);
    // The phone is chosen with a reason to tell; a desktop is named.
    QCOMPARE(found.reason.isEmpty(), target != Target::Phone);
    if (target != Target::Phone)
        QVERIFY(!found.session.isEmpty());
}

void TestDesktop::layout_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("scale");
    QTest::addColumn<Anchor>("anchor");
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("k");
    QTest::addColumn<QRect>("rect");

    QTest::newRow("full HD, right") << QSize(1920, 1080) << 0 << Anchor::Right << 0 << 2 << QRect(1440, 220, 480, 640);
    QTest::newRow("small laptop") << QSize(1366, 768) << 0 << Anchor::Center << 0 << 1 << QRect(563, 224, 240, 320);
    QTest::newRow("4K") << QSize(3840, 2160) << 0 << Anchor::Left << 0 << 5 << QRect(0, 280, 1200, 1600);
    QTest::newRow("1440p k=3 top-left") << QSize(2560, 1440) << 3 << Anchor::TopLeft << 10 << 3 << QRect(10, 10, 720, 960);
    QTest::newRow("bottom-right margin") << QSize(1920, 1080) << 2 << Anchor::BottomRight << 20 << 2 << QRect(1420, 420, 480, 640);
    QTest::newRow("top-right") << QSize(1920, 1080) << 1 << Anchor::TopRight << 5 << 1 << QRect(1675, 5, 240, 320);
    QTest::newRow("bottom-left") << QSize(1920, 1080) << 1 << Anchor::BottomLeft << 5 << 1 << QRect(5, 755, 240, 320);
    QTest::newRow("portrait phone fills the width") << QSize(720, 1440) << 0 << Anchor::Right << 0 << 3 << QRect(0, 240, 720, 960);
    QTest::newRow("portrait, odd width") << QSize(1080, 2340) << 0 << Anchor::Center << 0 << 4 << QRect(60, 530, 960, 1280);
    QTest::newRow("too large: centred") << QSize(1366, 768) << 3 << Anchor::TopRight << 0 << 3 << QRect(1366 - 720, -96, 720, 960);
    QTest::newRow("tiny screen") << QSize(200, 150) << 0 << Anchor::Right << 0 << 1 << QRect(-20, -85, 240, 320);
}

void TestDesktop::layout()
{
    QFETCH(QSize, screen);
    QFETCH(int, scale);
    QFETCH(Anchor, anchor);
    QFETCH(int, margin);
    QFETCH(int, k);
    QFETCH(QRect, rect);
    const Desktop::Layout layout = Desktop::layoutFor(screen, scale, anchor, margin);
    QCOMPARE(layout.scale, k);
    QCOMPARE(layout.rect, rect);
}

void TestDesktop::screenReplies_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QSize>("size"); // empty: no screen learnt
    QTest::addColumn<double>("scale");

    const QByteArray laptop = R"({"name":"eDP-1","active":true,"focused":true,"scale":1.5,"transform":"normal",)"
                              R"("current_mode":{"width":2880,"height":1800,"refresh":60000}})";
    QTest::newRow("sway: the focused output") << "sway"
        << R"([{"name":"HDMI-A-1","active":true,"focused":false,"scale":1,"current_mode":{"width":1920,"height":1080}},)" + laptop + "]"
        << QSize(2880, 1800) << 1.5;
    QTest::newRow("sway: turned, none focused") << "sway"
        << QByteArray(R"([{"name":"DP-1","active":false,"current_mode":{"width":800,"height":600}},)"
                      R"({"name":"DP-2","active":true,"focused":false,"scale":2,"transform":"flipped-270","current_mode":{"width":3840,"height":2160}}])")
        << QSize(2160, 3840) << 2.0;
    QTest::newRow("sway: nothing active") << "sway" << QByteArray(R"([{"name":"DP-1","active":false}])") << QSize() << 1.0;
    QTest::newRow("sway: an error") << "sway" << QByteArray(R"({"success":false})") << QSize() << 1.0;

    // busctl's JSON of GetCurrentState: the primary logical monitor is the second, on DP-2,
    // whose current mode is not its preferred one.
    const auto mutter = [](const QByteArray &transform, const QByteArray &currentMode) {
        return R"({"type":"ua((ssss)a(siiddada{sv})a{sv})a(iiduba(ssss)a{sv})a{sv}","data":[3,[)"
               R"([["eDP-1","BOE","0x1","0"],[["1920x1080@60",1920,1080,60,1,[1],{"is-current":{"type":"b","data":true}}]],{}],)"
               R"([["DP-2","DEL","0x2","9"],[["3840x2160@60",3840,2160,60,2,[1,2],{"is-preferred":{"type":"b","data":true}}],)"
               R"(["2560x1440@60",2560,1440,60,1,[1,1.25],{"is-current":{"type":"b","data":)" + currentMode + R"(}}]],{}]],)"
               R"([[0,0,1,0,false,[["eDP-1","BOE","0x1","0"]],{}],[1920,0,1.25,)" + transform + R"(,true,[["DP-2","DEL","0x2","9"]],{}]],{}]})";
    };
    QTest::newRow("gnome: primary's current mode") << "mutter" << mutter("0", "true") << QSize(2560, 1440) << 1.25;
    QTest::newRow("gnome: turned a quarter") << "mutter" << mutter("3", "true") << QSize(1440, 2560) << 1.25;
    QTest::newRow("gnome: no current mode") << "mutter" << mutter("0", "false") << QSize() << 1.0;
    QTest::newRow("gnome: no answer") << "mutter" << QByteArray() << QSize() << 1.0;

    QTest::newRow("X: Xft.dpi") << "xft" << QByteArray("Xcursor.size:\t24\nXft.dpi:\t144\nXft.hinting:\t1\n") << QSize() << 1.5;
    QTest::newRow("X: no dpi") << "xft" << QByteArray("Xcursor.size: 24\n") << QSize() << 1.0;
    QTest::newRow("X: a nonsense dpi") << "xft" << QByteArray("Xft.dpi: 0\n") << QSize() << 1.0;
}

void TestDesktop::screenReplies()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, reply);
    QFETCH(QSize, size);
    QFETCH(double, scale);
    if (source == QLatin1String("xft")) {
        QCOMPARE(Desktop::parseXftScale(reply), scale);
        return;
    }
    const Desktop::Screen screen = source == QLatin1String("sway") ? Desktop::parseSwayOutputs(reply) : Desktop::parseMutterState(reply);
    QCOMPARE(screen.isValid(), !size.isEmpty());
    if (!size.isEmpty()) {
        QCOMPARE(screen.size, size);
        QCOMPARE(screen.primary, QRect(QPoint(0, 0), size));
        QCOMPARE(screen.scale, scale);
    }
}

void TestDesktop::readsTheGroup_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<Target>("target");
    QTest::addColumn<int>("scale");
    QTest::addColumn<Anchor>("anchor");
    QTest::addColumn<int>("margin");

    QTest::newRow("no group: the phone") << QByteArray() << Target::Phone << 0 << Anchor::Right << 0;
    QTest::newRow("written") << QByteArray("Target = X11\nScale = 3\nAnchor = Top-Left\nMargin = 12\n") << Target::X11 << 3
                             << Anchor::TopLeft << 12;
    QTest::newRow("unknown and out of range") << QByteArray("Target = windows\nScale = -2\nAnchor = middle\nMargin = 99999\n")
                                              << Target::Phone << 0 << Anchor::Right << Desktop::kMaxMargin;
    QTest::newRow("huge scale") << QByteArray("Target = auto\nScale = 500\n") << Target::Auto << Desktop::kMaxScale
                                << Anchor::Right << 0;
}

void TestDesktop::readsTheGroup()
{
    QFETCH(QByteArray, group);
    QFETCH(Target, target);
    QFETCH(int, scale);
    QFETCH(Anchor, anchor);
    QFETCH(int, margin);
    const Desktop::Config config = Desktop::readConfig(ConfigSnapshot::fromText("[Desktop]\n" + group));
    QCOMPARE(config.target, target);
    QCOMPARE(config.scale, scale);
    QCOMPARE(config.anchor, anchor);
    QCOMPARE(config.margin, margin);
}

void TestDesktop::picturesAlternateUnderTwoNames()
{
    QTemporaryDir folder;
    QImage image(4, 4, QImage::Format_RGB32);
    QStringList written;
    for (int i = 0; i < 5; ++i) {
        image.fill(QColor(i * 40, 0, 0));
        QString error;
        written << QFileInfo(Desktop::writePicture(folder.path(), image, &error)).fileName();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // The picture just written is whole under its name; at most two are kept.
        QCOMPARE(QImage(folder.filePath(written.last())).pixelColor(0, 0), QColor(i * 40, 0, 0));
        QVERIFY(QDir(folder.path()).entryList(QDir::Files).size() <= 2);
    }
    const QString a = QStringLiteral("desktop-a.png"), b = QStringLiteral("desktop-b.png");
    QCOMPARE(written, QStringList({a, b, a, b, a}));
}

void TestDesktop::showPublishesThroughACommand()
{
    setUp(textItem("Date_Year", 20, 10, 10, kRed), "\n[Desktop]\nTarget = command\nCommand = echo %1 >> \"$LOG\"\n");
    QTemporaryDir cache;
    const QString log = cache.filePath(QStringLiteral("log"));
    QStringList paths;
    for (int i = 0; i < 2; ++i) {
        const Run run = runShow(cache.path(), {QStringLiteral("LOG=") + log});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QByteArray());
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        paths = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(paths.size(), i + 1);
    }
    // A new name every picture, both in the user's cache folder.
    QVERIFY(paths.at(0) != paths.at(1));
    QCOMPARE(QFileInfo(paths.at(1)).absolutePath(), cache.filePath(QStringLiteral("quillora")));
    const QImage screen(paths.at(1));
    // Without a display the screen is full HD: k = 2, the layout on the right, over the
    // wallpaper filled to the screen.
    QCOMPARE(screen.size(), QSize(1920, 1080));
    QCOMPARE(screen.pixelColor(10, 10), wallColour());
    const QRect onScreen = boundsOfColour(screen.convertToFormat(QImage::Format_RGB32), kRed);
    const QRect onPhone = boundsOfColour(QImage(TestEnv::path(QStringLiteral("device/idle/desktop.png"))).convertToFormat(QImage::Format_RGB32), kRed);
    QVERIFY(!onPhone.isNull());
    QVERIFY(QRect(1440, 220, 480, 640).contains(onScreen));
    // The text is drawn at twice the size, not enlarged: about twice as wide, from the same
    // theme coordinates.
    QVERIFY2(qAbs(onScreen.width() - 2 * onPhone.width()) <= 3, qPrintable(QStringLiteral("%1 vs %2").arg(onScreen.width()).arg(onPhone.width())));
    QVERIFY(qAbs(onScreen.left() - (1440 + 2 * onPhone.left())) <= 2);
    // The phone's own picture stays 240 x 320.
    QCOMPARE(QImage(TestEnv::path(QStringLiteral("device/idle/desktop.png"))).size(), QSize(240, 320));
}

void TestDesktop::hungCommandEndsWithWhatItStarted()
{
    Desktop::Targets::setProgramTimeLimitMs(300);
    const auto reset = qScopeGuard([] { Desktop::Targets::setProgramTimeLimitMs(10000); });
    // The shell waits for a program it started in the background, as a command line that hangs
    // in one of its programs does.
    const QString pidFile = TestEnv::path(QStringLiteral("started.pid"));
    QString error;
    QVERIFY(!Desktop::Targets::runProgram(QStringLiteral("/bin/sh"),
                                          {QStringLiteral("-c"), QStringLiteral("sleep 60 & echo $! > '%1'; wait").arg(pidFile)},
                                          &error));
    QCOMPARE(error, QStringLiteral("/bin/sh did not end within 0.3 seconds"));
    const QByteArray started = TestEnv::readFile(QStringLiteral("started.pid")).trimmed();
    QVERIFY(started.toLongLong() > 0);
    // Gone, or ended and not yet collected by whoever inherited it.
    const auto ended = [&] {
        QFile stat(QStringLiteral("/proc/") + QString::fromLatin1(started) + QStringLiteral("/stat"));
        return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
    };
    QTRY_VERIFY(ended());
}

void TestDesktop::failingTarget_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("published"); // a picture was written for the desktop
    QTest::addColumn<QStringList>("kept"); // the "Saved:" entries afterwards, sorted

    const QStringList noDisplay{QStringLiteral("DISPLAY=:7391")};
    const QStringList keptCommand{QStringLiteral("Saved:Targets=command")};
    QTest::newRow("phone") << QByteArray("Target = phone\n") << QStringList() << QByteArray() << false << QStringList();
    QTest::newRow("command fails") << QByteArray("Target = command\nCommand = exit 3\n") << QStringList()
                                   << QByteArray("show: desktop command: /bin/sh failed (status 3)\n") << true << keptCommand;
    QTest::newRow("no command") << QByteArray("Target = command\n") << QStringList()
                                << QByteArray("show: desktop command: no command is set\n") << true << keptCommand;
    QTest::newRow("x11 without a server") << QByteArray("Target = x11\n") << noDisplay
                                          << QByteArray("show: desktop x11: cannot keep the wallpaper settings: cannot open the display :7391\n")
                                          << false << QStringList();
    QTest::newRow("plasma without a bus") << QByteArray("Target = plasma\n") << QStringList()
                                          << QByteArray("show: desktop plasma: cannot keep the wallpaper settings: busctl failed")
                                          << false << QStringList();
    QTest::newRow("auto without a session") << QByteArray("Target = auto\n") << QStringList()
                                            << QByteArray("show: desktop auto: no desktop session; the phone alone shows the picture\n")
                                            << false << QStringList();
    // A file of the one-record form: the x11 settings that cannot go back wait in the
    // per-target form, and the next desktop is served all the same.
    QTest::newRow("earlier x11 record, no display") << QByteArray("Target = command\nCommand = true %1\nSaved:Target = x11\nSaved:root-pixmap = 4242\n")
                                                    << noDisplay
                                                    << QByteArray("show: desktop x11: cannot give the wallpaper settings back: cannot open the display :7391\n")
                                                    << true
                                                    << QStringList{QStringLiteral("Saved:Targets=x11,command"), QStringLiteral("Saved:x11:root-pixmap=4242")};
    QTest::newRow("earlier record given back") << QByteArray("Target = phone\nSaved:Target = command\n") << QStringList() << QByteArray()
                                               << false << QStringList();
}

void TestDesktop::failingTarget()
{
    QFETCH(QByteArray, group);
    QFETCH(QStringList, env);
    QFETCH(QByteArray, line);
    QFETCH(bool, published);
    QFETCH(QStringList, kept);
    setUp(textItem("Date_Year", 20, 10, 10, kRed), "\n[Desktop]\n" + group);
    TestEnv::removeFile(QStringLiteral("device/idle/desktop.png"));
    QTemporaryDir cache;
    const Run run = runShow(cache.path(), env);
    QCOMPARE(run.status, 0);
    QVERIFY2(run.err.startsWith(line) && run.err.count('\n') == (line.isEmpty() ? 0 : 1), run.err.constData());
    QCOMPARE(QImage(TestEnv::path(QStringLiteral("device/idle/desktop.png"))).size(), QSize(240, 320));
    QCOMPARE(QFileInfo::exists(cache.filePath(QStringLiteral("quillora/desktop-a.png"))), published);
    const ConfigSnapshot settings(TestEnv::path(QStringLiteral("settings.ini")));
    QStringList saved;
    for (const QString &key : settings.keyList(QStringLiteral("Desktop"))) {
        if (key.startsWith(QLatin1String("Saved:")))
            saved << key + QLatin1Char('=') + settings.readEntry(QStringLiteral("Desktop"), key);
    }
    saved.sort();
    QCOMPARE(saved, kept);
}

void TestDesktop::rootWindowUnderX()
{
    if (!TestDisplay::available())
        QSKIP("Xvfb is not installed");
    TestDisplay server;
    const QByteArray display = server.start(QStringLiteral("1600x1200x24"));
    QVERIFY2(!display.isEmpty(), "Xvfb did not start");
    qputenv("DISPLAY", display);
    xcb_connection_t *c = xcb_connect(display.constData(), nullptr);
    // A failing check leaves neither the display named for the tests after it nor the connection.
    const auto done = qScopeGuard([c] {
        xcb_disconnect(c);
        qunsetenv("DISPLAY");
    });
    QVERIFY(!xcb_connection_has_error(c));
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    QCOMPARE(Desktop::RootWindow::screen().size, QSize(1600, 1200));

    // A hundred pictures: each one shows and is named by both properties, and the one before
    // it is freed with the connection that kept it.
    QList<quint32> pixmaps;
    QImage picture(1600, 1200, QImage::Format_RGB32);
    for (int i = 0; i < 100; ++i) {
        picture.fill(QColor(i, 255 - i, 7));
        QString error;
        QVERIFY2(Desktop::RootWindow::setBackground(picture, &error), qPrintable(error));
        pixmaps << rootProperty(c, screen->root, "_XROOTPMAP_ID");
        QVERIFY(pixmaps.last() != 0);
        QCOMPARE(rootProperty(c, screen->root, "ESETROOT_PMAP_ID"), pixmaps.last());
        if (i > 0)
            QVERIFY2(!pixmapExists(c, pixmaps.at(i - 1)), "the previous picture was kept");
    }
    QVERIFY(pixmapExists(c, pixmaps.last()));
    // A copy kept and then not needed is freed again.
    QString error;
    const quint32 copy = Desktop::RootWindow::keepBackground(&error);
    QVERIFY2(copy != 0 && pixmapExists(c, copy), qPrintable(error));
    Desktop::RootWindow::dropBackground(copy);
    QVERIFY(!pixmapExists(c, copy));
    QVERIFY(pixmapExists(c, pixmaps.last()));
    const QColor own(99, 156, 7);
    QCOMPARE(rootPixels(c, screen).pixelColor(800, 600), own);

    // Two monitors side by side, the right one primary, and a desktop at twice the pixels.
    // The request is put together here: the library's own form sends a wrong length for a
    // primary monitor.
    free(xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr));
    for (const auto &[name, x, primary] : {std::tuple("LEFT", 0, 0), std::tuple("RIGHT", 800, 1)}) {
        xcb_randr_monitor_info_t monitor{};
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
        monitor.name = atom->atom;
        free(atom);
        monitor.primary = uint8_t(primary);
        monitor.x = int16_t(x);
        monitor.width = 800;
        monitor.height = 1200;
        struct { uint8_t major = 0, minor = 0; uint16_t length = 0; uint32_t window; } head;
        head.window = screen->root;
        static const xcb_protocol_request_t request{2, &xcb_randr_id, XCB_RANDR_SET_MONITOR, 1};
        iovec parts[4] = {{}, {}, {&head, sizeof head}, {&monitor, sizeof monitor}};
        QVERIFY(!xcb_request_check(c, {xcb_send_request(c, XCB_REQUEST_CHECKED, parts + 2, &request)}));
    }
    const QByteArray resources("Xft.dpi:\t192\n");
    QVERIFY(!xcb_request_check(c, xcb_change_property_checked(c, XCB_PROP_MODE_REPLACE, screen->root, XCB_ATOM_RESOURCE_MANAGER,
                                                              XCB_ATOM_STRING, 8, uint32_t(resources.size()), resources.constData())));
    const Desktop::Screen learnt = Desktop::RootWindow::screen();
    QCOMPARE(learnt.primary, QRect(800, 0, 800, 1200));
    QCOMPARE(learnt.scale, 2.0);
    // Only x11 draws on the whole root; a desktop that fits its picture to each monitor (and
    // GNOME or sway when they do not answer) gets the primary monitor's.
    QCOMPARE(Desktop::screenFor(Target::X11).size, QSize(1600, 1200));
    for (const Target target : {Target::Plasma, Target::Command}) {
        const Desktop::Screen fitted = Desktop::screenFor(target);
        QCOMPARE(fitted.size, QSize(800, 1200));
        QCOMPARE(fitted.primary, QRect(0, 0, 800, 1200));
        QCOMPARE(fitted.scale, 2.0);
    }

    // show on the X server: the wallpaper fills the screen; the items at k = 3 fill the width
    // of the portrait primary monitor, 10 desktop pixels (20 device pixels) off its right edge.
    setUp(textItem("Date_Year", 20, 10, 10, kRed), "\n[Desktop]\nTarget = x11\nMargin = 10\n");
    QTemporaryDir cache;
    const QStringList env{QStringLiteral("DISPLAY=") + QString::fromLatin1(display)};
    Run run = runShow(cache.path(), env);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QByteArray());
    const QImage shown = rootPixels(c, screen);
    QCOMPARE(shown.pixelColor(5, 5), wallColour());
    const QRect onScreen = boundsOfColour(shown, kRed);
    const QRect onPhone = boundsOfColour(QImage(TestEnv::path(QStringLiteral("device/idle/desktop.png"))).convertToFormat(QImage::Format_RGB32), kRed);
    QVERIFY(QRect(860, 120, 720, 960).contains(onScreen));
    QVERIFY2(qAbs(onScreen.left() - (860 + 3 * onPhone.left())) <= 2, qPrintable(QString::number(onScreen.left())));
    QVERIFY(!pixmapExists(c, pixmaps.last()));
    // The root window took the picture from memory: no file was written.
    QVERIFY(!QFileInfo::exists(cache.filePath(QStringLiteral("quillora"))));
    const quint32 ours = rootProperty(c, screen->root, "_XROOTPMAP_ID");

    // Back to the phone: the picture shown before the first one returns, named by both
    // properties, and ours is freed.
    TestEnv::writeFile(QStringLiteral("settings.ini"), TestEnv::readFile(QStringLiteral("settings.ini")).replace("\nTarget = x11", "\nTarget = phone"));
    run = runShow(cache.path(), env);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(rootPixels(c, screen).pixelColor(1200, 600), own);
    const quint32 restored = rootProperty(c, screen->root, "_XROOTPMAP_ID");
    QVERIFY(restored != 0 && restored != ours && pixmapExists(c, restored));
    QCOMPARE(rootProperty(c, screen->root, "ESETROOT_PMAP_ID"), restored);
    QVERIFY(!pixmapExists(c, ours));
    QVERIFY(!TestEnv::readFile(QStringLiteral("settings.ini")).contains("Saved:"));
    // A number the root does not name as kept (a restarted server gives it to another client's
    // picture or window) is never shown: the server's own background returns.
    QVERIFY2(Desktop::RootWindow::restoreBackground(restored, &error), qPrintable(error));
    QCOMPARE(rootProperty(c, screen->root, "_XROOTPMAP_ID"), 0u);
}

void TestDesktop::gnomeSettingsStore_data()
{
    QTest::addColumn<bool>("afterX11"); // x11 showed the picture before, on a display gone since

    QTest::newRow("gnome") << false;
    QTest::newRow("after x11 whose display is gone") << true;
}

void TestDesktop::gnomeSettingsStore()
{
    QFETCH(bool, afterX11);
    if (afterX11 && !TestDisplay::available())
        QSKIP("Xvfb is not installed");
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() || gsettings.isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("busctl")).isEmpty()
        || !QFileInfo::exists(QStringLiteral("/usr/share/dbus-1/services/ca.desrt.dconf.service")))
        QSKIP("dbus-daemon, busctl, gsettings or dconf-service is not installed");
    TestBus::Daemon bus;
    const QByteArray address = bus.start();
    QVERIFY2(!address.isEmpty(), "no session bus");
    // The compositor: a laptop's panel, and a primary monitor at 2560 x 1440 (not its preferred
    // 4K) scaled by 1.5.
    qDBusRegisterMetaType<MonitorSpec>();
    qDBusRegisterMetaType<MonitorMode>();
    qDBusRegisterMetaType<Monitor>();
    qDBusRegisterMetaType<LogicalMonitor>();
    qDBusRegisterMetaType<QList<MonitorSpec>>();
    qDBusRegisterMetaType<QList<MonitorMode>>();
    qDBusRegisterMetaType<QList<Monitor>>();
    qDBusRegisterMetaType<QList<LogicalMonitor>>();
    qDBusRegisterMetaType<QList<double>>();
    auto *config = new DisplayConfigStub;
    const MonitorSpec panel{QStringLiteral("eDP-1"), QStringLiteral("BOE"), QStringLiteral("1"), QStringLiteral("0")};
    const MonitorSpec external{QStringLiteral("DP-2"), QStringLiteral("DEL"), QStringLiteral("2"), QStringLiteral("9")};
    const QVariantMap current{{QStringLiteral("is-current"), true}};
    config->monitors = {Monitor{panel, {MonitorMode{QStringLiteral("a"), 1920, 1080, 60, 1, {1.0}, current}}, {}},
                        Monitor{external, {MonitorMode{QStringLiteral("b"), 3840, 2160, 60, 2, {1.0, 2.0}, {}},
                                           MonitorMode{QStringLiteral("c"), 2560, 1440, 60, 1, {1.0, 1.5}, current}}, {}}};
    config->logicals = {LogicalMonitor{0, 0, 1, 0, false, {panel}, {}}, LogicalMonitor{1920, 0, 1.5, 0, true, {external}, {}}};
    const TestBus::Stub compositor(address, QStringLiteral("org.gnome.Mutter.DisplayConfig"), QStringLiteral("/org/gnome/Mutter/DisplayConfig"), config);
    QVERIFY(compositor.ok());
    // The bus, the settings service and gsettings share the test's own home folders.
    const QStringList env{QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + QString::fromLatin1(address), QStringLiteral("GSETTINGS_BACKEND=dconf")};
    QProcessEnvironment processEnv = QProcessEnvironment::systemEnvironment();
    for (const QString &pair : env)
        processEnv.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    const auto gnome = [&](const QStringList &args) {
        QProcess process;
        process.setProcessEnvironment(processEnv);
        process.start(gsettings, args);
        process.waitForFinished();
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    };
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    const QStringList own{QStringLiteral("'file:///srv/own-dark.jpg'"), QStringLiteral("'file:///srv/own.jpg'"), QStringLiteral("'spanned'")};
    const QStringList keys{QStringLiteral("picture-uri-dark"), QStringLiteral("picture-uri"), QStringLiteral("picture-options")};
    for (int i = 0; i < 3; ++i)
        gnome({QStringLiteral("set"), schema, keys.at(i), own.at(i)});
    QCOMPARE(gnome({QStringLiteral("get"), schema, keys.at(1)}), own.at(1));

    setUp(textItem("Date_Year", 20, 10, 10, kRed), "\n[Desktop]\nTarget = gnome\nMargin = 10\n");
    QTemporaryDir cache;
    // The x11 picture over the user's own root picture; then the display cannot be opened for
    // the first two GNOME pictures, and is there again for the third.
    TestDisplay server;
    QByteArray display;
    xcb_connection_t *c = nullptr;
    const QColor ownRoot(99, 156, 7);
    const QByteArray x11Waits = "show: desktop x11: cannot give the wallpaper settings back: cannot open the display :7391\n";
    if (afterX11) {
        display = server.start(QStringLiteral("640x480x24"));
        QVERIFY2(!display.isEmpty(), "Xvfb did not start");
        c = xcb_connect(display.constData(), nullptr);
        QVERIFY2(!xcb_connection_has_error(c), "Xvfb did not start");
        {
            qputenv("DISPLAY", display);
            const auto unset = qScopeGuard([] { qunsetenv("DISPLAY"); });
            QImage mine(640, 480, QImage::Format_RGB32);
            mine.fill(ownRoot);
            QString error;
            QVERIFY2(Desktop::RootWindow::setBackground(mine, &error), qPrintable(error));
        }
        TestEnv::writeFile(QStringLiteral("settings.ini"), TestEnv::readFile(QStringLiteral("settings.ini")).replace("\nTarget = gnome", "\nTarget = x11"));
        const Run run = runShow(cache.path(), env + QStringList{QStringLiteral("DISPLAY=") + QString::fromLatin1(display)});
        QCOMPARE(run.err, QByteArray());
        QVERIFY(rootPixels(c, xcb_setup_roots_iterator(xcb_get_setup(c)).data).pixelColor(5, 5) != ownRoot);
        TestEnv::writeFile(QStringLiteral("settings.ini"), TestEnv::readFile(QStringLiteral("settings.ini")).replace("\nTarget = x11", "\nTarget = gnome"));
    }
    QStringList uris;
    for (int i = 0; i < 3; ++i) {
        const bool displayGone = afterX11 && i < 2;
        const QStringList displayEnv{QStringLiteral("DISPLAY=") + QString::fromLatin1(displayGone ? ":7391" : display)};
        const Run run = runShow(cache.path(), afterX11 ? env + displayEnv : env);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, displayGone ? x11Waits : QByteArray());
        QCOMPARE(TestEnv::readFile(QStringLiteral("settings.ini")).contains("Saved:x11:root-pixmap"), displayGone);
        if (afterX11 && !displayGone)
            QCOMPARE(rootPixels(c, xcb_setup_roots_iterator(xcb_get_setup(c)).data).pixelColor(5, 5), ownRoot);
        const QString uri = gnome({QStringLiteral("get"), schema, keys.at(1)});
        QCOMPARE(gnome({QStringLiteral("get"), schema, keys.at(0)}), uri);
        QVERIFY(!uris.contains(uri) || i == 2);
        uris << uri;
        const QString path = QUrl(uri.mid(1, uri.size() - 2)).toLocalFile();
        const QImage picture(path);
        QCOMPARE(picture.size(), QSize(2560, 1440));
        // k = 3, at the right of the primary monitor.
        QVERIFY(QRect(2560 - 720 - 15, 240, 720, 960).contains(boundsOfColour(picture.convertToFormat(QImage::Format_RGB32), kRed)));
        QCOMPARE(gnome({QStringLiteral("get"), schema, keys.at(2)}), QStringLiteral("'zoom'"));
    }
    QVERIFY(uris.at(0) != uris.at(1) && uris.at(1) != uris.at(2));

    // Back to the phone: the user's own settings return, and are no longer kept.
    TestEnv::writeFile(QStringLiteral("settings.ini"), TestEnv::readFile(QStringLiteral("settings.ini")).replace("\nTarget = gnome", "\nTarget = phone"));
    const Run run = runShow(cache.path(), env);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QByteArray());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(gnome({QStringLiteral("get"), schema, keys.at(i)}), own.at(i));
    QVERIFY(!TestEnv::readFile(QStringLiteral("settings.ini")).contains("Saved:"));
    if (c)
        xcb_disconnect(c);
}

void TestDesktop::plasmaShellScript()
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("busctl")).isEmpty())
        QSKIP("dbus-daemon or busctl is not installed");
    TestBus::Daemon bus;
    const QByteArray address = bus.start();
    QVERIFY2(!address.isEmpty(), "no session bus");
    auto *shell = new PlasmaShellStub;
    TestBus::Stub stub(address, QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"), shell);
    QVERIFY(stub.ok());

    setUp(textItem("Date_Year", 20, 10, 10, kRed), "\n[Desktop]\nTarget = auto\n");
    QTemporaryDir cache;
    const QStringList env{QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + QString::fromLatin1(address),
                          QStringLiteral("XDG_CURRENT_DESKTOP=KDE")};
    QStringList scripts;
    for (int i = 0; i < 2; ++i) {
        const Run run = runShow(cache.path(), env);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QByteArray());
        stub.read([&] { scripts = shell->scripts; });
        // The desktops' own images are read once, before the first picture.
        QCOMPARE(scripts.size(), i + 2);
        // The script sets the image of the desktops that show a picture to a file that exists.
        const QRegularExpression url(QStringLiteral("writeConfig\\(\"Image\", \"(file://[^\"]+)\"\\)"));
        const QRegularExpressionMatch match = url.match(scripts.last());
        QVERIFY2(match.hasMatch(), qPrintable(scripts.last()));
        QVERIFY(scripts.last().contains(QLatin1String("org.kde.image")));
        QCOMPARE(QImage(QUrl(match.captured(1)).toLocalFile()).size(), QSize(1920, 1080));
    }
    QVERIFY(scripts.at(1) != scripts.at(2));

    // Back to the phone: each desktop gets its own image back, and it is no longer kept.
    TestEnv::writeFile(QStringLiteral("settings.ini"), TestEnv::readFile(QStringLiteral("settings.ini")).replace("\nTarget = auto", "\nTarget = phone"));
    const Run run = runShow(cache.path(), env);
    QCOMPARE(run.err, QByteArray());
    stub.read([&] { scripts = shell->scripts; });
    QCOMPARE(scripts.size(), 4);
    QVERIFY(scripts.last().startsWith(QLatin1String("var images = ") + PlasmaShellStub::ownImages() + QLatin1Char(';')));
    QVERIFY(!TestEnv::readFile(QStringLiteral("settings.ini")).contains("Saved:"));
}

// The command line of a running process, or empty.
static QByteArray commandLine(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    return file.open(QIODevice::ReadOnly) ? file.readAll().replace('\0', ' ') : QByteArray();
}

void TestDesktop::swayBackgroundProgram()
{
    // sway itself does not run here: a stand-in background program that waits until it is
    // ended, under the real one's name, and a stand-in of sway's messenger that lists one
    // output of 1280 x 800, turned upright.
    QTemporaryDir bin;
    QVERIFY(QProcess::execute(QStringLiteral("mkfifo"), {bin.filePath(QStringLiteral("wait"))}) == 0);
    const auto program = [&](const char *name, const QByteArray &body) {
        QFile file(bin.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n" + body) > 0);
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    };
    program("swaybg", "exec 3<> \"" + bin.filePath(QStringLiteral("wait")).toUtf8() + "\"\nread -r line <&3\n");
    program("swaymsg", R"(echo '[{"name":"eDP-1","active":true,"focused":true,"scale":2,"transform":"90",)"
                       R"("current_mode":{"width":1280,"height":800}}]')" "\n");
    QTemporaryDir cache, runtime;
    const QStringList env{QStringLiteral("PATH=") + bin.path() + QLatin1Char(':') + qEnvironmentVariable("PATH"),
                          QStringLiteral("SWAYSOCK=/nowhere/sway.sock"), QStringLiteral("XDG_RUNTIME_DIR=") + runtime.path()};
    const QString pidFile = runtime.filePath(QStringLiteral("quillora-swaybg.pid"));
    const auto pidNow = [&] {
        QFile file(pidFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
    };

    setUp(textItem("Date_Year", 20, 10, 10, kRed), "\n[Desktop]\nTarget = auto\n");
    QList<qint64> pids;
    for (int i = 0; i < 2; ++i) {
        const Run run = runShow(cache.path(), env);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QByteArray());
        pids << pidNow();
        // The new one shows the new picture; the one before it has ended.
        const QByteArray command = commandLine(pids.last());
        const QByteArray picture = cache.filePath(QStringLiteral("quillora/desktop-")).toUtf8();
        QVERIFY2(command.contains("-i " + picture), command.constData());
        QCOMPARE(QImage(QString::fromUtf8(command.mid(command.indexOf(picture), picture.size() + 5))).size(), QSize(800, 1280));
        QCOMPARE(QDir(cache.filePath(QStringLiteral("quillora"))).entryList(QDir::Files).size(), i + 1);
        if (i > 0)
            QTRY_VERIFY(commandLine(pids.at(0)).isEmpty());
    }
    QVERIFY(pids.at(0) != pids.at(1));
    // Back to the phone: the own background program ends.
    TestEnv::writeFile(QStringLiteral("settings.ini"), TestEnv::readFile(QStringLiteral("settings.ini")).replace("\nTarget = auto", "\nTarget = phone"));
    const Run run = runShow(cache.path(), env);
    QCOMPARE(run.err, QByteArray());
    QTRY_VERIFY(commandLine(pids.at(1)).isEmpty());
    QVERIFY(!QFileInfo::exists(pidFile));
}

QUILLORA_TEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
