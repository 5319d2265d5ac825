#include "weatherupdate.h"

#include "cities.h"
#include "desktoprefresh.h"
#include "device.h"
#include "forecast.h"
#include "languagefile.h"
#include "settingsfile.h"
#include "weatherfile.h"
#include "zconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>
#include <QTimer>

namespace Weather {

const char *const kDefaultUrl =
    "https://api.open-meteo.com/v1/forecast?latitude=%1&longitude=%2"
    "&daily=weather_code,temperature_2m_max,temperature_2m_min,wind_speed_10m_max,wind_direction_10m_dominant"
    "&timezone=auto&forecast_days=5";

namespace {

const QString kGroup = QStringLiteral("Weather");

// The city name as one line of at most 40 characters.
QString cityLine(const QString &city)
{
    QString line = city.simplified();
    return line.left(40);
}

bool coordinate(const ZConfig &settings, const QString &key, double limit, double *value)
{
    bool ok = false;
    *value = settings.readEntry(kGroup, key).trimmed().toDouble(&ok);
    return ok && std::abs(*value) <= limit;
}

} // namespace

int updateInterval(const ZConfig &settings)
{
    return qBound(15, settings.readNumEntry(kGroup, QStringLiteral("Interval"), kDefaultInterval), 180);
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
    return info.exists() ? info.lastModified() : QDateTime();
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

Update::~Update()
{
    if (m_reply)
        m_reply->abort();
}

void Update::start()
{
    const auto settings = SettingsFile::open(Platform::programDir());
    QString error;
    if (!readRequest(*settings, &m_request, &error)) {
        // Reported from the event loop, so that a caller connected after start() hears it.
        QTimer::singleShot(0, this, [this, error] { fail(error); });
        return;
    }
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    m_tooLarge = m_timedOut = false;
    QNetworkRequest request(m_request.url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("fetchweather"));
    request.setTransferTimeout(kTimeoutMs);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::finished, this, &Update::replyFinished);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (received > kMaxAnswerBytes || total > kMaxAnswerBytes) {
            m_tooLarge = true;
            m_reply->abort();
        }
    });
    // The whole fetch, not only each pause between bytes, ends within the timeout.
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setSingleShot(true);
        connect(m_timer, &QTimer::timeout, this, &Update::timedOut);
    }
    m_timer->start(kTimeoutMs);
}

void Update::timedOut()
{
    m_timedOut = true;
    if (m_reply)
        m_reply->abort();
}

void Update::replyFinished()
{
    m_timer->stop();
    QNetworkReply *reply = m_reply;
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_tooLarge)
        return fail(QStringLiteral("the answer is larger than %1 KB").arg(kMaxAnswerBytes / 1024));
    if (m_timedOut || reply->error() == QNetworkReply::OperationCanceledError)
        return fail(QStringLiteral("no answer from %1 within %2 s").arg(m_request.url.host()).arg(kTimeoutMs / 1000));
    if (status >= 400)
        return fail(QStringLiteral("the server answered HTTP %1 %2")
                        .arg(status)
                        .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()).trimmed());
    if (reply->error() != QNetworkReply::NoError)
        return fail(m_request.url.host() + QStringLiteral(": ") + reply->errorString().simplified());
    complete(reply->read(kMaxAnswerBytes + 1).left(kMaxAnswerBytes));
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
        Platform::runShow(dir, true);
    emit finished(true, m_request.city);
}

void Update::fail(const QString &reason)
{
    emit finished(false, QStringLiteral("fetchweather: ") + reason);
}

} // namespace Weather
