#pragma once
// The translated texts of the settings program. A language file is a configuration file with
// one group "Quillora" whose keys are the text keys; a missing file, group or key shows the
// key itself.

#include <QLocale>
#include <QString>

class ZConfig;

// The text of key in the language store; the key itself when there is none (also for a
// store that is null).
QString getText(const ZConfig *lang, const QString &key);

// The same with a default of the caller's choice.
QString getText(const ZConfig *lang, const QString &key, const QString &def);

// Gives the soft keys of the platform's own dialogs (notices, questions, text input, lists with
// check marks) the texts of "OK" and "Cancel" in the language store, so that every dialog
// speaks the language the user chose.
void applyStandardTexts(const ZConfig *lang);

// The language file (name with ".lng") the settings program speaks: the stored one when the
// language folder holds it; otherwise the one of the locale's language, "简体中文.lng" for
// Chinese and "English.lng" for any other.
QString languageFileFor(const QString &languageDir, const QString &stored, const QLocale &locale = QLocale());
