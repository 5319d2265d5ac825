#include "showmain.h"

#include "atomicfile.h"
#include "desktoppicture.h"
#include "device.h"
#include "drawimg.h"
#include "hugeheap.h"
#include "imageplugins.h"
#include "phoneenv.h"
#include "boundedfile.h"
#include "configsnapshot.h"
#include "desktopconfig.h"
#include "desktoppublish.h"
#include "pngfile.h"
#include "renderclock.h"
#include "settingsfile.h"
#include "stillpicture.h"
#include "minutesheet.h"
#include "processcontrol.h"
#include "userprogramdir.h"
#include "themefile.h"
#include "themecheck.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

extern char **environ;

#if defined(__SANITIZE_ADDRESS__)
#define QUILLORA_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLORA_LEAK_CHECK 1
#endif
#endif
#ifdef QUILLORA_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace {

#ifdef QUILLORA_LEAK_CHECK
// Blocks nothing points to any more, which the leak check must report.
[[gnu::noinline]] void plantLeaks()
{
    for (int i = 0; i < 8; ++i) {
        auto *block = new char[64];
        std::memset(block, i, 64);
        asm volatile("" : : "r"(block) : "memory");
    }
}
#endif

// _exit skips the leak check a sanitized build runs at exit, so it runs here. In a sanitized
// build QUILLORA_PLANT_LEAK plants a leak first, which proves that the check covers show.
void checkLeaks()
{
#ifdef QUILLORA_LEAK_CHECK
    if (qEnvironmentVariableIsSet("QUILLORA_PLANT_LEAK"))
        plantLeaks();
    __lsan_do_leak_check();
#endif
}

// Only real failures reach standard error: Qt's notes about the environment (a missing
// runtime folder and the like) would be noise in the callers' output.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "show: %s\n", qPrintable(message));
}

// What the run started with, for the minute sheet: the environment before show set its own
// variables, and the folder it was started from.
std::string g_environment;
std::string g_startFolder;
QString g_fontConfiguration;

std::string encoded(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// The folders of the files the process has loaded (the libraries and their plugins, mapped
// fonts, the font library's caches): an update replaces such a file by renaming a new one over
// it, which changes its folder. False when one of them was replaced since the process loaded it.
bool loadedFolders(QStringList *files)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArrayList lines = maps.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype slash = line.indexOf(" /");
        if (slash < 0)
            continue;
        const QByteArray path = line.mid(slash + 1);
        if (path.endsWith(" (deleted)"))
            return false;
        // The programs' own folder is left out: the program directory may be it, whose
        // settings change, and the two programs are stamped themselves.
        const QString folder = QFileInfo(QFile::decodeName(path)).absolutePath();
        if (folder != QCoreApplication::applicationDirPath() && !files->contains(folder))
            files->append(folder);
    }
    return true;
}

// Leaves the minute sheet for the lean front, which answers the coming minutes from it without
// drawing: where the program directory is the folder show was started from, and the phone alone
// shows the picture.
void keepSheet(MinuteSheet::Sheet sheet)
{
    const QString programDir = Platform::programDir();
    if (sheet.minutes.empty() || encoded(programDir) != g_startFolder || !Desktop::publishesNothing(programDir))
        return;
    sheet.startFolder = g_startFolder;
    sheet.environment = g_environment;
    sheet.desktopPath = encoded(QFileInfo(DesktopPicture::path()).absoluteFilePath());
    sheet.waitingPath = encoded(QFileInfo(DesktopPicture::waitingPath()).absoluteFilePath());
    // Besides what the drawing read: what decides the program directory and the settings, the
    // fonts and their configuration, the front and the drawing program, and the folders of
    // everything loaded.
    QStringList files = {SettingsFile::path(programDir), SettingsFile::defaultsPath(programDir),
                         programDir + QLatin1String(UserProgramDir::InstalledMarker), g_fontConfiguration,
                         QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(ProcessControl::Show),
                         QCoreApplication::applicationFilePath()};
    files += PhoneEnv::phoneFontFiles();
    const qsizetype ownFiles = files.size();
    if (!loadedFolders(&files))
        return;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const std::string name = encoded(files.at(i));
        bool known = false;
        for (const auto &entry : sheet.files)
            known = known || entry.first == name;
        if (!known)
            sheet.files.emplace_back(name, MinuteSheet::fileStamp(name, i < ownFiles));
    }
    // A sheet that cannot be written only leaves the coming minutes to the drawing.
    MinuteSheet::write(MinuteSheet::path(g_startFolder), sheet);
}

int fail(const QString &message)
{
    std::fprintf(stderr, "show: %s\n", qPrintable(message));
    return 1;
}

// Draws the desktop into `target`: the desktop picture, or the waiting picture of a coming
// minute, which the daemon puts in place when the minute begins.
int run(const QString &target, bool publish)
{
    const QString absolute = QFileInfo(target).absoluteFilePath();
    if (!QDir().mkpath(QFileInfo(absolute).absolutePath()))
        return fail(QStringLiteral("cannot create the folder of %1").arg(absolute));

    StillPicture::Result drawn = StillPicture::compose(Platform::phonePath(QStringLiteral("/idle/cache/still.raw")),
                                                       StillPicture::kSettleNs, MinuteSheet::kMinutes);

    // Replaced whole, so a reader never sees half a picture; a link at the name gives way to
    // the picture and its target is left alone.
    QString encoding;
    QString reason;
    const bool written = AtomicFile::replace(absolute, [&drawn, &encoding](QIODevice &device) {
        return drawn.bands.isValid() ? PngFile::writeBands(&device, drawn.bands, &encoding)
                                     : PngFile::write(&device, drawn.image, &encoding);
    }, &reason);
    if (!written && !encoding.isEmpty())
        return fail(QStringLiteral("cannot encode %1: %2").arg(absolute, encoding));
    if (!written)
        return fail(QStringLiteral("cannot write %1: %2").arg(absolute, reason));

    // The desktop was drawn; what could not be read is told, one line each.
    for (const QString &problem : drawn.problems)
        std::fprintf(stderr, "show: %s\n", qPrintable(problem));
    std::printf("%s\n", QFile::encodeName(absolute).constData());
    keepSheet(std::move(drawn.sheet));
    // The same minute on the session's own desktop, where one is chosen; the phone's picture
    // is written whatever becomes of it.
    if (publish)
        for (const QString &problem : Desktop::publish(Platform::programDir()))
            std::fprintf(stderr, "show: %s\n", qPrintable(problem));
    return 0;
}

// The theme file the check draws: a path as given when it holds a "/", else a theme of theme/
// (".theme" may be left out); without a name the current theme, or the working copy of a
// theme under edit.
QString checkedTheme(const QStringList &args)
{
    const QString programDir = Platform::programDir();
    if (args.isEmpty())
        return DrawImg::currentThemePath(programDir, SettingsFile::snapshot(programDir));
    const QString name = args.first();
    if (name.contains(QLatin1Char('/')))
        return name;
    const QString inThemes = ThemeFile::path(programDir, name);
    if (!QFileInfo(inThemes).isFile() && !name.endsWith(QLatin1String(".theme")))
        return ThemeFile::path(programDir, name + QStringLiteral(".theme"));
    return inThemes;
}

int check(const QStringList &args)
{
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: show [--check [THEME]]\n");
        return 2;
    }
    const QString path = checkedTheme(args);
    if (path.isEmpty() || !BoundedFile::isRegular(path)) {
        std::fprintf(stderr, "show: no theme %s\n", qPrintable(path.isEmpty() ? QStringLiteral("is current") : path));
        return 2;
    }
    const QStringList problems = ThemeCheck::run(path);
    for (const QString &problem : problems)
        std::printf("%s\n", qPrintable(problem));
    return problems.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    g_environment = MinuteSheet::environmentText(environ);
    g_startFolder = MinuteSheet::startFolder(argv[0]);
    HugeHeap::use();
    // show never opens a window: it always draws offscreen, whatever display there is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    // Only the phone's fonts are drawn: the font library starts with their folders alone.
    // Its file lies in the program directory the run works in (the user's own one for an
    // installed suite), never beside an installed program.
    g_fontConfiguration = Platform::programDirChosenFor(Platform::programDirOf(QFile::decodeName(argv[0])))
        + QStringLiteral("device/idle/cache/fonts.conf");
    PhoneEnv::usePhoneFontConfiguration(g_fontConfiguration);
    QGuiApplication application(argc, argv);
    PhoneEnv::substitutePhoneFont();
    ImagePlugins::builtInOnly();
    const QStringList args = application.arguments().mid(1);
    int status = 0;
    if (args.isEmpty()) {
        status = run(DesktopPicture::path(), true);
    } else if (args.size() == 2 && args.first() == QLatin1String("--at")) {
        // The desktop of a coming minute ("2026-12-08T09:06"), drawn ahead into the waiting
        // picture; the desktop picture itself is left alone.
        // A real desktop is drawn at its minute: it cannot be put in place later.
        const QDateTime minute = QDateTime::fromString(args.at(1), QStringLiteral("yyyy-MM-ddTHH:mm"));
        if (minute.isValid()
            && Desktop::readConfig(SettingsFile::snapshot(Platform::programDir())).target != Desktop::Target::Phone) {
            std::fprintf(stderr, "show: --at draws for the phone alone, and a real desktop is chosen\n");
            status = 3;
        } else if (minute.isValid()) {
            RenderClock::setFixed(minute);
            status = run(DesktopPicture::waitingPath(), false);
        } else {
            std::fprintf(stderr, "show: --at takes a minute as 2026-12-08T09:06\n");
            status = 2;
        }
    } else if (args.first() == QLatin1String("--check")) {
        status = check(args.mid(1));
    } else {
        std::fprintf(stderr, "usage: show [--at MINUTE | --check [THEME]]\n");
        status = 2;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    // The picture is committed (or the failure reported): nothing is left that the process
    // needs to do, so it ends here rather than spending time on tearing down the
    // font database, the offscreen platform and the application object.
    checkLeaks();
    _exit(status);
}
