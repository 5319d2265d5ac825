#pragma once
// Which language file (under resource/language/, name with ".lng") the suite speaks. Needs Qt
// Core only, so the settings program, the desktop and the weather updater all agree.

#include <QLocale>
#include <QString>

// The stored one when the language folder holds it; otherwise the one of the locale's
// language, "简体中文.lng" for Chinese and "English.lng" for any other.
QString languageFileFor(const QString &languageDir, const QString &stored, const QLocale &locale = QLocale());
