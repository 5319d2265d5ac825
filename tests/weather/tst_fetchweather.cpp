// fetchweather as a program, against a forecast service on the loopback interface; and the
// tables it turns an answer into a weather file with.
#include "cities.h"
#include "forecast.h"
#include "forecastserver.h"
#include "stubshow.h"
#include "testenv.h"
#include "updateloop.h"
#include "weathercodes.h"
#include "weatherupdate.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

namespace {

// What the updater may grow by over its failed attempts; a sanitized build holds freed blocks
// in quarantine for a while, so it grows by what it frees as well.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kGrowthLimitKb = 32768;
#else
constexpr qint64 kGrowthLimitKb = 4096;
#endif

const QByteArray kOldFile = "2026-12-01 08:00\nold forecast\n";

QByteArray fixture()
{
    QFile file(QStringLiteral(FORECAST_FIXTURE));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The fixture with one text replaced.
QByteArray fixtureWith(const char *from, const char *to)
{
    QByteArray answer = fixture();
    if (!answer.contains(from))
        qFatal("fixture lacks %s", from);
    return answer.replace(from, to);
}

// Threads of this process, and its resident memory in KB.
int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

qint64 residentKb()
{
    QFile file(QStringLiteral("/proc/self/statm"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readAll().split(' ').value(1).toLongLong() * 4;
}

// The expected weather file after its line 0, the time of the update.
const char *const kEnglish =
    "Beijing\nClear\n3/-6\nN 3\n"
    "Tue\n12/08 Clear\n3/-6\nN 3\nsunny.png\n"
    "Wed\n12/09 Cloudy\n5/-4\nN 2\npartly_cloudy.png\n"
    "Thu\n12/10 Overcast\n4/-3\nCalm\novercast.png\n"
    "Fri\n12/11 Light\u00a0snow\n1/-5\nNW 4\nlight_snow.png\n"
    "Sat\n12/12 Fog\n0/-8\nS 5\nfog.png\n"
    "39.9042,116.4074\n127.0.0.1\n";
const char *const kChinese =
    "北京\n晴\n3/-6\n北风3级\n"
    "周二\n12/08 晴\n3/-6\n北风3级\nsunny.png\n"
    "周三\n12/09 多云\n5/-4\n北风2级\npartly_cloudy.png\n"
    "周四\n12/10 阴\n4/-3\n静风\novercast.png\n"
    "周五\n12/11 小雪\n1/-5\n西北风4级\nlight_snow.png\n"
    "周六\n12/12 雾\n0/-8\n南风5级\nfog.png\n"
    "39.9042,116.4074\n127.0.0.1\n";

} // namespace

class TestFetchWeather : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void writesTheForecast_data();
    void writesTheForecast();
    void failureKeepsTheOldFile_data();
    void failureKeepsTheOldFile();
    void hostileServerEndsTheUpdate_data();
    void hostileServerEndsTheUpdate();
    void oneShotEndsAtItsErrorLine();
    void updaterStaysFlatOverFailures_data();
    void updaterStaysFlatOverFailures();
    void failedRedrawHasItsOwnStatus();
    void hostileFiles_data();
    void hostileFiles();
    void backgroundModeUpdatesStaleFiles_data();
    void backgroundModeUpdatesStaleFiles();
    void backgroundModeSaysOnceWhyAPlaceCannotBeUsed();

    void cleanLine_data();
    void cleanLine();
    void conditions_data();
    void conditions();
    void everyCodeHasAShippedIcon();
    void winds_data();
    void winds();
    void updateDue_data();
    void updateDue();
    void citiesHaveBothNames();

private:
    void writeSettings(const QByteArray &weather, const QByteArray &language = "English.lng", bool refresh = false);
    // Runs fetchweather to its end; returns the exit code, -1 when it did not end normally.
    int fetch(QByteArray *stderrText = nullptr, int limitMs = 30000, const QString &systemLanguage = QString());

    ForecastServer m_server;
};

void TestFetchWeather::initTestCase()
{
    QVERIFY(m_server.listen(QHostAddress::LocalHost));
    QVERIFY(!fixture().isEmpty());
    TestEnv::installProgram(QStringLiteral("fetchweather"));
}

void TestFetchWeather::init()
{
    Weather::setTimeLimitMs(10000);
    StubShow::install();
    m_server.answer(200, fixture());
    m_server.requests.clear();
    TestEnv::writeFile(QStringLiteral("device/ezxlocal/.weather"), kOldFile);
}

void TestFetchWeather::writeSettings(const QByteArray &weather, const QByteArray &language, bool refresh)
{
    TestEnv::writeFile(QStringLiteral("settings.ini"),
                       "[Quillora]\nLanguage = " + language + "\nRefresh = " + (refresh ? "true" : "false")
                           + "\n[Weather]\nUrl = " + m_server.urlTemplate().toUtf8() + "\n" + weather);
}

int TestFetchWeather::fetch(QByteArray *stderrText, int limitMs, const QString &systemLanguage)
{
    QProcess process;
    if (!systemLanguage.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.insert(QStringLiteral("LANG"), systemLanguage);
        process.setProcessEnvironment(env);
    }
    process.start(TestEnv::path(QStringLiteral("fetchweather")), {});
    if (!process.waitForStarted(5000))
        return -1;
    QSignalSpy finished(&process, &QProcess::finished);
    // The server answers from this event loop while the program runs.
    if (!finished.wait(limitMs)) {
        process.kill();
        process.waitForFinished(3000);
        return -1;
    }
    if (stderrText)
        *stderrText = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TestFetchWeather::writesTheForecast_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QByteArray>("city");
    QTest::addColumn<bool>("refresh");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("system"); // LANG of the program; empty: the test's own
    QTest::newRow("English") << QByteArray("English.lng") << QByteArray("Beijing") << false << QString::fromUtf8(kEnglish)
                             << QString();
    QTest::newRow("Chinese, the desktop redrawn")
        << QByteArray("简体中文.lng") << QByteArray("Beijing") << true << QString::fromUtf8(kChinese) << QString();
    QTest::newRow("a listed city chosen in the other language")
        << QByteArray("English.lng") << QByteArray("北京") << false << QString::fromUtf8(kEnglish) << QString();
    // No language stored: the one the settings program speaks, the system's.
    QTest::newRow("no language, Chinese system")
        << QByteArray() << QByteArray("Beijing") << false << QString::fromUtf8(kChinese) << "zh_CN.UTF-8";
    QTest::newRow("no language, other system")
        << QByteArray() << QByteArray("Beijing") << false << QString::fromUtf8(kEnglish) << "de_DE.UTF-8";
}

void TestFetchWeather::writesTheForecast()
{
    QFETCH(QByteArray, language);
    QFETCH(QByteArray, city);
    QFETCH(bool, refresh);
    QFETCH(QString, expected);
    QFETCH(QString, system);
    writeSettings("City = " + city + "\nLatitude = 39.9042\nLongitude = 116.4074\n", language, refresh);

    QByteArray err;
    QCOMPARE(fetch(&err, 30000, system), 0);
    QCOMPARE(err, QByteArray());
    QCOMPARE(m_server.requests, QStringList{QStringLiteral("GET /v1/forecast?latitude=39.9042&longitude=116.4074 HTTP/1.1")});
    const QString file = QString::fromUtf8(TestEnv::readFile(QStringLiteral("device/ezxlocal/.weather")));
    const QDateTime updated = QDateTime::fromString(file.section(QLatin1Char('\n'), 0, 0), QStringLiteral("yyyy-MM-dd HH:mm"));
    QVERIFY2(qAbs(updated.secsTo(QDateTime::currentDateTime())) < 120, qPrintable(file.section(QLatin1Char('\n'), 0, 0)));
    QCOMPARE(file.section(QLatin1Char('\n'), 1), expected);
    QCOMPARE(StubShow::count(), refresh ? 1 : 0);
}

void TestFetchWeather::failureKeepsTheOldFile_data()
{
    const QByteArray place = "City = Beijing\nLatitude = 39.9\nLongitude = 116.4\n";
    QTest::addColumn<QByteArray>("weather");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("HTTP 404") << place << 404 << QByteArray("{}") << QByteArray("HTTP 404");
    QTest::newRow("HTTP 503") << place << 503 << fixture() << QByteArray("HTTP 503");
    QTest::newRow("not JSON") << place << 200 << QByteArray("<html>maintenance</html>") << QByteArray("not JSON");
    QTest::newRow("cut short") << place << 200 << fixture().left(200) << QByteArray("not JSON");
    QTest::newRow("JSON array") << place << 200 << QByteArray("[1,2,3]") << QByteArray("not JSON");
    QTest::newRow("no daily object") << place << 200 << QByteArray("{\"error\":true}") << QByteArray("fewer than 5 days");
    QTest::newRow("four days") << place << 200
                               << fixtureWith("[\"2026-12-08\",", "[") << QByteArray("fewer than 5 days");
    QTest::newRow("four codes") << place << 200 << fixtureWith("[0,2,3,71,45]", "[0,2,3,71]")
                                << QByteArray("weather_code");
    QTest::newRow("temperature null") << place << 200 << fixtureWith("[3.4,", "[null,")
                                      << QByteArray("day 1 has no valid temperature_2m_max");
    QTest::newRow("temperature a text") << place << 200 << fixtureWith("[3.4,", "[\"3.4\",")
                                        << QByteArray("temperature_2m_max");
    QTest::newRow("code 150") << place << 200 << fixtureWith("[0,2,3,71,45]", "[0,2,150,71,45]")
                              << QByteArray("day 3 has no valid weather_code");
    QTest::newRow("bad date") << place << 200 << fixtureWith("2026-12-10", "2026-13-10") << QByteArray("day 3 has no valid date");
    QTest::newRow("a date twice") << place << 200 << fixtureWith("2026-12-10", "2026-12-09")
                                  << QByteArray("day 3 does not follow day 2");
    QTest::newRow("days out of order") << place << 200 << fixtureWith("2026-12-08", "2026-12-18")
                                       << QByteArray("day 2 does not follow day 1");
    QTest::newRow("maximum below minimum") << place << 200 << fixtureWith("[3.4,", "[-30,")
                                           << QByteArray("day 1 has a maximum below its minimum");
    QTest::newRow("huge answer") << place << 200 << QByteArray(2 * 1024 * 1024, ' ') << QByteArray("larger than");
    QTest::newRow("no coordinates") << QByteArray("City = Beijing\n") << 200 << fixture() << QByteArray("coordinates");
    QTest::newRow("latitude 91") << QByteArray("Latitude = 91\nLongitude = 116.4\n") << 200 << fixture()
                                 << QByteArray("coordinates");
    QTest::newRow("longitude a text") << QByteArray("Latitude = 39.9\nLongitude = east\n") << 200 << fixture()
                                      << QByteArray("coordinates");
    QTest::newRow("URL not http") << place + "Url = file:///etc/passwd?%1%2\n" << 200 << fixture()
                                  << QByteArray("not an http");
    QTest::newRow("nobody listening") << place + "Url = http://127.0.0.1:1/?%1%2\n" << 200 << fixture()
                                      << QByteArray("refused");
    QTest::newRow("URL without the longitude") << place + "Url = http://127.0.0.1:1/?lat=%1\n" << 200 << fixture()
                                               << QByteArray("the forecast URL lacks %1 (latitude) or %2 (longitude)");
    QTest::newRow("redirect") << place << 301 << QByteArray() << QByteArray("HTTP 301");
}

void TestFetchWeather::failureKeepsTheOldFile()
{
    QFETCH(QByteArray, weather);
    QFETCH(int, status);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, reason);
    m_server.answer(status, answer);
    // A later Url line wins over the test server's.
    writeSettings(weather, "English.lng", true);
    if (weather.contains("Url = ")) {
        QByteArray text = TestEnv::readFile(QStringLiteral("settings.ini"));
        text.remove(text.indexOf("Url = "), text.indexOf('\n', text.indexOf("Url = ")) - text.indexOf("Url = ") + 1);
        TestEnv::writeFile(QStringLiteral("settings.ini"), text);
    }

    QByteArray err;
    QCOMPARE(fetch(&err), 1);
    QVERIFY2(err.startsWith("fetchweather: ") && err.endsWith('\n') && err.count('\n') == 1, err.constData());
    QVERIFY2(err.contains(reason), err.constData());
    QCOMPARE(TestEnv::readFile(QStringLiteral("device/ezxlocal/.weather")), kOldFile);
    QCOMPARE(StubShow::count(), 0);
}

void TestFetchWeather::hostileServerEndsTheUpdate_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("reason");
    QTest::newRow("accepts and never answers") << int(ForecastServer::Silent) << "within 0.3 s";
    QTest::newRow("answers one byte a second") << int(ForecastServer::Trickle) << "within 0.3 s";
    QTest::newRow("header lines forever") << int(ForecastServer::StuckHead) << "header is longer than 16 KB";
    QTest::newRow("a status line forever") << int(ForecastServer::StuckStatus) << "header is longer than 16 KB";
}

void TestFetchWeather::hostileServerEndsTheUpdate()
{
    QFETCH(int, mode);
    QFETCH(QString, reason);
    m_server.mode = ForecastServer::Mode(mode);
    writeSettings("Latitude = 39.9\nLongitude = 116.4\n");
    Weather::setTimeLimitMs(300);
    const int threads = threadCount();
    Weather::Update update;
    QSignalSpy finished(&update, &Weather::Update::finished);
    update.start();
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QVERIFY2(finished.at(0).at(1).toString().contains(reason), qPrintable(finished.at(0).at(1).toString()));
    // Nothing of the attempt is left running.
    QCOMPARE(threadCount(), threads);
    QCOMPARE(TestEnv::readFile(QStringLiteral("device/ezxlocal/.weather")), kOldFile);
}

void TestFetchWeather::oneShotEndsAtItsErrorLine()
{
    m_server.mode = ForecastServer::StuckHead;
    writeSettings("Latitude = 39.9\nLongitude = 116.4\n");
    QProcess process;
    process.start(TestEnv::path(QStringLiteral("fetchweather")), {});
    QVERIFY(process.waitForStarted(5000));
    QSignalSpy errorLine(&process, &QProcess::readyReadStandardError);
    QSignalSpy finished(&process, &QProcess::finished);
    QVERIFY(errorLine.wait(20000));
    QElapsedTimer sinceLine;
    sinceLine.start();
    QVERIFY(finished.size() == 1 || finished.wait(5000));
    QVERIFY2(sinceLine.elapsed() < 1000, qPrintable(QString::number(sinceLine.elapsed())));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().contains("longer than 16 KB"));
}

void TestFetchWeather::updaterStaysFlatOverFailures_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("header lines forever") << int(ForecastServer::StuckHead);
    QTest::newRow("accepts and never answers") << int(ForecastServer::Silent);
}

// An hour of failed minutes against a stuck server, scaled down: the updater's threads and
// memory stay where they were after the first attempts.
void TestFetchWeather::updaterStaysFlatOverFailures()
{
    QFETCH(int, mode);
    m_server.mode = ForecastServer::Mode(mode);
    writeSettings("Latitude = 39.9\nLongitude = 116.4\n");
    Weather::setTimeLimitMs(10);
    Weather::UpdateLoop loop;
    QSignalSpy attempts(&loop, &Weather::UpdateLoop::attempted);
    loop.start(1);
    QTRY_VERIFY_WITH_TIMEOUT(attempts.size() >= 20, 20000);
    const int threads = threadCount();
    const qint64 resident = residentKb();
    QTRY_VERIFY_WITH_TIMEOUT(attempts.size() >= 200, 60000);
    QCOMPARE(threadCount(), threads);
    QVERIFY2(residentKb() - resident < kGrowthLimitKb, qPrintable(QString::number(residentKb() - resident)));
    for (const QList<QVariant> &attempt : attempts)
        QCOMPARE(attempt.at(0).toBool(), false);
}

void TestFetchWeather::failedRedrawHasItsOwnStatus()
{
    TestEnv::writeFile(QStringLiteral("show"), "#!/bin/sh\nexit 1\n");
    QFile(TestEnv::path(QStringLiteral("show"))).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeSettings("City = Beijing\nLatitude = 39.9042\nLongitude = 116.4074\n", "English.lng", true);
    QByteArray err;
    QCOMPARE(fetch(&err), 3);
    QVERIFY2(err.startsWith("fetchweather: ") && err.count('\n') == 1 && err.contains("did not redraw"), err.constData());
    QVERIFY(TestEnv::readFile(QStringLiteral("device/ezxlocal/.weather")).contains("\nBeijing\n"));
}

void TestFetchWeather::hostileFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("outcome"); // the city written, or the reason of the failure
    const QString settings = QStringLiteral("settings.ini"), weather = QStringLiteral("device/ezxlocal/.weather");
    for (const char *kind : {"FIFO", "device", "folder"}) {
        QTest::addRow("settings.ini a %s", kind) << settings << kind << "no valid coordinates";
        // The weather file reads as none; the update replaces the name, never writes through it.
        QTest::addRow("weather file a %s", kind) << weather << kind << (qstrcmp(kind, "folder") ? "Beijing" : "cannot write");
    }
    QTest::newRow("weather file a link") << weather << "link" << "Beijing";
}

void TestFetchWeather::hostileFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, kind);
    QFETCH(QString, outcome);
    writeSettings("City = Beijing\nLatitude = 39.9042\nLongitude = 116.4074\n");
    QVERIFY(TestEnv::plantHostile(kind, file, kOldFile));
    // A link to a regular file reads as that file; the rest as no file.
    const bool none = file.endsWith(QLatin1String(".weather")) && kind != QLatin1String("link");
    QCOMPARE(Weather::weatherFileUpdated(), none ? QString() : QStringLiteral("2026-12-01 08:00"));
    QCOMPARE(Weather::weatherFileTime().isValid(), !none);

    Weather::Update update;
    QSignalSpy finished(&update, &Weather::Update::finished);
    update.start();
    QVERIFY(finished.wait(5000));
    const QString message = finished.at(0).at(1).toString();
    QVERIFY2(message.contains(outcome), qPrintable(message));
    if (kind == QLatin1String("link")) {
        QVERIFY(!QFileInfo(TestEnv::path(file)).isSymLink());
        QCOMPARE(TestEnv::readFile(file + QStringLiteral(".target")), kOldFile);
    }
    QVERIFY(TestEnv::plantHostile(QStringLiteral("regular"), file, kOldFile));
    TestEnv::removeFile(file + QStringLiteral(".target"));
}

void TestFetchWeather::backgroundModeUpdatesStaleFiles_data()
{
    QTest::addColumn<int>("fileAgeMinutes");
    QTest::addColumn<QByteArray>("interval");
    QTest::addColumn<QByteArray>("fileCoordinates");
    QTest::addColumn<bool>("updated");
    const QByteArray here = "39.9042,116.4074";
    QTest::newRow("older than the default 3 hours") << 181 << QByteArray() << here << true;
    QTest::newRow("younger than the default 3 hours") << 170 << QByteArray() << here << false;
    QTest::newRow("young, but of another place") << 5 << QByteArray() << QByteArray("31.2304,121.4737") << true;
    QTest::newRow("older than its interval") << 31 << QByteArray("30") << here << true;
    QTest::newRow("an interval above 3 hours counts as 3") << 200 << QByteArray("600") << here << true;
}

void TestFetchWeather::backgroundModeUpdatesStaleFiles()
{
    QFETCH(int, fileAgeMinutes);
    QFETCH(QByteArray, interval);
    QFETCH(QByteArray, fileCoordinates);
    QFETCH(bool, updated);
    const QByteArray intervalLine = interval.isEmpty() ? QByteArray() : "Interval = " + interval + "\n";
    const QString weather = QStringLiteral("device/ezxlocal/.weather");
    const QByteArray old = kOldFile + QByteArray("-\n").repeated(28) + fileCoordinates + "\nsource\n";
    const auto plantOldFile = [&] {
        writeSettings("City = Beijing\nLatitude = 39.9042\nLongitude = 116.4074\n" + intervalLine);
        TestEnv::writeFile(weather, old);
        QFile file(TestEnv::path(weather));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * fileAgeMinutes), QFileDevice::FileModificationTime));
    };
    plantOldFile();

    if (updated) {
        // The program checks at once when it starts, and stays.
        QProcess process;
        process.start(TestEnv::path(QStringLiteral("fetchweather")), {QStringLiteral("--background")});
        QVERIFY(process.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(TestEnv::readFile(weather) != old, 10000);
        QCOMPARE(process.state(), QProcess::Running);
        process.kill();
        process.waitForFinished(3000);
        QVERIFY(TestEnv::readFile(weather).contains("\nBeijing\n"));
        QCOMPARE(m_server.requests.size(), 1);
        m_server.requests.clear();
        plantOldFile();
    }

    // The same checks a few milliseconds apart. The first, at the start, finds the file due or
    // not; then another place is chosen, which makes the file stale at once, and a later check
    // updates it for that place. An update of the first check's comes first.
    Weather::UpdateLoop loop;
    QSignalSpy attempts(&loop, &Weather::UpdateLoop::attempted);
    loop.start(20);
    writeSettings("City = Guangzhou\nLatitude = 23.1291\nLongitude = 113.2644\n" + intervalLine);
    QStringList requests;
    if (updated)
        requests << QStringLiteral("GET /v1/forecast?latitude=39.9042&longitude=116.4074 HTTP/1.1");
    requests << QStringLiteral("GET /v1/forecast?latitude=23.1291&longitude=113.2644 HTTP/1.1");
    QTRY_COMPARE_WITH_TIMEOUT(attempts.size(), requests.size(), 10000);
    QCOMPARE(m_server.requests, requests);
    QVERIFY(TestEnv::readFile(weather).contains("\nGuangzhou\n"));
}

void TestFetchWeather::backgroundModeSaysOnceWhyAPlaceCannotBeUsed()
{
    writeSettings(QByteArray()); // no place chosen: nothing to say
    Weather::UpdateLoop loop;
    QSignalSpy refused(&loop, &Weather::UpdateLoop::settingsRefused);
    QSignalSpy checks(&loop, &Weather::UpdateLoop::checked);
    loop.start(20); // its first check, with no place, runs here
    writeSettings("Latitude = 100\nLongitude = 116.4074\n");
    QTRY_COMPARE(refused.size(), 1);
    QVERIFY(refused.at(0).at(0).toString().startsWith(QLatin1String("no valid coordinates")));
    // The same reason at every later check is not said again.
    const qsizetype seen = checks.size();
    QTRY_VERIFY(checks.size() >= seen + 3);
    QCOMPARE(refused.size(), 1);
    TestEnv::writeFile(QStringLiteral("settings.ini"),
                       "[Weather]\nUrl = ftp://127.0.0.1/?lat=%1&lon=%2\nLatitude = 39.9042\nLongitude = 116.4074\n");
    QTRY_COMPARE(refused.size(), 2);
    QCOMPARE(refused.at(1).at(0).toString(), QStringLiteral("the forecast URL is not an http or https URL"));
    QVERIFY(m_server.requests.isEmpty());
}

void TestFetchWeather::cleanLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << "Service Unavailable" << 60 << "Service Unavailable";
    QTest::newRow("CR, BEL and a colour escape") << "Bad\r\x1b[31mred\x07 gate" << 60 << "Bad red gate";
    QTest::newRow("long") << QString(10000, QLatin1Char('x')) << 8 << "xxxxxxxx...";
    // Never half a character: not inside a surrogate pair, not before a combining mark.
    QTest::newRow("cut at a pair") << QString::fromUtf8("ab\U0001F600c") << 3 << "ab...";
    QTest::newRow("cut at a mark") << QString::fromUtf8("abe\u0301f") << 3 << "ab...";
}

void TestFetchWeather::cleanLine()
{
    QFETCH(QString, text);
    QFETCH(int, max);
    QFETCH(QString, line);
    QCOMPARE(Weather::cleanLine(text, max), line);
}

void TestFetchWeather::conditions_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");
    auto row = [](int code, const char *icon, const char *english, const char *chinese) {
        QTest::addRow("%d", code) << code << QString::fromLatin1(icon) << QString::fromUtf8(english)
                                  << QString::fromUtf8(chinese);
    };
    row(0, "sunny", "Clear", "晴");
    row(1, "partly_cloudy", "Fair", "少云");
    row(2, "partly_cloudy", "Cloudy", "多云");
    row(3, "overcast", "Overcast", "阴");
    row(45, "fog", "Fog", "雾");
    row(48, "fog", "Freezing\u00a0fog", "冻雾");
    row(51, "drizzle", "Drizzle", "毛毛雨");
    // Codes the service does not send take their neighbour below.
    row(52, "drizzle", "Drizzle", "毛毛雨");
    row(57, "sleet", "Freezing\u00a0drizzle", "冻毛毛雨");
    row(63, "rain", "Rain", "中雨");
    row(65, "heavy_rain", "Heavy\u00a0rain", "大雨");
    row(67, "sleet", "Freezing\u00a0rain", "冻雨");
    row(75, "heavy_snow", "Heavy\u00a0snow", "大雪");
    row(77, "snow", "Snow\u00a0grains", "米雪");
    row(81, "showers", "Showers", "阵雨");
    row(85, "light_snow", "Snow\u00a0showers", "阵雪");
    row(95, "thunderstorm", "Thunderstorm", "雷阵雨");
    row(96, "hail", "Thunderstorm\u00a0with\u00a0hail", "雷阵雨伴冰雹");
    row(98, "thunderstorm", "Thunderstorm", "雷阵雨");
}

void TestFetchWeather::conditions()
{
    QFETCH(int, code);
    QFETCH(QString, icon);
    QFETCH(QString, english);
    QFETCH(QString, chinese);
    QCOMPARE(Weather::condition(code, Weather::Lang::English).icon, icon);
    QCOMPARE(Weather::condition(code, Weather::Lang::English).description, english);
    QCOMPARE(Weather::condition(code, Weather::Lang::Chinese).description, chinese);
}

void TestFetchWeather::everyCodeHasAShippedIcon()
{
    for (int code = 0; code <= 99; ++code) {
        for (auto lang : {Weather::Lang::English, Weather::Lang::Chinese}) {
            const Weather::Condition c = Weather::condition(code, lang);
            QVERIFY2(QImage(TestEnv::path(QStringLiteral("resource/WeatherIcons/") + c.icon + QStringLiteral(".png"))).width() == 48,
                     qPrintable(c.icon));
            // The renderer takes the second blank-separated word of the line as the description.
            QVERIFY2(!c.description.isEmpty() && !c.description.contains(QLatin1Char(' ')), qPrintable(c.description));
        }
    }
}

void TestFetchWeather::winds_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("kmh");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");
    QTest::newRow("calm") << 90.0 << 0.9 << "Calm" << QString::fromUtf8("静风");
    QTest::newRow("force 1 from 22 degrees") << 22.0 << 1.0 << "N 1" << QString::fromUtf8("北风1级");
    QTest::newRow("force 2 from 23 degrees") << 23.0 << 11.9 << "NE 2" << QString::fromUtf8("东北风2级");
    QTest::newRow("force 3") << 135.0 << 12.0 << "SE 3" << QString::fromUtf8("东南风3级");
    QTest::newRow("force 6 from the west") << 270.0 << 49.9 << "W 6" << QString::fromUtf8("西风6级");
    QTest::newRow("force 11") << 315.0 << 117.9 << "NW 11" << QString::fromUtf8("西北风11级");
    QTest::newRow("hurricane from 360") << 360.0 << 150.0 << "N 12" << QString::fromUtf8("北风12级");
}

void TestFetchWeather::winds()
{
    QFETCH(double, from);
    QFETCH(double, kmh);
    QFETCH(QString, english);
    QFETCH(QString, chinese);
    QCOMPARE(Weather::windText(from, kmh, Weather::Lang::English), english);
    QCOMPARE(Weather::windText(from, kmh, Weather::Lang::Chinese), chinese);
}

void TestFetchWeather::updateDue_data()
{
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("due");
    QTest::newRow("just written") << 0 << false;
    QTest::newRow("a second short") << 3 * 3600 - 1 << false;
    QTest::newRow("exactly the interval") << 3 * 3600 << true;
    QTest::newRow("from the future") << -600 << true;
}

void TestFetchWeather::updateDue()
{
    QFETCH(int, ageSeconds);
    QFETCH(bool, due);
    const QDateTime now = QDateTime::currentDateTime();
    QCOMPARE(Weather::updateDue(now.addSecs(-ageSeconds), now, 180), due);
    QVERIFY(Weather::updateDue(QDateTime(), now, 180));
}

void TestFetchWeather::citiesHaveBothNames()
{
    QVERIFY(Weather::cityCount() >= 60);
    for (int i = 0; i < Weather::cityCount(); ++i) {
        const Weather::City &c = Weather::city(i);
        QVERIFY(qstrlen(c.english) > 0 && qstrlen(c.chinese) > 0);
        QVERIFY(qAbs(c.latitude) <= 90 && qAbs(c.longitude) <= 180 && (c.latitude != 0 || c.longitude != 0));
        QCOMPARE(Weather::findCity(Weather::cityName(c, Weather::Lang::Chinese)), i);
        QCOMPARE(Weather::findCity(Weather::cityName(c, Weather::Lang::English)), i);
    }
}

QUILLORA_TEST_MAIN(TestFetchWeather)
#include "tst_fetchweather.moc"
