#include "weatherupdate.h"

#include "atomicfile.h"
#include "boundedfile.h"
#include "cities.h"
#include "desktoprefresh.h"
#include "device.h"
#include "forecast.h"
#include "httpget.h"
#include "languagefile.h"
#include "settingsfile.h"
#include "weatherfile.h"
#include "zconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBoundaryFinder>
#include <QTimer>

namespace Weather {

const char *const kDefaultUrl =
    "https://api.open-meteo.com/v1/forecast?latitude=%1&longitude=%2"
    "&daily=weather_code,temperature_2m_max,temperature_2m_min,wind_speed_10m_max,wind_direction_10m_dominant"
    "&timezone=auto&forecast_days=5";

namespace {

const QString kGroup = QStringLiteral("Weather");
int g_timeLimitMs = 10000;

// The longest prefix of text of at most maxUnits UTF-16 units that ends between two characters
// as the reader sees them (never inside a surrogate pair or before a combining mark).
QString cutAtCharacter(const QString &text, int maxUnits)
{
    if (text.size() <= maxUnits)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(maxUnits);
    if (!finder.isAtBoundary())
        finder.toPreviousBoundary();
    return text.left(qMax(0, int(finder.position())));
}

// The city name as one line of at most 40 characters.
QString cityLine(const QString &city)
{
    return cutAtCharacter(city.simplified(), 40);
}

bool coordinate(const ZConfig &settings, const QString &key, double limit, double *value)
{
    bool ok = false;
    *value = settings.readEntry(kGroup, key).trimmed().toDouble(&ok);
    return ok && std::abs(*value) <= limit;
}

} // namespace

int timeLimitMs()
{
    return g_timeLimitMs;
}

void setTimeLimitMs(int ms)
{
    g_timeLimitMs = ms;
}

QString cleanLine(const QString &text, int maxChars)
{
    QString line;
    bool escape = false;
    for (const QChar c : text) {
        // A terminal escape sequence is dropped up to its final letter.
        if (escape) {
            escape = !c.isLetter() && c != QLatin1Char('~');
            continue;
        }
        if (c == QChar(0x1b))
            escape = true;
        else if (c.isSpace())
            line += QLatin1Char(' ');
        else if (c.isPrint() || c.isSurrogate())
            line += c;
    }
    line = line.simplified();
    const QString cut = cutAtCharacter(line, maxChars);
    return cut.size() < line.size() ? cut + QStringLiteral("...") : cut;
}

int updateInterval(const ZConfig &settings)
{
    return qBound(15, settings.readNumEntry(kGroup, QStringLiteral("Interval"), kDefaultInterval), 180);
}

bool placeChosen(const ZConfig &settings)
{
    return !settings.readEntry(kGroup, QStringLiteral("Latitude")).trimmed().isEmpty()
           || !settings.readEntry(kGroup, QStringLiteral("Longitude")).trimmed().isEmpty();
}

bool readRequest(const ZConfig &settings, Request *request, QString *error)
{
    if (!coordinate(settings, QStringLiteral("Latitude"), 90, &request->latitude)
        || !coordinate(settings, QStringLiteral("Longitude"), 180, &request->longitude)) {
        *error = QStringLiteral("no valid coordinates in %1 (Weather: Latitude -90 to 90, Longitude -180 to 180)")
                     .arg(QFileInfo(settings.path()).fileName());
        return false;
    }
    QString tmpl = settings.readEntry(kGroup, QStringLiteral("Url")).trimmed();
    if (tmpl.isEmpty())
        tmpl = QString::fromLatin1(kDefaultUrl);
    if (!tmpl.contains(QLatin1String("%1")) || !tmpl.contains(QLatin1String("%2"))) {
        *error = QStringLiteral("the forecast URL lacks %1 (latitude) or %2 (longitude)");
        return false;
    }
    request->url = QUrl(tmpl.arg(QString::number(request->latitude, 'f', 4),
                                 QString::number(request->longitude, 'f', 4)));
    const QString scheme = request->url.scheme();
    if (!request->url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        *error = QStringLiteral("the forecast URL is not an http or https URL");
        return false;
    }
    request->city = cityLine(settings.readEntry(kGroup, QStringLiteral("City")));
    if (request->city.isEmpty())
        request->city = QString::number(request->latitude, 'f', 2) + QLatin1Char(',')
                        + QString::number(request->longitude, 'f', 2);
    return true;
}

bool updateDue(const QDateTime &fileTime, const QDateTime &now, int intervalMinutes)
{
    if (!fileTime.isValid())
        return true;
    // A file from the future (the clock was set back) is as good as a stale one.
    return fileTime > now || fileTime.secsTo(now) >= qint64(intervalMinutes) * 60;
}

QDateTime weatherFileTime()
{
    const QFileInfo info(WeatherFile::path());
    return info.isFile() ? info.lastModified() : QDateTime();
}

bool weatherFileIsFor(const Request &request)
{
    return WeatherFile::read().coordinates.trimmed() == coordinatesLine(request.latitude, request.longitude);
}

QString weatherFileUpdated()
{
    return WeatherFile::read().updated.trimmed();
}

Update::Update(QObject *parent) : QObject(parent) {}

Update::~Update() = default;

void Update::start()
{
    // The time limit covers reading the settings too.
    const QDeadlineTimer deadline(g_timeLimitMs);
    const auto settings = SettingsFile::open(Platform::programDir());
    QString error;
    m_redrawFailed = false;
    if (!readRequest(*settings, &m_request, &error)) {
        // Reported from the event loop, so that a caller connected after start() hears it.
        QTimer::singleShot(0, this, [this, error] { fail(error); });
        return;
    }
    delete m_get;
    m_get = new HttpGet(this);
    connect(m_get, &HttpGet::finished, this, &Update::fetched);
    m_get->start(m_request.url, QByteArrayLiteral("fetchweather"), kMaxAnswerBytes, int(qMax<qint64>(0, deadline.remainingTime())));
}

void Update::fetched()
{
    const QString host = m_request.url.host();
    switch (m_get->outcome()) {
    case HttpGet::TooLarge:
        return fail(QStringLiteral("the answer is larger than %1 KB").arg(kMaxAnswerBytes / 1024));
    case HttpGet::TimedOut:
        return fail(QStringLiteral("no answer from %1 within %2 s").arg(host, QString::number(g_timeLimitMs / 1000.0)));
    case HttpGet::Failed:
        return fail(host + QStringLiteral(": ") + cleanLine(m_get->errorText(), 100));
    case HttpGet::Pending:
    case HttpGet::Done:
        break;
    }
    const int status = m_get->status();
    if (status >= 300) {
        const QString reason = cleanLine(QString::fromUtf8(m_get->reason()), 60);
        return fail(QStringLiteral("the server answered HTTP %1 %2").arg(status).arg(reason).trimmed());
    }
    complete(m_get->body());
}

void Update::complete(const QByteArray &answer)
{
    QString error;
    const QList<Day> days = parseForecast(answer, &error);
    if (days.isEmpty())
        return fail(error);

    const QString dir = Platform::programDir();
    const auto settings = SettingsFile::open(dir);
    const Lang lang = langOfLanguageFile(languageFileFor(
        dir + QStringLiteral("resource/language/"), settings->readEntry(QStringLiteral("Quillora"), QStringLiteral("Language"))));
    FileHeader header;
    header.updated = QDateTime::currentDateTime();
    // A city of the list is named in the interface language, whichever language chose it.
    const int known = findCity(m_request.city);
    header.city = known >= 0 ? cityName(city(known), lang) : m_request.city;
    header.latitude = m_request.latitude;
    header.longitude = m_request.longitude;
    header.source = m_request.url.host();

    QString writeError;
    if (!WeatherFile::write(weatherFile(header, days, lang), &writeError))
        return fail(writeError);

    // The desktop is redrawn before the update counts as done; what show prints is its own.
    if (settings->readBoolEntry(QStringLiteral("Quillora"), QStringLiteral("Refresh"), false))
        m_redrawFailed = !Platform::runShow(dir, true);
    emit finished(true, m_request.city);
}

void Update::fail(const QString &reason)
{
    emit finished(false, QStringLiteral("fetchweather: ") + reason);
}

} // namespace Weather
