// The five-day weather forecast from the phone's weather file, each field of each day its own
// theme item, the description with the day's icon.

#include "drawimg.h"
#include "themefile.h"

#include "textconv.h"
#include "configsnapshot.h"

#include <QPainter>
#include <cmath>
#include <limits>

namespace {

const char *const kFieldNames[5] = {"City", "Date", "Description", "Temperature", "Wind"};

// A temperature, cut to its integer part toward zero; 0 when it is not a number.
qint64 temperature(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return 0;
    const double limit = double(std::numeric_limits<int>::max());
    return qint64(std::trunc(qBound(-limit, value, limit)));
}

// True when the file's coordinates name a place ("latitude,longitude") other than the one of
// settings.ini's group "Weather". A file or settings without a place say nothing against it.
bool forOtherPlace(const WeatherFile::Contents &file, const ConfigSnapshot &settings)
{
    const QString group = QStringLiteral("Weather");
    bool okLat = false, okLon = false, okFileLat = false, okFileLon = false;
    const double lat = settings.readEntry(group, QStringLiteral("Latitude")).trimmed().toDouble(&okLat);
    const double lon = settings.readEntry(group, QStringLiteral("Longitude")).trimmed().toDouble(&okLon);
    const QStringList place = file.coordinates.split(QLatin1Char(','));
    const double fileLat = place.value(0).trimmed().toDouble(&okFileLat);
    const double fileLon = place.value(1).trimmed().toDouble(&okFileLon);
    if (!okLat || !okLon || !okFileLat || !okFileLon || place.size() != 2)
        return false;
    // The file holds four decimals.
    return std::abs(lat - fileLat) > 0.00006 || std::abs(lon - fileLon) > 0.00006;
}

// The date of a forecast day "MM/DD": in the year of the update (line 0, "yyyy-MM-dd HH:mm"),
// or the next when it lies more than a week before the update. Invalid when the text is no date
// or the file tells no time of update (a file written by hand).
QDate forecastDate(const QString &monthDay, const QString &updated)
{
    const QStringList parts = monthDay.split(QLatin1Char('/'));
    bool okM = false, okD = false;
    const int month = parts.value(0).toInt(&okM);
    const int day = parts.value(1).toInt(&okD);
    if (parts.size() != 2 || !okM || !okD)
        return QDate();
    const QDate update = QDate::fromString(updated.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!update.isValid())
        return QDate();
    const QDate date(update.year(), month, day);
    return date.isValid() && date < update.addDays(-7) ? QDate(update.year() + 1, month, day) : date;
}

} // namespace

void DrawImg::drawWeather()
{
    enabled = settings->readBoolEntry(QStringLiteral("Quillora"), QStringLiteral("WeatherShow"), false);
    if (!enabled)
        return;
    if (!readweatherinfo())
        return;
    for (int day = 1; day <= 5; ++day)
        for (int field = 0; field <= 4; ++field)
            drawWeatherItem(day, field);
}

bool DrawImg::readweatherinfo()
{
    bool complete = false;
    weather = input ? WeatherFile::parse(input->weather, &complete) : WeatherFile::read(&complete);
    if (!complete || forOtherPlace(weather, *settings))
        return false;
    // Days before today are past: the first slot shows today's forecast (or the first day after
    // it), and slots the file holds no day for stay empty. Days without a readable date count.
    weatherPast = 0;
    while (weatherPast < WeatherFile::kDays) {
        const QDate date = forecastDate(weather.days[weatherPast].dateAndText.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty),
                                        weather.updated);
        if (!date.isValid() || date >= now.date())
            break;
        ++weatherPast;
    }
    return true;
}

void DrawImg::drawWeatherItem(int day, int field)
{
    if (day < 1 || day > 5 || field < 0 || field > 4)
        return;
    itemName = QStringLiteral("Weather%1_%2").arg(day).arg(QLatin1String(kFieldNames[field]));
    if (!readEnabled(itemName))
        return;
    // The slot's day of the file, past days left out.
    day += weatherPast;
    if (day > 5)
        return;

    // Short or missing parts of a line draw as empty texts.
    const WeatherFile::Day &forecast = weather.days[day - 1];
    const QStringList words = forecast.dateAndText.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString city = weather.city;

    switch (field) {
    case 0:
        drawFormattedItem(QStringLiteral("%s"), {FormatArg::text(gbk_codec->fromUnicode(city))});
        return;
    case 1:
        drawFormattedItem(QStringLiteral("%s"), {FormatArg::text(gbk_codec->fromUnicode(words.value(0)))});
        return;
    case 3: {
        const QStringList parts = forecast.temperatures.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        QList<FormatArg> values;
        for (int i = 0; i < 2 && i < parts.size(); ++i)
            values << FormatArg::number(temperature(parts.at(i)));
        drawFormattedItem(QStringLiteral("%d℃-%d℃"), values);
        return;
    }
    case 4:
        drawFormattedItem(QStringLiteral("%s"), {FormatArg::text(gbk_codec->fromUnicode(forecast.wind))});
        return;
    default:
        break;
    }

    // The description: like drawItem, with the day's weather icon in place of the background
    // picture. BGImage only switches the icon on.
    const QString text = formatItem(QStringLiteral("%s"), {FormatArg::text(gbk_codec->fromUnicode(words.value(1)))});
    painter->save();
    bgImage = theme->readEntry(itemName, ThemeKey::BGImage, QString());
    if (!bgImage.isEmpty()) {
        const QString iconLine = forecast.icon;
        const int dot = iconLine.indexOf(QLatin1Char('.'));
        const QString iconName = dot < 0 ? iconLine : iconLine.left(dot);
        bgImage = iconName + QStringLiteral(".png");
        drawBackground(programDir + QStringLiteral("resource/WeatherIcons/") + bgImage);
    }
    shadow = theme->readBoolEntry(itemName, ThemeKey::Shadow, false);
    rotateAngle = theme->readNumEntry(itemName, ThemeKey::RotateAngle, 0);
    fontSize = theme->readNumEntry(itemName, ThemeKey::FontSize, -1);
    readTextPlacement();
    if (fontSize > 0)
        drawTurnedText(text);
    painter->restore();
}
