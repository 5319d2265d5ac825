// The forecast controls of the weather tab, worked with the phone's keys through the real main
// window: choosing a city, any coordinates, no forecast, the interval and "Update now".
#include "forecastserver.h"
#include "guifixture.h"
#include "processcontrol.h"
#include "stubs.h"
#include "testenv.h"
#include "zcombobox.h"
#include "zconfig.h"
#include "zkeys.h"
#include "zlabel.h"
#include "zlineedit.h"
#include "zpressbutton.h"

#include <QAbstractItemView>
#include <QScrollArea>

using namespace GuiFixture;

namespace {

QString weather(const char *key)
{
    return ZConfig(TestEnv::path(QStringLiteral("settings.ini")))
        .readEntry(QStringLiteral("Weather"), QLatin1String(key), QStringLiteral("<none>"));
}

QStringList autorun()
{
    return QString::fromUtf8(TestEnv::readFile(QStringLiteral("device/ezxlocal/autorun.txt")))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

const QByteArray kOldFile = "2026-12-01 08:00\nold forecast\n";

} // namespace

class TestWeatherTab : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void buildingShowsTheStoredPlace_data();
    void buildingShowsTheStoredPlace();
    void choosingACityByKeys_data();
    void choosingACityByKeys();
    void noForecastStopsTheUpdater();
    void typedCoordinates_data();
    void typedCoordinates();
    void intervalIsStored();
    void unstoredChoiceIsTold_data();
    void unstoredChoiceIsTold();
    void updateNow_data();
    void updateNow();
    void focusTopToBottom();

private:
    ZGui *open(const QByteArray &quillora, const QByteArray &weather);
    // Focuses a control of the weather tab and opens, moves through and closes a selector's
    // list with the phone's keys.
    void pick(ZComboBox *combo, int index);

    ForecastServer m_server;
    DialogScript *m_script = nullptr;
    ZGui *m_gui = nullptr;
};

void TestWeatherTab::initTestCase()
{
    QVERIFY(m_server.listen(QHostAddress::LocalHost));
}

void TestWeatherTab::cleanup()
{
    delete m_gui;
    m_gui = nullptr;
    delete m_script;
    m_script = nullptr;
    ProcessControl::run(ProcessControl(TestEnv::dir()).stopCommand(QStringLiteral("fetchweather")));
    Stubs::stopAll();
}

ZGui *TestWeatherTab::open(const QByteArray &quillora, const QByteArray &weather)
{
    prepare(quillora);
    Stubs::install(TestEnv::dir(), QStringLiteral("fetchweather"));
    TestEnv::writeFile(QStringLiteral("settings.ini"), TestEnv::readFile(QStringLiteral("settings.ini"))
                                                           + "[Weather]\nUrl = " + m_server.urlTemplate().toUtf8()
                                                           + "\n" + weather);
    TestEnv::writeFile(QStringLiteral("device/ezxlocal/.weather"), kOldFile);
    m_script = new DialogScript;
    m_gui = new ZGui(nullptr);
    m_gui->show();
    m_gui->activateWindow();
    // Leaving a field (focus out) stores it, as in the user's active window.
    if (!QTest::qWaitForWindowActive(m_gui))
        qWarning("the main window did not become active");
    flushDeletes();
    clickTab(m_gui, ZGui::TabWeather);
    m_script->clear();
    return m_gui;
}

void TestWeatherTab::pick(ZComboBox *combo, int index)
{
    QVERIFY(combo);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Return); // Select opens the list
    QAbstractItemView *view = combo->view();
    QVERIFY(view->isVisible());
    const int steps = index - combo->currentIndex();
    for (int i = 0; i < qAbs(steps); ++i)
        QTest::keyClick(view, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
}

void TestWeatherTab::buildingShowsTheStoredPlace_data()
{
    QTest::addColumn<QByteArray>("weather");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("interval");
    QTest::newRow("nothing stored") << QByteArray() << "No forecast" << "" << "" << "3 h";
    QTest::newRow("a listed city") << QByteArray("City = Shanghai\nLatitude = 31.2304\nLongitude = 121.4737\nInterval = 60\n")
                                   << "Shanghai" << "Shanghai" << "31.2304" << "1 h";
    QTest::newRow("a listed name elsewhere")
        << QByteArray("City = Shanghai\nLatitude = 10\nLongitude = 10\nInterval = 45\n") << "Other place" << "Shanghai"
        << "10.0000" << "30 minutes";
}

void TestWeatherTab::buildingShowsTheStoredPlace()
{
    QFETCH(QByteArray, weather);
    QFETCH(QString, city);
    QFETCH(QString, name);
    QFETCH(QString, latitude);
    QFETCH(QString, interval);
    ZGui *gui = open("", weather);
    const QByteArray stored = TestEnv::readFile(QStringLiteral("settings.ini"));
    QCOMPARE(child<ZComboBox>(gui, "weatherCity")->currentText(), city);
    QCOMPARE(child<ZLineEdit>(gui, "weatherName")->text(), name);
    QCOMPARE(child<ZLineEdit>(gui, "weatherLatitude")->text(), latitude);
    QCOMPARE(child<ZComboBox>(gui, "weatherInterval")->currentText(), interval);
    QCOMPARE(child<ZLabel>(gui, "weatherLastUpdate")->text(), QStringLiteral("Last update: 2026-12-01 08:00"));
    QCOMPARE(TestEnv::readFile(QStringLiteral("settings.ini")), stored); // building writes nothing
    QVERIFY(Stubs::log(TestEnv::dir()).isEmpty());
}

void TestWeatherTab::choosingACityByKeys_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("longitude");
    QTest::newRow("English, Shanghai") << QByteArray("English.lng") << 2 << "Shanghai" << "31.2304" << "121.4737";
    QTest::newRow("Chinese, 广州") << QByteArray("简体中文.lng") << 20 << QString::fromUtf8("广州") << "23.1291"
                                  << "113.2644";
    QTest::newRow("English, Sydney") << QByteArray("English.lng") << 67 << "Sydney" << "-33.8688" << "151.2093";
    // Without settings.ini the choice writes the whole file: the shipped defaults and the place.
    QTest::newRow("no settings file, Shanghai") << QByteArray() << 2 << "Shanghai" << "31.2304" << "121.4737";
}

void TestWeatherTab::choosingACityByKeys()
{
    QFETCH(QByteArray, language);
    QFETCH(int, entry);
    QFETCH(QString, city);
    QFETCH(QString, latitude);
    QFETCH(QString, longitude);
    ZGui *gui = open(language.isEmpty() ? QByteArray() : "Language = " + language + "\n", QByteArray());
    TestEnv::writeFile(QStringLiteral("device/ezxlocal/autorun.txt"), "a\nold fetchweather line &\nb\n");
    if (language.isEmpty())
        TestEnv::removeFile(QStringLiteral("settings.ini"));
    pick(child<ZComboBox>(gui, "weatherCity"), entry);
    if (language.isEmpty())
        QVERIFY(TestEnv::readFile(QStringLiteral("settings.ini")).startsWith(TestEnv::readFile(QStringLiteral("resource/defaults.ini"))));

    QCOMPARE(weather("City"), city);
    QCOMPARE(weather("Latitude"), latitude);
    QCOMPARE(weather("Longitude"), longitude);
    QCOMPARE(child<ZLineEdit>(gui, "weatherName")->text(), city);
    QCOMPARE(child<ZLineEdit>(gui, "weatherLongitude")->text(), longitude);
    QCOMPARE(autorun(), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QLatin1Char('\'') + TestEnv::dir() + QStringLiteral("fetchweather.lin' &")}));
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started fetchweather --background")));
}

void TestWeatherTab::noForecastStopsTheUpdater()
{
    ZGui *gui = open("", "City = Beijing\nLatitude = 39.9042\nLongitude = 116.4074\n");
    pick(child<ZComboBox>(gui, "weatherCity"), 3);
    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started fetchweather --background")));
    pick(child<ZComboBox>(gui, "weatherCity"), 0);

    QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("stopped fetchweather")));
    for (const char *key : {"City", "Latitude", "Longitude"})
        QCOMPARE(weather(key), QStringLiteral("<none>"));
    QCOMPARE(weather("Url"), m_server.urlTemplate()); // the rest of the group stays
    QVERIFY(!autorun().join(QLatin1Char('\n')).contains(QLatin1String("fetchweather")));
    QCOMPARE(child<ZLineEdit>(gui, "weatherLatitude")->text(), QString());
}

void TestWeatherTab::typedCoordinates_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("longitude");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QStringList>("told");
    const QStringList range{QStringLiteral("A latitude lies between -90 and 90, a longitude between -180 and 180.")};
    QTest::newRow("any place") << "Home" << "47.5" << "-122.25" << true << "Other place" << QStringList();
    QTest::newRow("a listed city's coordinates") << "Lhasa" << "29.652" << "91.1721" << true << "Lhasa" << QStringList();
    QTest::newRow("latitude out of range") << "Pole" << "95" << "10" << false << "No forecast" << range;
    QTest::newRow("longitude out of range") << "Date line" << "10" << "-181" << false << "No forecast" << range;
    QTest::newRow("longitude missing") << "Nowhere" << "10" << "" << false << "No forecast" << QStringList();
}

void TestWeatherTab::typedCoordinates()
{
    QFETCH(QString, name);
    QFETCH(QString, latitude);
    QFETCH(QString, longitude);
    QFETCH(bool, stored);
    QFETCH(QString, city);
    QFETCH(QStringList, told);
    ZGui *gui = open("", QByteArray());
    ZComboBox *cities = child<ZComboBox>(gui, "weatherCity");
    pick(cities, cities->count() - 1); // "Other place" moves the focus to the name
    QCOMPARE(gui->focusWidget(), child<ZLineEdit>(gui, "weatherName"));
    // Each field is typed and left with the down key for the next one.
    for (const QString &typed : {name, latitude, longitude}) {
        QWidget *field = gui->focusWidget();
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Down);
    }
    // A notice follows the move out of a field at once.
    QCoreApplication::processEvents();
    QCOMPARE(m_script->shownTexts(), told);

    QCOMPARE(weather("City"), stored ? name : QStringLiteral("<none>"));
    QCOMPARE(weather("Latitude").toDouble(), stored ? latitude.toDouble() : 0.0);
    if (stored)
        QCOMPARE(cities->currentText(), city);
    if (stored)
        QVERIFY(Stubs::waitFor(TestEnv::dir(), QStringLiteral("started fetchweather --background")));
    else
        QVERIFY(Stubs::log(TestEnv::dir()).isEmpty());
}

void TestWeatherTab::intervalIsStored()
{
    ZGui *gui = open("", QByteArray());
    pick(child<ZComboBox>(gui, "weatherInterval"), 1);
    QCOMPARE(weather("Interval"), QStringLiteral("60"));
    pick(child<ZComboBox>(gui, "weatherInterval"), 0);
    QCOMPARE(weather("Interval"), QStringLiteral("30"));
}

void TestWeatherTab::unstoredChoiceIsTold_data()
{
    QTest::addColumn<QString>("selector");
    QTest::newRow("a city") << "weatherCity";
    QTest::newRow("the interval") << "weatherInterval";
}

// A folder has taken the place of settings.ini: the choice is not kept, a notice says so, the
// selector shows what is stored and the updater is left alone.
void TestWeatherTab::unstoredChoiceIsTold()
{
    QFETCH(QString, selector);
    ZGui *gui = open("", QByteArray());
    ZComboBox *combo = child<ZComboBox>(gui, selector.toLatin1().constData());
    const int before = combo->currentIndex();
    QFile::remove(TestEnv::path(QStringLiteral("settings.ini")));
    QVERIFY(QDir().mkpath(TestEnv::path(QStringLiteral("settings.ini/inside"))));
    pick(combo, before == 1 ? 2 : 1);
    QVERIFY(QDir(TestEnv::path(QStringLiteral("settings.ini"))).removeRecursively());

    QCOMPARE(m_script->shownTexts(), QStringList{QStringLiteral("The settings could not be saved.")});
    QCOMPARE(combo->currentIndex(), before);
    QVERIFY(!Stubs::log(TestEnv::dir()).contains(QStringLiteral("started fetchweather")));
}

void TestWeatherTab::updateNow_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QByteArray>("place");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason"); // language key of the failure; empty for success
    QTest::addColumn<QString>("detail");  // the updater's own line under the reason
    const QByteArray beijing = "City = Beijing\nLatitude = 39.9042\nLongitude = 116.4074\n";
    const QString http500 = QStringLiteral("fetchweather: the server answered HTTP 500 Whatever");
    for (const QByteArray &language : {QByteArray("English.lng"), QByteArray("简体中文.lng")}) {
        QTest::addRow("%s, answered", language.constData()) << language << beijing << 200 << QString() << QString();
        QTest::addRow("%s, HTTP error", language.constData())
            << language << beijing << 500 << "WeatherFetchFailedText" << http500;
    }
    QTest::newRow("no place: nothing runs") << QByteArray("English.lng") << QByteArray() << 200
                                            << "WeatherNoPlaceText" << QString();
}

void TestWeatherTab::updateNow()
{
    QFETCH(QByteArray, language);
    QFETCH(QByteArray, place);
    QFETCH(int, status);
    QFETCH(QString, reason);
    QFETCH(QString, detail);
    QFile fixture(QStringLiteral(FORECAST_FIXTURE));
    QVERIFY(fixture.open(QIODevice::ReadOnly));
    m_server.answer(status, fixture.readAll());
    ZGui *gui = open("Refresh = false\nLanguage = " + language + "\n", place);
    TestEnv::installProgram(QStringLiteral("fetchweather"));
    ZPressButton *button = child<ZPressButton>(gui, "weatherUpdateNow");
    button->setFocus();
    // The window waits for the fetch in a nested event loop, in which the server answers.
    QTest::keyClick(button, Qt::Key_Return);

    const ZConfig lng(TestEnv::path(QStringLiteral("resource/language/") + QString::fromUtf8(language)));
    auto text = [&](const QString &key) { return lng.readEntry(QStringLiteral("Quillora"), key, QString()); };
    // The reason in the interface language; the updater's line, in its own words, only below.
    QString notice = reason.isEmpty() ? text(QStringLiteral("WeatherUpdated"))
                                      : text(QStringLiteral("WeatherUpdateFailed")) + QLatin1Char('\n') + text(reason);
    if (!detail.isEmpty())
        notice += QStringLiteral("\n\n") + text(QStringLiteral("WeatherDetail")).arg(detail);
    QVERIFY(!text(reason.isEmpty() ? QStringLiteral("WeatherUpdated") : reason).isEmpty());
    QCOMPARE(m_script->shownTexts(), QStringList{notice});
    const QByteArray file = TestEnv::readFile(QStringLiteral("device/ezxlocal/.weather"));
    QCOMPARE(file != kOldFile, reason.isEmpty());
    const QString label = child<ZLabel>(gui, "weatherLastUpdate")->text();
    QCOMPARE(label, text(QStringLiteral("WeatherLastUpdate")).arg(QString::fromUtf8(file.left(file.indexOf('\n')))));
}

// Down walks the tab's controls top to bottom; at the last one the line under it, the time of
// the last update, is in view whole.
void TestWeatherTab::focusTopToBottom()
{
    ZGui *gui = open("", "City = Beijing\nLatitude = 39.9042\nLongitude = 116.4074\n");
    child<QWidget>(gui, "weatherBox")->setFocus();
    QStringList order;
    for (int i = 0; i < 8; ++i) {
        order << QApplication::focusWidget()->objectName();
        phoneKey(QApplication::focusWidget(), ZKey::Down);
    }
    QCOMPARE(order, QStringList({QStringLiteral("weatherBox"), QStringLiteral("weatherDay"), QStringLiteral("weatherCity"),
                                 QStringLiteral("weatherName"), QStringLiteral("weatherLatitude"),
                                 QStringLiteral("weatherLongitude"), QStringLiteral("weatherInterval"), QStringLiteral("weatherUpdateNow")}));
    child<QWidget>(gui, "weatherUpdateNow")->setFocus();
    auto *page = child<QScrollArea>(gui, "weatherPage");
    QWidget *line = child<QWidget>(gui, "weatherLastUpdate");
    const QRect shown(line->mapTo(page->viewport(), QPoint(0, 0)), line->size());
    QVERIFY2(page->viewport()->rect().contains(shown),
             qPrintable(QStringLiteral("line at %1..%2 of %3").arg(shown.top()).arg(shown.bottom()).arg(page->viewport()->height())));
}

QUILLORA_TEST_MAIN(TestWeatherTab)
#include "tst_weathertab.moc"
