#include "weatherfile.h"

#include "atomicfile.h"

#include "boundedfile.h"
#include "device.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace WeatherFile {

namespace {

// Line numbers of the file.
constexpr int kUpdated = 0, kCity = 1, kToday = 2, kFirstDay = 5, kLinesPerDay = 5;
constexpr int kCoordinates = kFirstDay + kDays * kLinesPerDay, kSource = kCoordinates + 1;
static_assert(kSource + 1 == kLines, "the file holds 32 lines");

// The lines of a text, each without its line end ("\n" or "\r\n"); a last line without a line
// end counts.
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

QString path()
{
    return Platform::phonePath(QStringLiteral("/ezxlocal/.weather"));
}

QByteArray toBytes(const Contents &c)
{
    QStringList lines{c.updated, c.city, c.todayText, c.todayTemperatures, c.todayWind};
    for (const Day &d : c.days)
        lines << d.weekday << d.dateAndText << d.temperatures << d.wind << d.icon;
    lines << c.coordinates << c.source;
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

Contents parse(const QByteArray &text, bool *complete)
{
    const QStringList lines = splitLines(text);
    if (complete)
        *complete = lines.size() >= kLines;
    Contents c;
    c.updated = lines.value(kUpdated);
    c.city = lines.value(kCity);
    c.todayText = lines.value(kToday);
    c.todayTemperatures = lines.value(kToday + 1);
    c.todayWind = lines.value(kToday + 2);
    for (int d = 0; d < kDays; ++d) {
        const int first = kFirstDay + d * kLinesPerDay;
        c.days[d] = {lines.value(first), lines.value(first + 1), lines.value(first + 2),
                     lines.value(first + 3), lines.value(first + 4)};
    }
    c.coordinates = lines.value(kCoordinates);
    c.source = lines.value(kSource);
    return c;
}

Contents read(bool *complete)
{
    const QString file = path();
    return parse(BoundedFile::isRegular(file) ? BoundedFile::read(file, BoundedFile::kWeatherCap) : QByteArray(),
                 complete);
}

bool write(const Contents &contents, QString *error)
{
    const QString file = path();
    QDir().mkpath(QFileInfo(file).absolutePath());
    // The name is replaced, a link with it: a link's target is never written.
    QString reason;
    if (AtomicFile::replace(file, toBytes(contents), &reason))
        return true;
    if (error)
        *error = QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(file), reason);
    return false;
}

} // namespace WeatherFile
