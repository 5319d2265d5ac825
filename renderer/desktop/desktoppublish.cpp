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

// The names under which the user's own settings are kept, besides GNOME's own keys.
const QString kPlasmaImages = QStringLiteral("plasma-images");
const QString kRootPixmap = QStringLiteral("root-pixmap");
// The targets whose settings are kept, in the order they were first chosen.
const QString kSavedTargets = kSavedPrefix + QStringLiteral("Targets");
// Files of earlier versions keep one target's settings: "Saved:Target" names it.
const QString kSavedTarget = kSavedPrefix + kTargetKey;

// The background program's process number lives with the session, where a number left from an
// earlier session cannot name a process of this one.
QString swayPidFile()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() || !QDir::isAbsolutePath(runtime) ? cacheFolder() + QStringLiteral("swaybg.pid")
                                                               : runtime + QStringLiteral("/quillora-swaybg.pid");
}

// The names of what a target changes of the user's own settings.
QStringList savedNames(Target target)
{
    switch (target) {
    case Target::Gnome: return Targets::gnomeKeys();
    case Target::Plasma: return {kPlasmaImages};
    case Target::X11: return {kRootPixmap};
    default: return {};
    }
}

QString savedKey(Target target, const QString &name)
{
    return kSavedPrefix + targetName(target) + QLatin1Char(':') + name;
}

// One target's kept settings, by name.
using Record = QMap<QString, QString>;
// Every target whose settings wait to be given back. A target stands in the list also when it
// keeps nothing (sway, command): leaving it is what ends its work.
struct Kept
{
    QList<Target> targets;
    QMap<Target, Record> records;
};

// What the store keeps; a file of the earlier one-target form reads as its one record.
template <typename Store>
Kept readKept(const Store &settings)
{
    Kept kept;
    const bool oneTarget = !settings.hasEntry(kGroup, kSavedTargets);
    const QStringList names = oneTarget ? QStringList{settings.readEntry(kGroup, kSavedTarget)}
                                        : settings.readListEntry(kGroup, kSavedTargets, QLatin1Char(','));
    for (const QString &name : names) {
        Target target = Target::Phone;
        if (!parseTarget(name, &target) || target == Target::Phone || target == Target::Auto || kept.targets.contains(target))
            continue;
        kept.targets << target;
        Record &record = kept.records[target];
        for (const QString &key : savedNames(target))
            record.insert(key, settings.readEntry(kGroup, oneTarget ? kSavedPrefix + key : savedKey(target, key)));
    }
    return kept;
}

// Writes `kept` in the per-target form and removes every other "Saved:" key, the earlier form's
// included. A record's values are written before the list names it, and the list drops a
// target before its values go, so a run that ends halfway never names a target without them.
bool writeKept(ZConfig &settings, const Kept &kept, QString *error)
{
    QStringList wanted, names;
    bool written = true;
    for (const Target target : kept.targets) {
        names << targetName(target);
        const Record &record = kept.records.value(target);
        for (auto it = record.begin(); it != record.end(); ++it) {
            const QString key = savedKey(target, it.key());
            wanted << key;
            if (!settings.hasEntry(kGroup, key) || settings.readEntry(kGroup, key) != it.value())
                written = written && settings.writeEntry(kGroup, key, it.value());
        }
    }
    if (!names.isEmpty()) {
        wanted << kSavedTargets;
        if (settings.readListEntry(kGroup, kSavedTargets, QLatin1Char(',')) != names || !settings.hasEntry(kGroup, kSavedTargets))
            written = written && settings.writeEntry(kGroup, kSavedTargets, names, QLatin1Char(','));
    }
    if (written) {
        for (const QString &key : settings.keyList(kGroup)) {
            if (key.startsWith(kSavedPrefix) && !wanted.contains(key))
                written = settings.removeEntry(kGroup, key) && written;
        }
    }
    if (!written)
        *error = QStringLiteral("cannot write %1").arg(settings.path());
    return written;
}

// Reads what the target changes of the user's own settings, before its first picture.
bool keepUserSettings(Target target, Record *record, QString *error)
{
    if (target == Target::Gnome) {
        const QStringList values = Targets::readGnome(error);
        const QStringList keys = Targets::gnomeKeys();
        if (values.size() != keys.size())
            return false;
        for (int i = 0; i < keys.size(); ++i)
            record->insert(keys.at(i), values.at(i));
    } else if (target == Target::Plasma) {
        const QString images = Targets::readPlasma(error);
        if (images.isEmpty())
            return false;
        record->insert(kPlasmaImages, images);
    } else if (target == Target::X11) {
        error->clear();
        const quint32 kept = RootWindow::keepBackground(error);
        if (!error->isEmpty())
            return false;
        record->insert(kRootPixmap, QString::number(kept));
    }
    return true;
}

// Gives back what keepUserSettings() read.
bool giveBack(Target target, const Record &record, QString *error)
{
    if (target == Target::Gnome) {
        QStringList values;
        for (const QString &key : Targets::gnomeKeys())
            values << record.value(key);
        return Targets::writeGnome(values, error);
    }
    if (target == Target::Plasma)
        return Targets::restorePlasma(record.value(kPlasmaImages), error);
    if (target == Target::X11)
        return RootWindow::restoreBackground(record.value(kRootPixmap).toUInt(), error);
    if (target == Target::Sway)
        Targets::stopSway(swayPidFile());
    return true;
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

bool publishesNothing(const QString &programDir)
{
    const ConfigSnapshot snapshot = SettingsFile::snapshot(programDir);
    return readConfig(snapshot).target == Target::Phone && readKept(snapshot).targets.isEmpty();
}

QStringList publish(const QString &programDir)
{
    const ConfigSnapshot snapshot = SettingsFile::snapshot(programDir);
    const Config config = readConfig(snapshot);
    const bool hasKept = !readKept(snapshot).targets.isEmpty();
    if (config.target == Target::Phone && !hasKept)
        return {};

    Target target = config.target;
    if (target == Target::Auto) {
        const Detection found = detect(currentSession());
        target = found.target;
        if (target == Target::Phone && !hasKept)
            return {QStringLiteral("desktop auto: %1; the phone alone shows the picture").arg(found.reason)};
    }
    const std::unique_ptr<ZConfig> settings = SettingsFile::open(programDir);
    QStringList lines;
    QString error;
    // Every other desktop (or the phone alone) from now on: the user's own settings go back.
    // Those that cannot go back yet stay kept, are tried again by the next run, and do not stop
    // this run's desktop.
    Kept kept = readKept(*settings);
    const QList<Target> pending = kept.targets;
    for (const Target other : pending) {
        if (other == target)
            continue;
        if (giveBack(other, kept.records.value(other), &error)) {
            kept.targets.removeOne(other);
            kept.records.remove(other);
        } else {
            lines << failure(other, QStringLiteral("cannot give the wallpaper settings back: ") + error);
        }
    }
    if (kept.targets != pending && !writeKept(*settings, kept, &error))
        lines << failure(target, QStringLiteral("cannot forget the settings given back: ") + error);
    if (target == Target::Phone)
        return lines;
    if (!kept.targets.contains(target)) {
        Record own;
        if (!keepUserSettings(target, &own, &error))
            return lines << failure(target, QStringLiteral("cannot keep the wallpaper settings: ") + error);
        kept.targets << target;
        kept.records.insert(target, own);
        if (!writeKept(*settings, kept, &error)) {
            // Unrecorded, the copy of the root's picture would stay on the server for good, and
            // every minute would make another.
            if (target == Target::X11)
                RootWindow::dropBackground(own.value(kRootPixmap).toUInt());
            return lines << failure(target, QStringLiteral("cannot keep the wallpaper settings: ") + error);
        }
    }

    const Screen screen = screenFor(target);
    // The margin is in the desktop's own pixels.
    Layout layout = layoutFor(screen.primary.size(), config.scale, config.anchor, qRound(config.margin * screen.scale));
    layout.rect.translate(screen.primary.topLeft());
    const QImage picture = composeScreen(screen.size, layout, DrawImg::wallpaperPath(), DrawImg::drawItemsAt(layout.scale),
                                         Platform::phonePath(QStringLiteral("/idle/cache/screen-wallpaper.png")));
    // The root window takes the picture from memory; the other desktops read a file.
    if (target == Target::X11)
        return RootWindow::setBackground(picture, &error) ? lines : lines << failure(target, error);
    const QString path = writePicture(cacheFolder(), picture, &error);
    if (path.isEmpty())
        return lines << failure(target, error);

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
    return done ? lines : lines << failure(target, error);
}

} // namespace Desktop
