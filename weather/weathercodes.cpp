#include "weathercodes.h"

#include <QStringList>
#include <iterator>

namespace Weather {

namespace {

// Each row holds from its first code up to the next row's first code. English descriptions of
// several words join them with a no-break space, so that the weather file keeps them one word.
struct Row
{
    int first;
    const char *icon;
    const char *english;
    const char *chinese;
};

const Row kRows[] = {
    {0, "sunny", "Clear", "晴"},
    {1, "partly_cloudy", "Fair", "少云"},
    {2, "partly_cloudy", "Cloudy", "多云"},
    {3, "overcast", "Overcast", "阴"},
    {4, "haze", "Haze", "霾"},
    {6, "haze", "Dust", "浮尘"},
    {10, "fog", "Mist", "轻雾"},
    {11, "fog", "Fog", "雾"},
    {13, "thunderstorm", "Lightning", "闪电"},
    {14, "showers", "Showers", "阵雨"},
    {17, "thunderstorm", "Thunder", "雷暴"},
    {18, "wind", "Squalls", "大风"},
    {20, "drizzle", "Drizzle", "毛毛雨"},
    {21, "light_rain", "Light\u00a0rain", "小雨"},
    {22, "light_snow", "Light\u00a0snow", "小雪"},
    {23, "sleet", "Sleet", "雨夹雪"},
    {24, "sleet", "Freezing\u00a0rain", "冻雨"},
    {25, "showers", "Showers", "阵雨"},
    {26, "light_snow", "Snow\u00a0showers", "阵雪"},
    {27, "hail", "Hail", "冰雹"},
    {28, "fog", "Fog", "雾"},
    {29, "thunderstorm", "Thunderstorm", "雷阵雨"},
    {30, "haze", "Duststorm", "沙尘暴"},
    {36, "snow", "Blowing\u00a0snow", "吹雪"},
    {40, "fog", "Fog", "雾"},
    {48, "fog", "Freezing\u00a0fog", "冻雾"},
    {50, "drizzle", "Drizzle", "毛毛雨"},
    {56, "sleet", "Freezing\u00a0drizzle", "冻毛毛雨"},
    {58, "light_rain", "Light\u00a0rain", "小雨"},
    {60, "light_rain", "Light\u00a0rain", "小雨"},
    {62, "rain", "Rain", "中雨"},
    {64, "heavy_rain", "Heavy\u00a0rain", "大雨"},
    {66, "sleet", "Freezing\u00a0rain", "冻雨"},
    {68, "sleet", "Sleet", "雨夹雪"},
    {70, "light_snow", "Light\u00a0snow", "小雪"},
    {72, "snow", "Snow", "中雪"},
    {74, "heavy_snow", "Heavy\u00a0snow", "大雪"},
    {76, "snow", "Snow\u00a0grains", "米雪"},
    {78, "sleet", "Ice\u00a0pellets", "冰粒"},
    {80, "showers", "Showers", "阵雨"},
    {82, "heavy_rain", "Heavy\u00a0showers", "强阵雨"},
    {83, "sleet", "Sleet\u00a0showers", "阵雨夹雪"},
    {85, "light_snow", "Snow\u00a0showers", "阵雪"},
    {86, "heavy_snow", "Heavy\u00a0snow\u00a0showers", "强阵雪"},
    {87, "hail", "Hail\u00a0showers", "冰雹"},
    {91, "thunderstorm", "Thunderstorm", "雷阵雨"},
    {96, "hail", "Thunderstorm\u00a0with\u00a0hail", "雷阵雨伴冰雹"},
    {97, "thunderstorm", "Thunderstorm", "雷阵雨"},
    {99, "hail", "Thunderstorm\u00a0with\u00a0hail", "雷阵雨伴冰雹"},
};

} // namespace

Lang langOfLanguageFile(const QString &languageFile)
{
    return languageFile.startsWith(QStringLiteral("简体中文")) ? Lang::Chinese : Lang::English;
}

Condition condition(int wmoCode, Lang lang)
{
    const Row *row = kRows;
    for (const Row &r : kRows) {
        if (r.first > wmoCode)
            break;
        row = &r;
    }
    return {QString::fromLatin1(row->icon),
            QString::fromUtf8(lang == Lang::Chinese ? row->chinese : row->english)};
}

QStringList iconNames()
{
    QStringList names;
    for (const Row &r : kRows)
        if (!names.contains(QLatin1String(r.icon)))
            names << QString::fromLatin1(r.icon);
    return names;
}

} // namespace Weather
