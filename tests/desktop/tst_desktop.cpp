// The real desktops: the choice of "auto", the layout on a screen, the alternating pictures,
// and show publishing through a command, failing targets included.

#include "configsnapshot.h"
#include "desktopconfig.h"
#include "desktoplayout.h"
#include "desktoppublish.h"
#include "renderfixture.h"
#include "rootwindow.h"

#include <xcb/xcb.h>

#include <QDBusConnection>
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

struct Run
{
    int status = -1;
    QByteArray err;
};

Run runShow(const QString &cache, const QStringList &extraEnv = {})
{
    const QString show = TestEnv::installProgram(QStringLiteral("show"));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "XDG_CURRENT_DESKTOP",
                             "DBUS_SESSION_BUS_ADDRESS"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), cache);
    for (const QString &pair : extraEnv)
        env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.start(show, {});
    Run run;
    if (!process.waitForStarted(30000))
        return run;
    if (!process.waitForFinished(30000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = process.readAllStandardError();
    return run;
}

const QColor kRed(255, 0, 0);

// A program of the test's own, ended when the test ends.
struct Helper
{
    QProcess process;
    ~Helper()
    {
        process.kill();
        process.waitForFinished();
    }
    // Starts the program and returns the first line it prints.
    QByteArray start(const QString &program, const QStringList &args)
    {
        process.start(program, args);
        if (!process.waitForStarted() || !process.waitForReadyRead(20000))
            return QByteArray();
        while (!process.canReadLine() && process.waitForReadyRead(20000)) {
        }
        return process.readLine().trimmed();
    }
};

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

// The shell's script interface, keeping the scripts it was sent.
class PlasmaShellStub : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")
public:
    QStringList scripts;
public slots:
    void evaluateScript(const QString &script) { scripts << script; }
};

class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    void detect_data();
    void detect();
    void layout_data();
    void layout();
    void readsTheGroup_data();
    void readsTheGroup();
    void picturesAlternateUnderTwoNames();
    void showPublishesThroughACommand();
    void failingTarget_data();
    void failingTarget();
    void rootWindowUnderX();
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
    QCOMPARE(written, QStringList({"desktop-a.png", "desktop-b.png", "desktop-a.png", "desktop-b.png", "desktop-a.png"}));
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

void TestDesktop::failingTarget_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("phone") << QByteArray("Target = phone\n") << QStringList() << QByteArray();
    QTest::newRow("command fails") << QByteArray("Target = command\nCommand = exit 3\n") << QStringList()
                                   << QByteArray("show: desktop command: /bin/sh failed (status 3)\n");
    QTest::newRow("no command") << QByteArray("Target = command\n") << QStringList()
                                << QByteArray("show: desktop command: no command is set\n");
    QTest::newRow("x11 without a server") << QByteArray("Target = x11\n") << QStringList{QStringLiteral("DISPLAY=:7391")}
                                          << QByteArray("show: desktop x11: cannot open the display :7391\n");
    QTest::newRow("plasma without a bus") << QByteArray("Target = plasma\n") << QStringList()
                                          << QByteArray("show: desktop plasma: gdbus failed");
    QTest::newRow("auto without a session") << QByteArray("Target = auto\n") << QStringList()
                                            << QByteArray("show: desktop auto: no desktop session; the phone alone shows the picture\n");
}

void TestDesktop::failingTarget()
{
    QFETCH(QByteArray, group);
    QFETCH(QStringList, env);
    QFETCH(QByteArray, line);
    setUp(textItem("Date_Year", 20, 10, 10, kRed), "\n[Desktop]\n" + group);
    TestEnv::removeFile(QStringLiteral("device/idle/desktop.png"));
    QTemporaryDir cache;
    const Run run = runShow(cache.path(), env);
    QCOMPARE(run.status, 0);
    QVERIFY2(run.err.startsWith(line) && run.err.count('\n') == (line.isEmpty() ? 0 : 1), run.err.constData());
    QCOMPARE(QImage(TestEnv::path(QStringLiteral("device/idle/desktop.png"))).size(), QSize(240, 320));
    if (line.isEmpty() || line.contains("auto"))
        QVERIFY(!QFileInfo::exists(cache.filePath(QStringLiteral("quillora"))));
}

void TestDesktop::rootWindowUnderX()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        QSKIP("Xvfb is not installed");
    Helper server;
    const QByteArray number = server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                                                 QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                                                 QStringLiteral("0"), QStringLiteral("1600x1200x24")});
    QVERIFY2(!number.isEmpty(), "Xvfb did not start");
    const QByteArray display = ":" + number;
    qputenv("DISPLAY", display);
    xcb_connection_t *c = xcb_connect(display.constData(), nullptr);
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
    QCOMPARE(rootPixels(c, screen).pixelColor(800, 600), QColor(99, 156, 7));

    // show on the X server: the wallpaper fills the screen, the items at k = 3 on the right.
    setUp(textItem("Date_Year", 20, 10, 10, kRed), "\n[Desktop]\nTarget = x11\n");
    QTemporaryDir cache;
    const Run run = runShow(cache.path(), {QStringLiteral("DISPLAY=") + QString::fromLatin1(display)});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QByteArray());
    const QImage shown = rootPixels(c, screen);
    QCOMPARE(shown.pixelColor(5, 5), wallColour());
    QVERIFY(QRect(880, 120, 720, 960).contains(boundsOfColour(shown, kRed)));
    QVERIFY(!pixmapExists(c, pixmaps.last()));
    xcb_disconnect(c);
    qunsetenv("DISPLAY");
}

void TestDesktop::gnomeSettingsStore()
{
    const QString busDaemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (busDaemon.isEmpty() || gsettings.isEmpty() || !QFileInfo::exists(QStringLiteral("/usr/share/dbus-1/services/ca.desrt.dconf.service")))
        QSKIP("dbus-daemon, gsettings or dconf-service is not installed");
    Helper bus;
    const QByteArray address = bus.start(busDaemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    QVERIFY2(!address.isEmpty(), "no session bus");
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

    setUp(textItem("Date_Year", 20, 10, 10, kRed), "\n[Desktop]\nTarget = gnome\n");
    QTemporaryDir cache;
    QStringList uris;
    for (int i = 0; i < 3; ++i) {
        const Run run = runShow(cache.path(), env);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QByteArray());
        const QString uri = gnome({QStringLiteral("get"), schema, keys.at(1)});
        QCOMPARE(gnome({QStringLiteral("get"), schema, keys.at(0)}), uri);
        QVERIFY(!uris.contains(uri) || i == 2);
        uris << uri;
        const QString path = QUrl(uri.mid(1, uri.size() - 2)).toLocalFile();
        QCOMPARE(QImage(path).size(), QSize(1920, 1080));
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
}

void TestDesktop::plasmaShellScript()
{
    const QString busDaemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (busDaemon.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty())
        QSKIP("dbus-daemon or gdbus is not installed");
    Helper bus;
    const QByteArray address = bus.start(busDaemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    QVERIFY2(!address.isEmpty(), "no session bus");
    // The shell answers from a thread of its own, as it would from its own process.
    QThread shellThread;
    auto *shell = new PlasmaShellStub;
    QDBusConnection connection = QDBusConnection::connectToBus(QString::fromLatin1(address), QStringLiteral("shell"));
    QVERIFY(connection.registerObject(QStringLiteral("/PlasmaShell"), shell, QDBusConnection::ExportAllSlots));
    QVERIFY(connection.registerService(QStringLiteral("org.kde.plasmashell")));
    shell->moveToThread(&shellThread);
    shellThread.start();

    setUp(textItem("Date_Year", 20, 10, 10, kRed), "\n[Desktop]\nTarget = auto\n");
    QTemporaryDir cache;
    const QStringList env{QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + QString::fromLatin1(address),
                          QStringLiteral("XDG_CURRENT_DESKTOP=KDE")};
    QStringList scripts;
    for (int i = 0; i < 2; ++i) {
        const Run run = runShow(cache.path(), env);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QByteArray());
        QMetaObject::invokeMethod(shell, [&] { scripts = shell->scripts; }, Qt::BlockingQueuedConnection);
        QCOMPARE(scripts.size(), i + 1);
        // The script sets the image of the desktops that show a picture to a file that exists.
        const QRegularExpression url(QStringLiteral("writeConfig\\(\"Image\", \"(file://[^\"]+)\"\\)"));
        const QRegularExpressionMatch match = url.match(scripts.last());
        QVERIFY2(match.hasMatch(), qPrintable(scripts.last()));
        QVERIFY(scripts.last().contains(QLatin1String("org.kde.image")));
        QCOMPARE(QImage(QUrl(match.captured(1)).toLocalFile()).size(), QSize(1920, 1080));
    }
    QVERIFY(scripts.at(0) != scripts.at(1));

    connection.unregisterObject(QStringLiteral("/PlasmaShell"));
    QMetaObject::invokeMethod(shell, [shell] { delete shell; }, Qt::BlockingQueuedConnection);
    shellThread.quit();
    shellThread.wait();
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
    // ended, under the real one's name.
    QTemporaryDir bin;
    QVERIFY(QProcess::execute(QStringLiteral("mkfifo"), {bin.filePath(QStringLiteral("wait"))}) == 0);
    const QString stub = bin.filePath(QStringLiteral("swaybg"));
    TestEnv::writeFile(QStringLiteral("swaybg.tmp"), "#!/bin/sh\nexec 3<> \"" + bin.filePath(QStringLiteral("wait")).toUtf8() + "\"\nread -r line <&3\n");
    QVERIFY(QFile::rename(TestEnv::path(QStringLiteral("swaybg.tmp")), stub));
    QFile::setPermissions(stub, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QStringList env{QStringLiteral("PATH=") + bin.path() + QLatin1Char(':') + qEnvironmentVariable("PATH"),
                          QStringLiteral("SWAYSOCK=/nowhere/sway.sock")};
    QTemporaryDir cache;
    const QString pidFile = cache.filePath(QStringLiteral("quillora/swaybg.pid"));
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
        QVERIFY(commandLine(pids.last()).contains("-i " + cache.filePath(QStringLiteral("quillora/desktop-")).toUtf8()));
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
