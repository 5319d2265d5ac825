#include "themefiles.h"
#include "themefile.h"

#include <QDir>

namespace ThemeFiles {

QStringList listFiles(const QString &dir, const QStringList &nameFilters)
{
    return QDir(dir).entryList(nameFilters, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString displayName(const QString &fileName)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

QStringList displayNames(const QStringList &fileNames)
{
    QStringList names;
    for (const QString &f : fileNames)
        names << displayName(f);
    return names;
}

int indexOfFile(const QStringList &fileNames, const QString &name)
{
    return fileNames.indexOf(name);
}

QStringList languageFiles(const QString &programDir)
{
    return listFiles(programDir + QStringLiteral("resource/language"), {QStringLiteral("*.lng")});
}

QStringList themeFiles(const QString &programDir)
{
    return listFiles(programDir + QStringLiteral("theme"), {QStringLiteral("*.theme")});
}

QStringList cycleEntries(const QString &programDir)
{
    return QStringList{QStringLiteral("_")} + themeFiles(programDir);
}

QStringList cycleTexts(const QStringList &entries, const QString &noTheme)
{
    QStringList texts;
    for (const QString &entry : entries)
        texts << (entry == QLatin1String("_") ? noTheme : displayName(entry));
    return texts;
}

QList<bool> cycleChecks(const QStringList &entries, const QStringList &stored)
{
    QList<bool> checks(entries.size(), false);
    for (const QString &name : stored) {
        const int i = entries.indexOf(name);
        if (i >= 0)
            checks[i] = true;
    }
    return checks;
}

QStringList checkedEntries(const QStringList &entries, const QList<bool> &checks)
{
    QStringList out;
    for (int i = 0; i < entries.size() && i < checks.size(); ++i) {
        if (checks.at(i))
            out << entries.at(i);
    }
    return out;
}

QStringList pictureEntries(const QString &programDir)
{
    return QStringList{QString()}
        + listFiles(ThemeFile::imagesDir(programDir),
                    {QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.bmp")});
}

int pictureIndex(const QStringList &entries, const QString &name)
{
    const int i = entries.lastIndexOf(name);
    return i < 0 ? 0 : i;
}

QStringList itemGroups()
{
    return {QStringLiteral("SysTime"),         QStringLiteral("Time_Hour"),
            QStringLiteral("Time_Minute"),     QStringLiteral("Date_Year"),
            QStringLiteral("Date_Month"),      QStringLiteral("Date_Day"),
            QStringLiteral("Lunar_Year"),      QStringLiteral("Lunar_Month"),
            QStringLiteral("Lunar_Day"),       QStringLiteral("Week"),
            QStringLiteral("Calendar"),        QStringLiteral("Notify"),
            QStringLiteral("Note"),            QStringLiteral("Weather_City"),
            QStringLiteral("Weather_Date"),    QStringLiteral("Weather_Description"),
            QStringLiteral("Weather_Temperature"), QStringLiteral("Weather_Wind")};
}

QStringList itemTextKeys()
{
    QStringList keys = itemGroups();
    keys[11] = QStringLiteral("Notice");
    return keys;
}

bool isWeatherItem(int index)
{
    return index > 12 && index < itemGroups().size();
}

QString itemGroup(int index, int weatherDay)
{
    const QStringList groups = itemGroups();
    if (index < 0 || index >= groups.size())
        return QString();
    QString group = groups.at(index);
    if (isWeatherItem(index))
        group.replace(7, 1, QStringLiteral("%1_").arg(weatherDay));
    return group;
}

bool isValidSaveAsName(const QString &name)
{
    // ";" separates the names of the theme cycle list: a name holding it could not be listed.
    return !name.isEmpty() && !name.contains(QLatin1Char(';'))
        && ThemeFile::isName(name + QStringLiteral(".theme"));
}

} // namespace ThemeFiles
