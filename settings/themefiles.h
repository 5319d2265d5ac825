#pragma once
// The file lists and names behind the settings program's selectors: languages, themes, the
// theme cycle list, the background pictures, the item groups of the editor, and the names a
// theme may be saved under.

#include <QString>
#include <QStringList>

namespace ThemeFiles {

// Files only, matching the name filters, sorted by name ignoring case.
QStringList listFiles(const QString &dir, const QStringList &nameFilters);
// A file name up to its last "." ("a.b.theme" -> "a.b"); the whole name without any ".".
QString displayName(const QString &fileName);
QStringList displayNames(const QStringList &fileNames);
// Position of the file whose full name equals name; -1 when none does.
int indexOfFile(const QStringList &fileNames, const QString &name);

QStringList languageFiles(const QString &programDir);   // resource/language/*.lng
QStringList themeFiles(const QString &programDir);      // theme/*.theme

// The entries of the theme cycle dialog, as stored: "_" (no theme: the wallpaper alone) then
// the full theme file names.
QStringList cycleEntries(const QString &programDir);
// How the dialog shows the entries: "_" as noTheme, the theme files by the names the theme
// selector shows.
QStringList cycleTexts(const QStringList &entries, const QString &noTheme);
// For each entry, whether a stored name equals it (a stored name marks its first match only).
QList<bool> cycleChecks(const QStringList &entries, const QStringList &stored);
// The checked entries, in entry order.
QStringList checkedEntries(const QStringList &entries, const QList<bool> &checks);

// The background picture entries: "" (no picture), then theme/images/*.png *.jpg *.bmp.
QStringList pictureEntries(const QString &programDir);
// The last entry equal to name; 0 (no picture) when none is.
int pictureIndex(const QStringList &entries, const QString &name);

// The 18 theme groups of the item editor, in selector order.
QStringList itemGroups();
// The 18 text keys of the item selector, in the same order.
QStringList itemTextKeys();
// The group of item index; the weather items (index above 12) carry the day digit:
// ("Weather_City", day 2) -> "Weather2_City".
QString itemGroup(int index, int weatherDay);
// Whether the item at an index of the item list is a weather item (one group per day).
bool isWeatherItem(int index);

// A name typed for save-as: its file name (name + ".theme") must be a theme file name
// (ThemeFile::isName), and it holds no ";", the separator of the theme cycle list.
bool isValidSaveAsName(const QString &name);

} // namespace ThemeFiles
