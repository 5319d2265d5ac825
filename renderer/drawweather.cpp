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
    return weatherLines.size() >= kWeatherMinLines;
}

void DrawImg::drawWeatherItem(int day, int field)
{
    if (day < 1 || day > 5 || field < 0 || field > 4)
        return;
    itemName = QStringLiteral("Weather%1_%2").arg(day).arg(QLatin1String(kFieldNames[field]));
    if (!readEnabled(itemName))
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
