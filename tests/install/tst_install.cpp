// The suite installed under a read-only prefix and run by a user with a home of their own, and a
// program directory copied and moved away from the build.
#include "testenv.h"
#include "wallpaperlist.h"
#include "zconfig.h"

#include <QDirIterator>
#include <QImage>
#include <QProcess>

class TestInstall : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void installedProgramsWorkInTheUsersDirectory_data();
    void installedProgramsWorkInTheUsersDirectory();
    void movedProgramDirectoryKeepsItsWallpapers();

private:
    // Every file below the prefix with its size, time and permissions, one per line.
    QStringList snapshot() const;
    QProcessEnvironment environment(const QString &home, const QString &dataHome) const;
    // Draws the desktop with the build's show in the test's own program directory.
    QImage reference();

    QTemporaryDir m_tmp;
    QString m_prefix;
    QStringList m_before;
};

namespace {

const char *const kFakeTime = "@2026-03-14 10:20:00";

void setWritable(const QString &root, bool writable)
{
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    QStringList paths{root};
    while (it.hasNext())
        paths << it.next();
    for (const QString &path : paths) {
        QFile::Permissions p = QFileInfo(path).permissions();
        const QFile::Permissions w = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
        QFile::setPermissions(path, writable ? (p | QFile::WriteOwner | QFile::WriteUser) : (p & ~w));
    }
}

} // namespace

QStringList TestInstall::snapshot() const
{
    QStringList lines;
    QDirIterator it(m_prefix, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        lines << QStringLiteral("%1 %2 %3 %4").arg(info.filePath()).arg(info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch()).arg(int(info.permissions()));
    }
    lines.sort();
    return lines;
}

QProcessEnvironment TestInstall::environment(const QString &home, const QString &dataHome) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    if (dataHome.isEmpty())
        env.remove(QStringLiteral("XDG_DATA_HOME"));
    else
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (*FAKETIME_LIB) {
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FAKETIME_LIB));
        env.insert(QStringLiteral("FAKETIME"), QLatin1String(kFakeTime));
        env.insert(QStringLiteral("NO_FAKE_STAT"), QStringLiteral("1"));
    }
    return env;
}

QImage TestInstall::reference()
{
    QProcess show;
    show.setProcessEnvironment(environment(qEnvironmentVariable("HOME"), qEnvironmentVariable("XDG_DATA_HOME")));
    show.start(TestEnv::installProgram(QStringLiteral("show")), {});
    const qint64 pid = show.waitForStarted(5000) ? show.processId() : 0;
    const bool drawn = show.waitForFinished(60000) && show.exitCode() == 0;
    TestEnv::forgetFakeClock(pid);
    if (!drawn)
        return QImage();
    return QImage(TestEnv::path(QStringLiteral("device/idle/desktop.png")));
}

void TestInstall::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    m_prefix = m_tmp.path() + QStringLiteral("/prefix");
    QProcess install;
    install.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    install.start(QStringLiteral(CMAKE_PROGRAM),
                  {QStringLiteral("--install"), QStringLiteral(BUILD_DIR), QStringLiteral("--prefix"), m_prefix});
    QVERIFY(install.waitForFinished(120000));
    QCOMPARE(install.exitCode(), 0);
    // Nothing of a run can reach an install: only shipped files and the programs.
    const QString dir = m_prefix + QStringLiteral("/lib/quillora/");
    QVERIFY(QFileInfo::exists(dir + QStringLiteral("installed")));
    QVERIFY(QFileInfo::exists(dir + QStringLiteral("settings.ini")));
    QVERIFY(!QFileInfo::exists(dir + QStringLiteral("device/idle/desktop.png")));
    QVERIFY(!QFileInfo::exists(dir + QStringLiteral("device/idle/cache")));
    QVERIFY(!QFileInfo::exists(dir + QStringLiteral("device/run")));
    setWritable(m_prefix, false);
    m_before = snapshot();
}

void TestInstall::cleanupTestCase()
{
    setWritable(m_prefix, true);
}

void TestInstall::installedProgramsWorkInTheUsersDirectory_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("dataHome"); // below the test's home; empty: XDG_DATA_HOME unset
    QTest::addColumn<QString>("userDir");  // below the test's home
    QTest::newRow("show, default data folder") << "show" << "" << ".local/share/quillora/";
    QTest::newRow("daemon, XDG_DATA_HOME") << "tarnwick" << "data" << "data/quillora/";
}

void TestInstall::installedProgramsWorkInTheUsersDirectory()
{
    QFETCH(QString, program);
    QFETCH(QString, dataHome);
    QFETCH(QString, userDir);
    const QString home = m_tmp.path() + QStringLiteral("/home-") + program + QLatin1Char('/');
    QVERIFY(QDir().mkpath(home));
    const QString picture = home + userDir + QStringLiteral("device/idle/desktop.png");

    // Two programs start at once: one makes the user's directory, the other waits for it.
    QProcess p[2];
    for (QProcess &one : p) {
        one.setProcessChannelMode(QProcess::ForwardedChannels);
        one.setProcessEnvironment(environment(home, dataHome.isEmpty() ? QString() : home + dataHome));
        one.start(m_prefix + QStringLiteral("/bin/") + program, {});
    }
    qint64 pids[2] = {0, 0};
    // Whatever fails below, the programs end and leave no clock objects behind.
    const auto ended = qScopeGuard([&] {
        for (int i = 0; i < 2; ++i) {
            TestEnv::killFakeClockProgram(p[i]);
            TestEnv::forgetFakeClock(pids[i]);
        }
    });
    for (int i = 0; i < 2; ++i) {
        QVERIFY(p[i].waitForStarted(5000));
        pids[i] = p[i].processId();
    }
    if (program == QLatin1String("show")) {
        for (QProcess &one : p) {
            QVERIFY(one.waitForFinished(60000));
            QCOMPARE(one.exitCode(), 0);
        }
    } else {
        // The daemon draws the desktop when it starts, through the show of the user's directory.
        QTRY_VERIFY_WITH_TIMEOUT(QImage(picture).size() == QSize(240, 320), 60000);
        for (QProcess &one : p)
            TestEnv::killFakeClockProgram(one);
    }

    const QImage drawn(picture);
    QCOMPARE(drawn.size(), QSize(240, 320));
    if (*FAKETIME_LIB)
        QVERIFY(drawn == reference().convertToFormat(drawn.format()));
    // The user's directory links the installed programs and holds copies of the data.
    QVERIFY(QFileInfo(home + userDir + QStringLiteral("show")).isSymLink());
    QVERIFY(!QFileInfo(home + userDir + QStringLiteral("settings.ini")).isSymLink());
    QVERIFY(QFileInfo(home + userDir + QStringLiteral("settings.ini")).isWritable());
    if (program == QLatin1String("show")) {
        // As the daemon starts it, through the user's directory and on the real clock (a still
        // part drawn under a clock set back never settles): the second run leaves the minute
        // sheet, from which the front writes the third.
        QProcessEnvironment env = environment(home, QString());
        env.remove(QStringLiteral("LD_PRELOAD"));
        env.remove(QStringLiteral("FAKETIME"));
        for (int run = 0; run < 3; ++run) {
            QProcess again;
            again.setProcessEnvironment(env);
            again.start(home + userDir + QStringLiteral("show"), {});
            QVERIFY(again.waitForFinished(60000));
            QCOMPARE(again.exitCode(), 0);
        }
        QVERIFY(QFileInfo::exists(home + userDir + QStringLiteral("device/idle/cache/minutes.sheet")));
        QCOMPARE(QImage(picture).size(), QSize(240, 320));
    }
    QCOMPARE(snapshot(), m_before);
}

void TestInstall::movedProgramDirectoryKeepsItsWallpapers()
{
    // A copy of the build's program directory, moved once more, so no file of it may name the
    // place the copy was made in.
    const QString copied = m_tmp.path() + QStringLiteral("/copied");
    const QString moved = m_tmp.path() + QStringLiteral("/moved/Quillora/");
    QCOMPARE(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), TestEnv::assembledDir(), copied}), 0);
    QVERIFY(QDir().mkpath(m_tmp.path() + QStringLiteral("/moved")));
    QVERIFY(QDir().rename(copied, moved));
    QFile::remove(moved + QStringLiteral("device/setup.ini"));
    QFile settings(moved + QStringLiteral("settings.ini"));
    QVERIFY(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write("[Quillora]\nRefresh = 1\nChangeTime = 1\nChangeMode = 0\n");
    settings.close();

    QStringList listed;
    QCOMPARE(WallpaperList::readList(moved + QStringLiteral("wallpaper.list"), listed), WallpaperList::ReadStatus::Read);
    QVERIFY(listed.size() >= 2);

    QProcess rotator;
    rotator.setProcessChannelMode(QProcess::ForwardedChannels);
    rotator.setProcessEnvironment(environment(qEnvironmentVariable("HOME"), qEnvironmentVariable("XDG_DATA_HOME")));
    rotator.start(moved + QStringLiteral("morvessa"), {});
    QVERIFY(rotator.waitForStarted(5000));
    const auto ended = qScopeGuard([&] { TestEnv::killFakeClockProgram(rotator); });
    const auto wallpaper = [&] {
        return ZConfig(moved + QStringLiteral("device/setup.ini")).readEntry(QStringLiteral("SETUP_THEME"),
                                                                             QStringLiteral("9"));
    };
    QTRY_VERIFY_WITH_TIMEOUT(!wallpaper().isEmpty(), 30000);
    // Stored relative to the program directory, naming a file of it.
    QVERIFY2(listed.contains(moved + wallpaper()), qPrintable(wallpaper()));
    QVERIFY2(QFileInfo::exists(moved + wallpaper()), qPrintable(wallpaper()));
}

QUILLORA_TEST_MAIN(TestInstall)
#include "tst_install.moc"
