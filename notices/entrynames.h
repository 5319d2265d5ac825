#pragma once
// How the lists and the dialogs name an entry of notify.db: by its date, or, for the three keys
// the desktop reads for a purpose of their own, by that purpose. "1901/01/01" of "CustomNotify"
// is the note, "1901/01/02" the countdown, "02/31" of "CustomFestival" the fallback text; they
// are edited like any entry, only shown under their meaning.

#include <QString>

class ZConfig;

namespace EntryNames {

enum class Purpose { Dated, Note, Countdown, Fallback };

Purpose purposeOf(const QString &group, const QString &key);

// The date line of a row: the purpose in the interface language ("NoteEntry",
// "CountdownEntry", "FallbackEntry"), the lunar date of a lunar festival, the key otherwise.
QString dateText(const ZConfig *lang, const QString &group, const QString &key);

// The text line of a row: the countdown "year|month|day|text" as "text (year/month/day)", the
// note with its "|" line breaks as " / ", any other value as it is.
QString valueText(Purpose purpose, const QString &value);

} // namespace EntryNames
