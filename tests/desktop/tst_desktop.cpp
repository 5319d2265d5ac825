// The real desktops: the choice of "auto", the layout on a screen, the alternating pictures,
// and show publishing through a command, failing targets included.

#include "configsnapshot.h"
#include "desktopconfig.h"
#include "desktoplayout.h"
#include "desktoppublish.h"
#include "renderfixture.h"

#include <QDir>
#include <QProcess>
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
    if (!process.waitForFinished(30000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = process.readAllStandardError();
    return run;
}

const QColor kRed(255, 0, 0);

} // namespace

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

QUILLORA_TEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
