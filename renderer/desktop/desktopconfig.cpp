#include "desktopconfig.h"

#include "configsnapshot.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace Desktop {

namespace {

const QStringList &targetList()
{
    static const QStringList names{QStringLiteral("phone"), QStringLiteral("auto"), QStringLiteral("gnome"),
                                   QStringLiteral("plasma"), QStringLiteral("x11"), QStringLiteral("sway"),
                                   QStringLiteral("command")};
    return names;
}

const QStringList &anchorList()
{
    static const QStringList names{QStringLiteral("center"), QStringLiteral("left"), QStringLiteral("right"),
                                   QStringLiteral("top-left"), QStringLiteral("top-right"),
                                   QStringLiteral("bottom-left"), QStringLiteral("bottom-right")};
    return names;
}

// The desktops that keep their wallpaper in org.gnome.desktop.background.
bool isGnomeLike(const QString &desktop)
{
    static const QStringList names{QStringLiteral("GNOME"), QStringLiteral("PHOSH"), QStringLiteral("BUDGIE"),
                                   QStringLiteral("UNITY")};
    return names.contains(desktop);
}

} // namespace

QString targetName(Target target) { return targetList().at(int(target)); }
QString anchorName(Anchor anchor) { return anchorList().at(int(anchor)); }
QStringList targetNames() { return targetList(); }
QStringList anchorNames() { return anchorList(); }

bool parseTarget(const QString &name, Target *target)
{
    const int i = targetList().indexOf(name.trimmed().toLower());
    if (i < 0)
        return false;
    *target = Target(i);
    return true;
}

bool parseAnchor(const QString &name, Anchor *anchor)
{
    const int i = anchorList().indexOf(name.trimmed().toLower());
    if (i < 0)
        return false;
    *anchor = Anchor(i);
    return true;
}

Config readConfig(const ConfigSnapshot &settings)
{
    Config config;
    parseTarget(settings.readEntry(kGroup, kTargetKey), &config.target);
    parseAnchor(settings.readEntry(kGroup, kAnchorKey), &config.anchor);
    config.command = settings.readEntry(kGroup, kCommandKey);
    config.scale = qBound(0, settings.readNumEntry(kGroup, kScaleKey, 0), kMaxScale);
    config.margin = qBound(0, settings.readNumEntry(kGroup, kMarginKey, 0), kMaxMargin);
    return config;
}

Detection detect(const Session &session)
{
    if (!session.swaySock.isEmpty())
        return {Target::Sway, QStringLiteral("sway"), QString()};
    // XDG_CURRENT_DESKTOP is a list such as "ubuntu:GNOME"; the first known name counts.
    const QStringList desktops = session.currentDesktop.toUpper().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &desktop : desktops) {
        if (desktop == QLatin1String("KDE")) {
            if (session.plasmaShellOnBus)
                return {Target::Plasma, QStringLiteral("Plasma"), QString()};
            return {Target::Phone, QStringLiteral("KDE"), QStringLiteral("KDE without org.kde.plasmashell on the session bus")};
        }
        if (isGnomeLike(desktop))
            return {Target::Gnome, desktop == QLatin1String("GNOME") ? QStringLiteral("GNOME") : desktop.at(0) + desktop.mid(1).toLower(), QString()};
    }
    if (!desktops.isEmpty())
        return {Target::Phone, session.currentDesktop,
                QStringLiteral("no target knows the desktop %1; Target = command sets its wallpaper").arg(session.currentDesktop)};
    if (!session.display.isEmpty() && session.waylandDisplay.isEmpty())
        return {Target::X11, QStringLiteral("X11"), QString()};
    return {Target::Phone, QString(), QStringLiteral("no desktop session")};
}

Session currentSession()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    Session session;
    session.swaySock = env.value(QStringLiteral("SWAYSOCK"));
    session.currentDesktop = env.value(QStringLiteral("XDG_CURRENT_DESKTOP"));
    session.display = env.value(QStringLiteral("DISPLAY"));
    session.waylandDisplay = env.value(QStringLiteral("WAYLAND_DISPLAY"));
    if (session.currentDesktop.toUpper().split(QLatin1Char(':')).contains(QLatin1String("KDE"))) {
        QProcess bus;
        // The same client as every call to the shell: "b true" when it is on the bus.
        bus.start(QStringLiteral("busctl"), {QStringLiteral("--user"), QStringLiteral("call"), QStringLiteral("org.freedesktop.DBus"),
                                             QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
                                             QStringLiteral("NameHasOwner"), QStringLiteral("s"), QStringLiteral("org.kde.plasmashell")});
        session.plasmaShellOnBus = bus.waitForFinished(3000) && bus.readAllStandardOutput().trimmed() == "b true";
    }
    return session;
}

} // namespace Desktop
