#pragma once
// Weather conditions of the forecast service: WMO weather interpretation codes (0 to 99) with
// their one-word descriptions and the icon of resource/WeatherIcons/ that shows them.

#include <QString>

namespace Weather {

enum class Lang { English, Chinese };

// The interface language of settings.ini's "Language" value ("简体中文.lng" is Chinese,
// anything else English).
Lang langOfLanguageFile(const QString &languageFile);

struct Condition
{
    QString icon;        // name of a picture in resource/WeatherIcons/, without ".png"
    QString description; // one word of the weather file: never holds a blank
};

// The condition of a code from 0 to 99. Codes the service does not send take the condition of
// the nearest defined code below them within the same group (52 is drizzle like 51).
Condition condition(int wmoCode, Lang lang);

// Every icon name the table uses.
QStringList iconNames();

} // namespace Weather
