#pragma once
// What the tests of the settings program's windows share: a fresh program directory with a
// known settings file and theme, the main window, and ways to work its controls as a user
// does.

#include "dialogscript.h"
#include "zgui.h"

#include <QByteArray>
#include <QString>

class QComboBox;
class ZSoftKey;

namespace GuiFixture {

// A theme with known values: SysTime (enabled, no shadow, colour 10/20/30), Weather3_Wind and
// Notify; nothing in it draws on the wallpaper.
QByteArray testTheme();

// Puts back the shipped data, then settings.ini with the given lines under [Quillora]
// (Language English, CurrentTheme Test.theme unless the lines say otherwise), theme/Test.theme,
// and the stand-in programs.
void prepare(const QByteArray &settingsLines = QByteArray());

// Drops widgets that a rebuild of the window left for later deletion.
void flushDeletes();

// The one live child of that name.
template <typename T>
T *child(QWidget *window, const char *name)
{
    flushDeletes();
    return window->findChild<T *>(QLatin1String(name));
}

// Chooses an entry of a selector through its list, as a user does (emits activated).
void choose(QComboBox *combo, int index);
// Presses and releases a phone key (a code of zkeys.h) on a widget.
void phoneKey(QWidget *widget, int code);
// Clicks a widget in its middle with the mouse.
void click(QWidget *widget);
// Clicks a tab of the main window with the mouse.
void clickTab(ZGui *gui, int index);
// The English text of a key, as the shipped language file has it.
QString en(const char *key);
// A settings.ini entry as stored on disk.
QString setting(const QString &key);
// An entry of a theme file (relative to the program directory).
QString themeEntry(const QString &file, const QString &group, const QString &key);

} // namespace GuiFixture
