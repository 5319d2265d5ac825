#pragma once
// Where the desktop picture goes besides the emulated phone: group "Desktop" of settings.ini.
//
//   Target  = phone | auto | gnome | plasma | x11 | sway | command   (default phone)
//   Command = a command line; %1 is the picture's path, quoted for the shell
//   Scale   = the integer device pixel ratio k; 0 or missing: chosen from the screen
//   Anchor  = center | left | right | top-left | top-right | bottom-left | bottom-right (right)
//   Margin  = pixels between the picture and the screen's edges (default 0)
//
// Every name of the group is spelt here and nowhere else.

#include <QString>
#include <QStringList>

class ConfigSnapshot;

namespace Desktop {

enum class Target { Phone, Auto, Gnome, Plasma, X11, Sway, Command };
enum class Anchor { Center, Left, Right, TopLeft, TopRight, BottomLeft, BottomRight };

inline const QString kGroup = QStringLiteral("Desktop");
inline const QString kTargetKey = QStringLiteral("Target");
inline const QString kCommandKey = QStringLiteral("Command");
inline const QString kScaleKey = QStringLiteral("Scale");
inline const QString kAnchorKey = QStringLiteral("Anchor");
inline const QString kMarginKey = QStringLiteral("Margin");
// The user's own wallpaper settings, kept while a real desktop shows the picture and until they
// are given back: "Saved:Targets" lists the targets that changed them, and each setting is kept
// as "Saved:TARGET:NAME". Files of earlier versions hold one target's: "Saved:Target" and
// "Saved:NAME".
inline const QString kSavedPrefix = QStringLiteral("Saved:");

// The largest scale and margin taken from the file.
constexpr int kMaxScale = 16;
constexpr int kMaxMargin = 10000;

struct Config
{
    Target target = Target::Phone;
    QString command;
    int scale = 0; // 0: chosen from the screen
    Anchor anchor = Anchor::Right;
    int margin = 0;
};

// The group as written; unknown values read as their defaults.
Config readConfig(const ConfigSnapshot &settings);

QString targetName(Target target);
// The target of a name, in any case; false for an unknown name.
bool parseTarget(const QString &name, Target *target);
QString anchorName(Anchor anchor);
bool parseAnchor(const QString &name, Anchor *anchor);
// Every target and anchor name, in the order of the enums.
QStringList targetNames();
QStringList anchorNames();

// What "auto" looks at in the session.
struct Session
{
    QString swaySock;          // SWAYSOCK
    QString currentDesktop;    // XDG_CURRENT_DESKTOP
    QString display;           // DISPLAY
    QString waylandDisplay;    // WAYLAND_DISPLAY
    bool plasmaShellOnBus = false; // org.kde.plasmashell owns its name on the session bus
};

struct Detection
{
    Target target = Target::Phone;
    QString session; // the session as named to people ("GNOME", "sway", ...)
    QString reason;  // why nothing was found, when the target is the phone
};

// The target a session calls for; the phone, with the reason, when none fits.
Detection detect(const Session &session);
// The session of this process's environment; the bus is asked only when the desktop is KDE.
Session currentSession();

} // namespace Desktop
