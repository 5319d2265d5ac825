#pragma once
// The translated texts of the settings program. A language file is a configuration file with
// one group "Quillora" whose keys are the text keys; a missing file, group or key shows the
// key itself.

#include "languagefile.h"

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
