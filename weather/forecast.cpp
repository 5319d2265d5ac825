#include "forecast.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cmath>

namespace Weather {

namespace {

// A number of the array at index i within [low, high]; false when it is missing, not a
// number or out of range.
bool numberAt(const QJsonArray &array, int i, double low, double high, double *value)
{
    const QJsonValue v = array.at(i);
    if (!v.isDouble())
        return false;
    *value = v.toDouble();
    return std::isfinite(*value) && *value >= low && *value <= high;
}

} // namespace

QList<Day> parseForecast(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = QStringLiteral("the answer is not JSON");
        return {};
    }
    const QJsonObject daily = doc.object().value(QStringLiteral("daily")).toObject();
    struct Column
    {
        const char *name;
        double low, high;
        QJsonArray values;
    };
    Column columns[] = {
        {"weather_code", 0, 99, {}},
        {"temperature_2m_max", -100, 100, {}},
        {"temperature_2m_min", -100, 100, {}},
        {"wind_speed_10m_max", 0, 1000, {}},
        {"wind_direction_10m_dominant", 0, 360, {}},
    };
    const QJsonArray times = daily.value(QStringLiteral("time")).toArray();
    if (times.size() < kDays) {
        *error = QStringLiteral("the answer holds fewer than %1 days").arg(kDays);
        return {};
    }
    for (Column &c : columns) {
        c.values = daily.value(QLatin1String(c.name)).toArray();
        if (c.values.size() < kDays) {
            *error = QStringLiteral("the answer holds no daily %1 for %2 days").arg(QLatin1String(c.name)).arg(kDays);
            return {};
        }
    }
    QList<Day> days;
    for (int i = 0; i < kDays; ++i) {
        Day day;
        day.date = QDate::fromString(times.at(i).toString(), QStringLiteral("yyyy-MM-dd"));
        if (!day.date.isValid()) {
            *error = QStringLiteral("day %1 has no valid date").arg(i + 1);
            return {};
        }
        // The days follow one another: a repeated or earlier date is not a forecast.
        if (!days.isEmpty() && day.date <= days.last().date) {
            *error = QStringLiteral("day %1 does not follow day %2").arg(i + 1).arg(i);
            return {};
        }
        double values[5];
        for (int c = 0; c < 5; ++c) {
            if (!numberAt(columns[c].values, i, columns[c].low, columns[c].high, &values[c])) {
                *error = QStringLiteral("day %1 has no valid %2").arg(i + 1).arg(QLatin1String(columns[c].name));
                return {};
            }
        }
        if (values[1] < values[2]) {
            *error = QStringLiteral("day %1 has a maximum below its minimum").arg(i + 1);
            return {};
        }
        day.code = int(values[0]);
        day.maxTemp = values[1];
        day.minTemp = values[2];
        day.windSpeed = values[3];
        day.windFrom = values[4];
        days << day;
    }
    return days;
}

QString coordinatesLine(double latitude, double longitude)
{
    return QString::number(latitude, 'f', 4) + QLatin1Char(',') + QString::number(longitude, 'f', 4);
}

int beaufort(double kmh)
{
    // Upper bounds in km/h of forces 0 to 11.
    static const double kLimits[] = {1, 6, 12, 20, 29, 39, 50, 62, 75, 89, 103, 118};
    int force = 0;
    for (double limit : kLimits) {
        if (kmh < limit)
            return force;
        ++force;
    }
    return force;
}

QString windText(double fromDegrees, double kmh, Lang lang)
{
    static const char *const kChinese[] = {"北", "东北", "东", "东南", "南", "西南", "西", "西北"};
    static const char *const kEnglish[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
    const int force = beaufort(kmh);
    if (force == 0)
        return lang == Lang::Chinese ? QStringLiteral("静风") : QStringLiteral("Calm");
    const int sector = int(std::floor(std::fmod(fromDegrees, 360.0) / 45.0 + 0.5)) % 8;
    if (lang == Lang::Chinese)
        return QString::fromUtf8(kChinese[sector]) + QStringLiteral("风%1级").arg(force);
    return QStringLiteral("%1 %2").arg(QLatin1String(kEnglish[sector])).arg(force);
}

QString weekdayText(const QDate &date, Lang lang)
{
    static const char *const kChinese[] = {"周一", "周二", "周三", "周四", "周五", "周六", "周日"};
    static const char *const kEnglish[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const int i = date.dayOfWeek() - 1;
    return lang == Lang::Chinese ? QString::fromUtf8(kChinese[i]) : QString::fromLatin1(kEnglish[i]);
}

QString temperatures(double maxTemp, double minTemp)
{
    // qRound gives 0, never "-0", for -0.4.
    return QStringLiteral("%1/%2").arg(qRound(maxTemp)).arg(qRound(minTemp));
}

WeatherFile::Contents weatherFile(const FileHeader &header, const QList<Day> &days, Lang lang)
{
    WeatherFile::Contents file;
    file.updated = header.updated.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    file.city = header.city;
    // Today at a glance.
    const Day &today = days.at(0);
    file.todayText = condition(today.code, lang).description;
    file.todayTemperatures = temperatures(today.maxTemp, today.minTemp);
    file.todayWind = windText(today.windFrom, today.windSpeed, lang);
    for (int d = 0; d < WeatherFile::kDays; ++d) {
        const Day &day = days.at(d);
        const Condition c = condition(day.code, lang);
        file.days[d] = {weekdayText(day.date, lang),
                        day.date.toString(QStringLiteral("MM/dd")) + QLatin1Char(' ') + c.description,
                        temperatures(day.maxTemp, day.minTemp), windText(day.windFrom, day.windSpeed, lang),
                        c.icon + QStringLiteral(".png")};
    }
    file.coordinates = coordinatesLine(header.latitude, header.longitude);
    file.source = header.source;
    return file;
}

} // namespace Weather
