#pragma once
// The five-day forecast: read from the forecast service's JSON answer and written as the phone's
// weather file. Pure functions, no file or network access.

#include "weathercodes.h"
#include "weatherfile.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace Weather {

constexpr int kDays = WeatherFile::kDays;

struct Day
{
    QDate date;
    int code = 0;          // WMO weather code, 0 to 99
    double maxTemp = 0;    // °C
    double minTemp = 0;    // °C
    double windSpeed = 0;  // km/h, the day's maximum
    double windFrom = 0;   // degrees, the direction the wind comes from
};

// The first five days of the answer's object "daily". Empty, with *error set to a short reason,
// when the answer is not JSON of that shape, holds fewer than five complete days or a value out
// of its range.
QList<Day> parseForecast(const QByteArray &json, QString *error);

// Beaufort force 0 to 12 of a wind speed in km/h.
int beaufort(double kmh);

// "北风3级" / "N 3"; "静风" / "Calm" for force 0.
QString windText(double fromDegrees, double kmh, Lang lang);

// "周二" / "Tue".
QString weekdayText(const QDate &date, Lang lang);

// A temperature pair "max/min" in whole degrees.
QString temperatures(double maxTemp, double minTemp);

// The coordinates line of the weather file: "latitude,longitude" with four decimals each.
QString coordinatesLine(double latitude, double longitude);

struct FileHeader
{
    QDateTime updated;
    QString city;
    double latitude = 0;
    double longitude = 0;
    QString source;     // the service's host
};

// The weather file of five days (the first five of `days`).
WeatherFile::Contents weatherFile(const FileHeader &header, const QList<Day> &days, Lang lang);

} // namespace Weather
