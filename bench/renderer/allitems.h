#pragma once
// A theme with every item enabled, and the same picture drawn with bare QPainter calls.
//
// Both come from one table, so the renderer and the bare drawing show the same texts, fonts,
// colours and pictures over the same wallpaper at the fixed instant kInstant.

#include <QDateTime>
#include <QImage>
#include <QString>

namespace AllItems {

// The instant both drawings show.
QDateTime instant();

// Writes theme/AllItems.theme, settings.ini (naming it), notify.db and the weather file into a
// program directory that already holds the shipped data.
bool prepare(const QString &programDir);

// The settings.ini text that names the theme of that name and switches every overlay on.
QByteArray settingsFor(const QString &themeFile);

// The picture of the theme, drawn directly: wallpaper loaded and scaled, then every text and
// picture with plain QPainter calls (needs a QGuiApplication with the phone font mapped).
QImage drawBare(const QString &programDir);

} // namespace AllItems
