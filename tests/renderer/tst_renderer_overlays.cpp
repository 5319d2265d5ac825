// Notices, festivals, countdown, note and weather, read from notify.db and the weather file.

#include "countdown.h"
#include "renderfixture.h"

using namespace RenderFixture;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QByteArray kAllOn = "CustomNotify = true\nCustomFestival = true\nFestivalNotify = true\n";

void saveSolid(const QString &relative, QSize size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(TestEnv::path(relative)));
}

// A weather file of `count` lines in the documented layout; `lines` replaces single lines.
QByteArray weatherFile(int count, const QMap<int, QByteArray> &lines = {})
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        QByteArray line = "-";
        if (i == 1)
            line = "北京";
        for (int d = 1; d <= 5; ++d) {
            const QByteArray n = QByteArray::number(d);
            if (i == 5 * d + 1) line = "12/0" + n + " sky" + n + " extra";
            if (i == 5 * d + 2) line = "2" + n + "/1" + n;
            if (i == 5 * d + 3) line = "wind" + n;
            if (i == 5 * d + 4) line = "sunny.gif";
        }
        out += lines.value(i, line) + "\n";
    }
    return out;
}

} // namespace

class TestRendererOverlays : public QObject
{
    Q_OBJECT
private slots:
    void notify_data();
    void notify();
    void notifyBackgroundWithoutText();
    void countdownWording_data();
    void countdownWording();
    void countdownSystemLanguage_data();
    void countdownSystemLanguage();
    void note_data();
    void note();
    void weatherText_data();
    void weatherText();
    void weatherIcon_data();
    void weatherIcon();
};

void TestRendererOverlays::notify_data()
{
    QTest::addColumn<QByteArray>("switches");
    QTest::addColumn<QByteArray>("db");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("text");

    const QDate day(2026, 3, 10);
    const QByteArray fallback = "[CustomFestival]\n02/31 = Quiet day\n";
    QTest::newRow("countdown alone, switches off")
        << QByteArray() << QByteArray("[CustomNotify]\n1901/01/02 = 2026|03|20|Trip\n") << day << "10 days away from Trip";
    QTest::newRow("countdown on the day") << QByteArray() << QByteArray("[CustomNotify]\n1901/01/02 = 2026|3|10|Trip\n") << day
                                          << "0 days away from Trip";
    QTest::newRow("countdown passed") << QByteArray() << QByteArray("[CustomNotify]\n1901/01/02 = 2026|03|07|Trip\n") << day
                                      << "3 days since Trip";
    QTest::newRow("countdown, empty fields dropped")
        << QByteArray() << QByteArray("[CustomNotify]\n1901/01/02 = |2027||03|10|Trip|\n") << day << "365 days away from Trip";
    QTest::newRow("switches off ignore today's entries")
        << QByteArray() << QByteArray("[CustomNotify]\n2026/03/10 = Mine\n[CustomFestival]\n03/10 = Fest\n02/31 = Quiet\n") << day << "";
    QTest::newRow("switch on, nothing today: fallback") << QByteArray("CustomFestival = true\n") << fallback << day << "Quiet day";
    QTest::newRow("every source in order, then the countdown")
        << kAllOn
        << QByteArray("[CustomNotify]\n2008/02/07 = Notice\n1901/01/02 = 2008|02|17|Exam\n[CustomFestival]\n02/07 = Mine\n02/31 = Quiet\n"
                      "[FestivalNotify]\n02/07 = Greg\n01$01 = 春节\n")
        << QDate(2008, 2, 7) << "Notice\nMine\nGreg\n春节\n10 days away from Exam";
    QTest::newRow("leap month has its own key")
        << QByteArray("FestivalNotify = true\n") << QByteArray("[FestivalNotify]\n04$01 = Ordinary\n-4$01 = Leap\n")
        << QDate(2020, 5, 23) << "Leap";
    const QByteArray userOn("CustomFestival = true\n"), builtinOn("FestivalNotify = true\n");
    const QByteArray lunarBirthdays = "[CustomFestival]\n02/31 = Quiet\n-4$01 = Leap day\n04$01 = Fourth\n08$30 = Thirtieth\n";
    QTest::newRow("user lunar festival after the user's Gregorian one")
        << userOn << QByteArray("[CustomFestival]\n01$01 = Birthday\n02/07 = Mine\n") << QDate(2008, 2, 7) << "Mine\nBirthday";
    QTest::newRow("user leap-month festival in the leap month") << userOn << lunarBirthdays << QDate(2020, 5, 23) << "Leap day";
    // Every form the festival list shows as a lunar date is drawn on that date, in file order.
    QTest::newRow("lunar keys in hand-written forms")
        << userOn << QByteArray("[CustomFestival]\n8$15 = A\n+08$15 = B\n 08 $ 15 = C\n08$5 = Fifth\n08$16 = No\n")
        << QDate(2026, 9, 25) << "A\nB\nC";
    QTest::newRow("leap month with a padded month") << builtinOn << QByteArray("[FestivalNotify]\n-04$01 = Leap\n")
                                                    << QDate(2020, 5, 23) << "Leap";
    QTest::newRow("user festival of the ordinary month") << userOn << lunarBirthdays << QDate(2020, 4, 23) << "Fourth";
    // Lunar 2026: the eighth month has 29 days, so 08$30 never comes that year.
    QTest::newRow("29th of a 29-day month") << userOn << lunarBirthdays << QDate(2026, 10, 9) << "Quiet";
    QTest::newRow("day after a 29-day month") << userOn << lunarBirthdays << QDate(2026, 10, 10) << "Quiet";
    const QByteArray calendarDb = "[FestivalNotify]\n02/04 = Greg\n12$28 = Lunar\nT$03 = 立春\nT$24 = 冬至\n12$29 = Twenty-ninth\n"
                                  "12$30 = Thirtieth\n12$LAST = 除夕\n[CustomFestival]\n02/31 = Quiet\n";
    QTest::newRow("solar term after the festivals of the day") << builtinOn << calendarDb << QDate(2027, 2, 4) << "Greg\nLunar\n立春";
    QTest::newRow("New Year's Eve on the 29th") << builtinOn << calendarDb << QDate(2027, 2, 5) << "Twenty-ninth\n除夕";
    QTest::newRow("New Year's Eve on the 30th") << builtinOn << calendarDb << QDate(2021, 2, 11) << "Thirtieth\n除夕";
    QTest::newRow("29th of a 30-day twelfth month") << builtinOn << calendarDb << QDate(2021, 2, 10) << "Twenty-ninth";
    QTest::newRow("solar term before the table") << builtinOn << calendarDb << QDate(1920, 12, 22) << "Quiet";
    QTest::newRow("solar terms need their switch") << userOn << calendarDb << QDate(2026, 12, 22) << "Quiet";
    QTest::newRow("outside the lunar table: no lunar key")
        << QByteArray("FestivalNotify = true\n") << QByteArray("[FestivalNotify]\n00$00 = Bogus\n06/01 = Children\n")
        << QDate(1920, 6, 1) << "Children";
    QTest::newRow("countdown of three fields: no line")
        << QByteArray("CustomNotify = true\n") << "[CustomNotify]\n1901/01/02 = 2026|03|20\n" + fallback << day << "Quiet day";
    QTest::newRow("countdown to an impossible date: no line")
        << QByteArray() << QByteArray("[CustomNotify]\n1901/01/02 = 2026|02|30|Trip\n") << day << "";
}

void TestRendererOverlays::notify()
{
    QFETCH(QByteArray, switches);
    QFETCH(QByteArray, db);
    QFETCH(QDate, today);
    QFETCH(QString, text);
    setUp(textItem("Notify", 10, 8, 40, kRed), switches);
    TestEnv::writeFile(QStringLiteral("notify.db"), db);
    QCOMPARE(render(QDateTime(today, QTime(10, 0))), expectedText(text, 10, 8, 40, kRed));
}

void TestRendererOverlays::notifyBackgroundWithoutText()
{
    // Enabled with nothing to say: the background picture alone.
    setUp(textItem("Notify", 10, 8, 40, kRed, "BGImage = bg.png\nBGImage_X = 3\nBGImage_Y = 4\n"));
    saveSolid(QStringLiteral("theme/images/bg.png"), QSize(6, 5), kGreen);
    const QImage image = render(QDateTime(QDate(2026, 3, 10), QTime(10, 0)));
    QCOMPARE(boundsOfColour(image, kGreen), QRect(3, 4, 6, 5));
    QVERIFY(boundsOfColour(image, kRed).isNull());
}

// The countdown line in the words of the language file settings.ini names; the shipped files
// are those of the program directory.
void TestRendererOverlays::countdownWording_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QString>("text");

    const QString zh = QString::fromUtf8("简体中文.lng");
    QTest::newRow("English, ahead") << "English.lng" << QByteArray("2026|03|20|Trip") << "10 days away from Trip";
    QTest::newRow("English, today") << "English.lng" << QByteArray("2026|03|10|Trip") << "Trip is today";
    QTest::newRow("English, past") << "English.lng" << QByteArray("2026|03|07|Trip") << "3 days since Trip";
    QTest::newRow("Chinese, ahead") << zh << QByteArray("2026|03|20|春节") << "距离春节还有10天";
    QTest::newRow("Chinese, today") << zh << QByteArray("2026|03|10|春节") << "今天是春节";
    QTest::newRow("Chinese, past") << zh << QByteArray("2026|03|07|春节") << "春节已过去3天";
    QTest::newRow("English, tomorrow") << "English.lng" << QByteArray("2026|03|11|Trip") << "Trip is tomorrow";
    QTest::newRow("Chinese, yesterday") << zh << QByteArray("2026|03|09|春节") << "春节是昨天";
    QTest::newRow("one day, no word for it") << "Old2.lng" << QByteArray("2026|03|11|Trip") << "1 days to Trip";
    QTest::newRow("markers in the text stay") << "English.lng" << QByteArray("2026|03|20|%2 %1") << "10 days away from %2 %1";
    QTest::newRow("no language file named") << QString() << QByteArray("2026|03|07|Trip") << "3 days since Trip";
    QTest::newRow("language file missing") << "Gone.lng" << QByteArray("2026|03|07|Trip") << "3 days since Trip";
    QTest::newRow("language file without the texts") << "Old.lng" << QByteArray("2026|03|07|Trip") << "3 days since Trip";
    QTest::newRow("name leaving the language folder") << "../../notify.lng" << QByteArray("2026|03|07|Trip")
                                                       << "3 days since Trip";
}

void TestRendererOverlays::countdownWording()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, target);
    QFETCH(QString, text);
    setUp(textItem("Notify", 10, 8, 40, kRed), "Language = " + language.toUtf8() + "\n");
    TestEnv::writeFile(QStringLiteral("resource/language/Old.lng"), "[Quillora]\nOK = OK\n");
    TestEnv::writeFile(QStringLiteral("resource/language/Old2.lng"), "[Quillora]\nCountdownAhead = %1 days to %2\n");
    TestEnv::writeFile(QStringLiteral("notify.lng"), "[Quillora]\nCountdownPast = Leaked %1\n");
    TestEnv::writeFile(QStringLiteral("notify.db"), "[CustomNotify]\n1901/01/02 = " + target + "\n");
    QCOMPARE(render(QDateTime(QDate(2026, 3, 10), QTime(10, 0))), expectedText(text, 10, 8, 40, kRed));
}

// A settings.ini that names no language: the desktop speaks the system's language, as the
// settings program does on its first run.
void TestRendererOverlays::countdownSystemLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QLocale>("system");
    QTest::addColumn<QString>("text");
    const QLocale zh(QLocale::Chinese, QLocale::China);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::newRow("Chinese system, no name") << QString() << zh << "春节已过去3天";
    QTest::newRow("other system, no name") << QString() << de << "3 days since 春节";
    QTest::newRow("a named file wins") << "English.lng" << zh << "3 days since 春节";
}

void TestRendererOverlays::countdownSystemLanguage()
{
    QFETCH(QString, language);
    QFETCH(QLocale, system);
    QFETCH(QString, text);
    const CountdownWording wording = CountdownWording::fromLanguageFile(TestEnv::dir(), language, system);
    QCOMPARE(countdownText(-3, QString::fromUtf8("春节"), wording), text);
}

void TestRendererOverlays::note_data()
{
    QTest::addColumn<QByteArray>("note");
    QTest::addColumn<QString>("text");
    QTest::newRow("three lines") << QByteArray("a|b|c") << "a\nb\nc";
    QTest::newRow("Chinese") << QByteArray("买牛奶|回电话") << "买牛奶\n回电话";
    QTest::newRow("empty note draws nothing") << QByteArray() << "";
}

void TestRendererOverlays::note()
{
    QFETCH(QByteArray, note);
    QFETCH(QString, text);
    setUp(textItem("Note", 12, 20, 60, kRed, "BGImage = bg.png\nBGImage_X = 200\nBGImage_Y = 300\n"));
    saveSolid(QStringLiteral("theme/images/bg.png"), QSize(6, 5), kGreen);
    TestEnv::writeFile(QStringLiteral("notify.db"), "[CustomNotify]\n1901/01/01 = " + note + "\n");
    const QImage image = render(QDateTime(QDate(2026, 3, 10), QTime(10, 0)));
    // The background picture goes with the text; compare the rest with the text alone.
    QCOMPARE(boundsOfColour(image, kGreen).isNull(), note.isEmpty());
    QImage expected = expectedText(text, 12, 20, 60, kRed);
    if (!note.isEmpty())
        for (int y = 300; y < 305; ++y)
            for (int x = 200; x < 206; ++x)
                expected.setPixel(x, y, kGreen.rgb());
    QCOMPARE(image, expected);
}

void TestRendererOverlays::weatherText_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");

    const QByteArray full = weatherFile(32);
    QTest::newRow("city of day 3") << QByteArray("Weather3_City") << QByteArray() << full << "北京";
    QTest::newRow("date of day 2") << QByteArray("Weather2_Date") << QByteArray() << full << "12/02";
    QTest::newRow("description, two blanks") << QByteArray("Weather4_Description") << QByteArray("TextFormat = [%s]\n")
                                             << weatherFile(32, {{21, "12/04  多云"}}) << "[多云]";
    QTest::newRow("temperatures") << QByteArray("Weather1_Temperature") << QByteArray() << weatherFile(32, {{7, "25/18"}})
                                  << "25℃-18℃";
    QTest::newRow("temperatures cut toward zero") << QByteArray("Weather1_Temperature") << QByteArray()
                                                  << weatherFile(32, {{7, "25.7/-3.2"}}) << "25℃--3℃";
    QTest::newRow("wind of day 5") << QByteArray("Weather5_Wind") << QByteArray("TextFormat = 风: %s\n") << full << "风: wind5";
    QTest::newRow("31 lines: nothing") << QByteArray("Weather1_City") << QByteArray() << weatherFile(31) << "";
    QTest::newRow("short date line") << QByteArray("Weather1_Description") << QByteArray("TextFormat = <%s>\n")
                                     << weatherFile(32, {{6, "12/01"}}) << "<>";
    QTest::newRow("one temperature") << QByteArray("Weather1_Temperature") << QByteArray() << weatherFile(32, {{7, "7"}}) << "7℃-℃";
    QTest::newRow("text for a number") << QByteArray("Weather1_Temperature") << QByteArray() << weatherFile(32, {{7, "warm/cold"}})
                                       << "0℃-0℃";
    // Today is 2026-03-10: a forecast of the 8th to the 12th starts with today in the first place.
    const QMap<int, QByteArray> fromThe8th{{0, "2026-03-08 07:30"}, {6, "03/08 a"}, {11, "03/09 b"},
                                           {16, "03/10 c"}, {21, "03/11 d"}, {26, "03/12 e"}};
    QTest::newRow("past days left out") << QByteArray("Weather1_Date") << QByteArray() << weatherFile(32, fromThe8th) << "03/10";
    QTest::newRow("no day for the last places") << QByteArray("Weather4_Date") << QByteArray() << weatherFile(32, fromThe8th) << "";
    QTest::newRow("stale file: nothing") << QByteArray("Weather1_City") << QByteArray()
                                         << weatherFile(32, {{0, "2025-12-01 07:30"}}) << "";
    const QByteArray beijing = "[Weather]\nLatitude = 39.9042\nLongitude = 116.4074\n";
    QTest::newRow("the chosen place") << QByteArray("Weather1_City") << beijing << weatherFile(32, {{30, "39.9042,116.4074"}}) << "北京";
    QTest::newRow("another place: nothing") << QByteArray("Weather1_City") << beijing
                                            << weatherFile(32, {{30, "31.2304,121.4737"}}) << "";
}

void TestRendererOverlays::weatherText()
{
    QFETCH(QByteArray, group);
    QFETCH(QByteArray, extra);
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    // A "[Weather]" group in `extra` goes to settings.ini, the rest to the item.
    const qsizetype place = extra.indexOf("[Weather]");
    setUp(textItem(group, 12, 10, 30, kRed, place < 0 ? extra : extra.left(place)),
          "WeatherShow = true\n" + (place < 0 ? QByteArray() : extra.mid(place)));
    TestEnv::writeFile(QStringLiteral("device/ezxlocal/.weather"), file);
    const QDateTime at(QDate(2026, 3, 10), QTime(10, 0));
    QCOMPARE(render(at), expectedText(text, 12, 10, 30, kRed));

    // Switched off in the settings, no weather item is drawn.
    TestEnv::writeFile(QStringLiteral("settings.ini"), "[Quillora]\nCurrentTheme = t.theme\nWeatherShow = false\n");
    QCOMPARE(render(at), expectedText(QString(), 12, 10, 30, kRed));
}

void TestRendererOverlays::weatherIcon_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QByteArray>("iconLine");
    QTest::addColumn<QRect>("icon");

    const QByteArray at = "BGImage_X = 100\nBGImage_Y = 110\n";
    QTest::newRow("gif names the png") << "BGImage = on\n" + at << QByteArray("rain.gif") << QRect(100, 110, 12, 12);
    QTest::newRow("name without a dot") << "BGImage = on\n" + at << QByteArray("rain") << QRect(100, 110, 12, 12);
    QTest::newRow("scaled") << "BGImage = on\nBGImage_W = 20\nBGImage_H = 30\n" + at << QByteArray("rain.x.y")
                            << QRect(100, 110, 20, 30);
    QTest::newRow("theme's picture never drawn") << "BGImage = bg.png\n" + at << QByteArray("none.gif") << QRect();
    QTest::newRow("empty BGImage: no icon") << at << QByteArray("rain.gif") << QRect();
}

void TestRendererOverlays::weatherIcon()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArray, iconLine);
    QFETCH(QRect, icon);
    setUp(textItem("Weather2_Description", 12, 10, 30, kRed, keys), "WeatherShow = true\n");
    saveSolid(QStringLiteral("resource/WeatherIcons/rain.png"), QSize(12, 12), kGreen);
    saveSolid(QStringLiteral("theme/images/bg.png"), QSize(12, 12), kGreen);
    TestEnv::writeFile(QStringLiteral("device/ezxlocal/.weather"), weatherFile(32, {{14, iconLine}}));
    const QImage image = render(QDateTime(QDate(2026, 3, 10), QTime(10, 0)));
    QCOMPARE(boundsOfColour(image, kGreen), icon);
    QVERIFY(!boundsOfColour(image, kRed).isNull());
}

QUILLORA_TEST_MAIN(TestRendererOverlays)
#include "tst_renderer_overlays.moc"
