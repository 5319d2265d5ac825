#include "desktoppublish.h"

#include "atomicfile.h"
#include "configsnapshot.h"
#include "desktoptargets.h"
#include "device.h"
#include "drawimg.h"
#include "rootwindow.h"
#include "settingsfile.h"
#include "wallpaperloader.h"
#include "zconfig.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QStandardPaths>

namespace Desktop {

namespace {

// PNG at zlib's fastest level, as the phone's picture.
constexpr int kPngCompression = 11;

QString savedKey(const QString &name) { return kSavedPrefix + name; }

// The names under which the user's own settings are kept, besides GNOME's own keys.
const QString kPlasmaImages = QStringLiteral("plasma-images");
const QString kRootPixmap = QStringLiteral("root-pixmap");

// The background program's process number lives with the session, where a number left from an
// earlier session cannot name a process of this one.
QString swayPidFile()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() || !QDir::isAbsolutePath(runtime) ? cacheFolder() + QStringLiteral("swaybg.pid")
                                                               : runtime + QStringLiteral("/quillora-swaybg.pid");
}

// Keeps what the target changes of the user's own settings, before the first picture.
bool saveUserSettings(Target target, ZConfig &settings, QString *error)
{
    if (target == Target::Gnome) {
        const QStringList values = Targets::readGnome(error);
        if (values.isEmpty())
            return false;
        const QStringList keys = Targets::gnomeKeys();
        for (int i = 0; i < keys.size(); ++i)
            settings.writeEntry(kGroup, savedKey(keys.at(i)), values.at(i));
    } else if (target == Target::Plasma) {
        const QString images = Targets::readPlasma(error);
        if (images.isEmpty())
            return false;
        settings.writeEntry(kGroup, savedKey(kPlasmaImages), images);
    } else if (target == Target::X11) {
        error->clear();
        const quint32 kept = RootWindow::keepBackground(error);
        if (!error->isEmpty())
            return false;
        settings.writeEntry(kGroup, savedKey(kRootPixmap), QString::number(kept));
    }
    return settings.writeEntry(kGroup, savedKey(kTargetKey), targetName(target));
}

// Gives back what saveUserSettings() kept, and forgets it.
bool restoreUserSettings(Target target, ZConfig &settings, QString *error)
{
    const QStringList keys = Targets::gnomeKeys() + QStringList{kPlasmaImages, kRootPixmap};
    bool given = true;
    if (target == Target::Gnome) {
        QStringList values;
        for (const QString &key : Targets::gnomeKeys())
            values << settings.readEntry(kGroup, savedKey(key));
        given = Targets::writeGnome(values, error);
    } else if (target == Target::Plasma) {
        given = Targets::restorePlasma(settings.readEntry(kGroup, savedKey(kPlasmaImages)), error);
    } else if (target == Target::X11) {
        given = RootWindow::restoreBackground(settings.readEntry(kGroup, savedKey(kRootPixmap)).toUInt(), error);
    } else if (target == Target::Sway) {
        Targets::stopSway(swayPidFile());
    }
    if (!given)
        return false;
    for (const QString &key : keys)
        settings.removeEntry(kGroup, savedKey(key));
    return settings.removeEntry(kGroup, savedKey(kTargetKey));
}

QString failure(Target target, const QString &reason)
{
    return QStringLiteral("desktop %1: %2").arg(targetName(target), reason);
}

} // namespace

QString cacheFolder()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/quillora/");
}

QString writePicture(const QString &folder, const QImage &image, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return QString();
    }
    const QFileInfo a(folder + QStringLiteral("/desktop-a.png"));
    const QFileInfo b(folder + QStringLiteral("/desktop-b.png"));
    // The name not written last: a missing one, else the older one.
    const QFileInfo &next = !a.exists() ? a : !b.exists() ? b : a.lastModified() <= b.lastModified() ? a : b;
    const QString path = next.absoluteFilePath();
    // Replaced whole, and never written through a link at its name.
    QString reason;
    const bool written = AtomicFile::replace(path, [&image](QIODevice &device) {
        QImageWriter writer(&device, "png");
        writer.setCompression(kPngCompression);
        return writer.write(image);
    }, &reason);
    if (!written) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, reason);
        return QString();
    }
    // Two pictures within one tick of the file system's clock would bear the same time, and the
    // next picture would take this name again: the one written last is made the newer.
    const QFileInfo other(&next == &a ? b.absoluteFilePath() : a.absoluteFilePath());
    if (other.exists()) {
        QFile written(path);
        const QDateTime after = other.lastModified();
        for (const qint64 step : {qint64(1), qint64(1000)}) {
            if (QFileInfo(path).lastModified() > after || !written.open(QIODevice::ReadWrite))
                break;
            written.setFileTime(after.addMSecs(step), QFileDevice::FileModificationTime);
            written.close();
        }
    }
    return path;
}

QImage composeScreen(QSize screen, const Layout &layout, const QString &wallpaper, const QImage &items,
                     const QString &wallpaperCache)
{
    QImage picture(screen, QImage::Format_RGB32);
    picture.fill(QColor(24, 26, 32));
    QPainter painter(&picture);
    const QSize stored = wallpaper.isEmpty() ? QSize() : QImageReader(wallpaper).size();
    if (stored.isValid() && !stored.isEmpty()) {
        // The wallpaper covers the screen with its own shape; what overflows is cut evenly.
        const QSize cover = stored.scaled(screen, Qt::KeepAspectRatioByExpanding);
        const QImage filled = WallpaperLoader::load(wallpaper, cover, wallpaperCache).image;
        if (!filled.isNull())
            painter.drawImage(QPoint((screen.width() - cover.width()) / 2, (screen.height() - cover.height()) / 2), filled);
    }
    QImage layer = items;
    layer.setDevicePixelRatio(1);
    painter.drawImage(layout.rect.topLeft(), layer);
    return picture;
}

QStringList publish(const QString &programDir)
{
    const ConfigSnapshot snapshot = SettingsFile::snapshot(programDir);
    const Config config = readConfig(snapshot);
    Target saved = Target::Phone;
    const bool hasSaved = parseTarget(snapshot.readEntry(kGroup, savedKey(kTargetKey)), &saved) && saved != Target::Phone;
    if (config.target == Target::Phone && !hasSaved)
        return {};

    Target target = config.target;
    if (target == Target::Auto) {
        const Detection found = detect(currentSession());
        target = found.target;
        if (target == Target::Phone && !hasSaved)
            return {QStringLiteral("desktop auto: %1; the phone alone shows the picture").arg(found.reason)};
    }
    const std::unique_ptr<ZConfig> settings = SettingsFile::open(programDir);
    QString error;
    if (hasSaved && saved != target) {
        // Another desktop (or the phone alone) from now on: the user's own settings go back.
        if (!restoreUserSettings(saved, *settings, &error))
            return {failure(saved, QStringLiteral("cannot give the wallpaper settings back: ") + error)};
    }
    if (target == Target::Phone)
        return {};
    if ((!hasSaved || saved != target) && !saveUserSettings(target, *settings, &error))
        return {failure(target, QStringLiteral("cannot keep the wallpaper settings: ") + error)};

    const Screen screen = screenFor(target);
    // The margin is in the desktop's own pixels.
    Layout layout = layoutFor(screen.primary.size(), config.scale, config.anchor, qRound(config.margin * screen.scale));
    layout.rect.translate(screen.primary.topLeft());
    const QImage picture = composeScreen(screen.size, layout, DrawImg::wallpaperPath(), DrawImg::drawItemsAt(layout.scale),
                                         Platform::phonePath(QStringLiteral("/idle/cache/screen-wallpaper.png")));
    // The root window takes the picture from memory; the other desktops read a file.
    if (target == Target::X11)
        return RootWindow::setBackground(picture, &error) ? QStringList() : QStringList{failure(target, error)};
    const QString path = writePicture(cacheFolder(), picture, &error);
    if (path.isEmpty())
        return {failure(target, error)};

    bool done = false;
    switch (target) {
    case Target::Command: done = Targets::runCommand(config.command, path, &error); break;
    case Target::Gnome: done = Targets::setGnome(path, &error); break;
    case Target::Plasma: done = Targets::setPlasma(path, &error); break;
    case Target::Sway: done = Targets::setSway(path, swayPidFile(), &error); break;
    case Target::Phone:
    case Target::Auto:
    case Target::X11: done = true; break;
    }
    return done ? QStringList() : QStringList{failure(target, error)};
}

} // namespace Desktop
