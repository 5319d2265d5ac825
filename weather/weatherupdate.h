#pragma once
// One update of the phone's weather file: read group "Weather" of settings.ini, fetch the
// forecast, write the weather file atomically and have the desktop redrawn. Any failure leaves
// the old file as it was and ends with a one-line reason.

#include "weathercodes.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
class ZConfig;

namespace Weather {

// The forecast service used when settings.ini names none: %1 the latitude, %2 the longitude.
extern const char *const kDefaultUrl;

// The longest a fetch may take, and the most it reads of an answer.
constexpr int kTimeoutMs = 10000;
constexpr qint64 kMaxAnswerBytes = 256 * 1024;

// Interval of the automatic updates in minutes: settings.ini "Weather"/"Interval", limited to
// 15 minutes to 3 hours, 3 hours when unset.
constexpr int kDefaultInterval = 180;
int updateInterval(const ZConfig &settings);

// What group "Weather" asks for.
struct Request
{
    QUrl url;
    QString city;
    double latitude = 0;
    double longitude = 0;
};

// The request of the settings; false with *error set when the coordinates are missing or out
// of range or the URL is not an http(s) URL.
bool readRequest(const ZConfig &settings, Request *request, QString *error);

// True when a file last written at fileTime (invalid: no file) is due for an update.
bool updateDue(const QDateTime &fileTime, const QDateTime &now, int intervalMinutes);

// The time of last change of the phone's weather file (invalid when there is none).
QDateTime weatherFileTime();
// True when the weather file holds the forecast of the request's coordinates.
bool weatherFileIsFor(const Request &request);
// The time of the weather file's last update as written in it; empty when there is no file.
QString weatherFileUpdated();

class Update : public QObject
{
    Q_OBJECT
public:
    explicit Update(QObject *parent = nullptr);
    ~Update() override;

    // Starts an update; finished() follows once, also when the settings refuse at once.
    void start();

signals:
    // ok false: message is the one-line reason; ok true: message names the city.
    void finished(bool ok, const QString &message);

private slots:
    void replyFinished();
    void timedOut();

private:
    void fail(const QString &reason);
    void complete(const QByteArray &answer);

    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer *m_timer = nullptr;
    Request m_request;
    bool m_tooLarge = false;
    bool m_timedOut = false;
};

} // namespace Weather
