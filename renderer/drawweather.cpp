// The five-day weather forecast from the phone's weather file, each field of each day its own
// theme item, the description with the day's icon.

#include "drawimg.h"

#include "device.h"
#include "textconv.h"
#include "configsnapshot.h"
#include "boundedfile.h"

#include <QPainter>
#include <cmath>
#include <limits>

namespace {

const char *const kFieldNames[5] = {"City", "Date", "Description", "Temperature", "Wind"};

// The weather file holds at least this many lines when it is complete.
constexpr int kWeatherMinLines = 32;

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

// The lines of a text file, each without its line end ("\n" or "\r\n"); a last line without
// a line end counts.
QStringList splitLines(const QByteArray &text)
{
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        QByteArrayView line(text.constData() + start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        lines << QString::fromUtf8(line);
        start = end + 1;
    }
    return lines;
}

// True when line 30 of the file names a place ("latitude,longitude") other than the one of
// settings.ini's group "Weather". A file or settings without a place say nothing against it.
bool forOtherPlace(const QStringList &lines, const ConfigSnapshot &settings)
{
    const QString group = QStringLiteral("Weather");
    bool okLat = false, okLon = false, okFileLat = false, okFileLon = false;
    const double lat = settings.readEntry(group, QStringLiteral("Latitude")).trimmed().toDouble(&okLat);
    const double lon = settings.readEntry(group, QStringLiteral("Longitude")).trimmed().toDouble(&okLon);
    const QStringList place = lines.value(30).split(QLatin1Char(','));
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
    QByteArray text;
    if (input) {
        text = input->weather;
    } else {
        const QString path = Platform::phonePath(QStringLiteral("/ezxlocal/.weather"));
        if (!BoundedFile::isRegular(path))
            return false;
        text = BoundedFile::read(path, BoundedFile::kWeatherCap);
    }
    weatherLines = splitLines(text);
    if (weatherLines.size() < kWeatherMinLines || forOtherPlace(weatherLines, *settings))
        return false;
    // Days before today are past: the first slot shows today's forecast (or the first day after
    // it), and slots the file holds no day for stay empty. Days without a readable date count.
    weatherPast = 0;
    while (weatherPast < 5) {
        const QDate date = forecastDate(weatherLines.value(5 * (weatherPast + 1) + 1).section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty),
                                        weatherLines.value(0));
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
    const QStringList words = weatherLines.value(5 * day + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString city = weatherLines.value(1);

    switch (field) {
    case 0:
        drawFormattedItem(QStringLiteral("%s"), {FormatArg::text(gbk_codec->fromUnicode(city))});
        return;
    case 1:
        drawFormattedItem(QStringLiteral("%s"), {FormatArg::text(gbk_codec->fromUnicode(words.value(0)))});
        return;
    case 3: {
        const QStringList parts = weatherLines.value(5 * day + 2).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        QList<FormatArg> values;
        for (int i = 0; i < 2 && i < parts.size(); ++i)
            values << FormatArg::number(temperature(parts.at(i)));
        drawFormattedItem(QStringLiteral("%d℃-%d℃"), values);
        return;
    }
    case 4:
        drawFormattedItem(QStringLiteral("%s"), {FormatArg::text(gbk_codec->fromUnicode(weatherLines.value(5 * day + 3)))});
        return;
    default:
        break;
    }

    // The description: like drawItem, with the day's weather icon in place of the background
    // picture. BGImage only switches the icon on.
    const QString text = formatItem(QStringLiteral("%s"), {FormatArg::text(gbk_codec->fromUnicode(words.value(1)))});
    painter->save();
    bgImage = theme->readEntry(itemName, QStringLiteral("BGImage"), QString());
    if (!bgImage.isEmpty()) {
        const QString iconLine = weatherLines.value(5 * day + 4);
        const int dot = iconLine.indexOf(QLatin1Char('.'));
        const QString iconName = dot < 0 ? iconLine : iconLine.left(dot);
        bgImage = iconName + QStringLiteral(".png");
        drawBackground(programDir + QStringLiteral("resource/WeatherIcons/") + bgImage);
    }
    shadow = theme->readBoolEntry(itemName, QStringLiteral("Shadow"), false);
    rotateAngle = theme->readNumEntry(itemName, QStringLiteral("RotateAngle"), 0);
    fontSize = theme->readNumEntry(itemName, QStringLiteral("FontSize"), -1);
    readTextPlacement();
    if (fontSize > 0)
        drawTurnedText(text);
    painter->restore();
}
