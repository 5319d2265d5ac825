#pragma once
// The phone's weather file, /ezxlocal/.weather: a UTF-8 text of 32 lines, each ended by "\n",
// written by the weather updater and read by the desktop. This is its one reader and writer;
// docs/weather.md describes the lines.

#include <QString>

#include <array>

namespace WeatherFile {

constexpr int kDays = 5;
// A file of fewer lines is not complete and is not drawn.
constexpr int kLines = 32;

struct Day
{
    QString weekday;     // "Tue"
    QString dateAndText; // "12/08 Clear": the date, a blank, the one-word description
    QString temperatures; // "3/-6": highest and lowest in whole degrees
    QString wind;        // "NW 4"
    QString icon;        // "sunny.png"
};

struct Contents
{
    QString updated;     // "yyyy-MM-dd HH:mm", local time
    QString city;
    QString todayText, todayTemperatures, todayWind;
    std::array<Day, kDays> days;
    QString coordinates; // "latitude,longitude", four decimals each
    QString source;      // the host of the forecast service
};

QString path();

// The text of a file, and back. Lines end in "\n" or "\r\n"; missing lines read as empty texts,
// and `complete` tells whether the text held all 32 lines.
QByteArray toBytes(const Contents &contents);
Contents parse(const QByteArray &text, bool *complete = nullptr);

// The file as it is now (a regular file of at most BoundedFile::kWeatherCap bytes); a missing
// or unreadable file reads as no lines.
Contents read(bool *complete = nullptr);
// Replaces the file atomically, making its folder; false with the reason when it cannot.
bool write(const Contents &contents, QString *error = nullptr);

} // namespace WeatherFile
