// Clock, date, lunar and calendar items, and the common item look (background picture,
// colour, shadow, rotation, text box).

#include "renderfixture.h"

#include <QFont>
#include <QFontMetrics>

using namespace RenderFixture;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kWhite(255, 255, 255);
const QDateTime kDay(QDate(2026, 3, 10), QTime(9, 5)); // a Tuesday

QRect nonWallpaper(const QImage &image)
{
    return boundsOf(image, [](const QColor &c) { return c != wallColour(); });
}

void saveSolid(const QString &relative, QSize size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(TestEnv::path(relative)));
}

} // namespace

class TestRendererItems : public QObject
{
    Q_OBJECT
private slots:
    void itemText_data();
    void itemText();
    void colours_data();
    void colours();
    void shadowAndRotation_data();
    void shadowAndRotation();
    void textBoxClipsWithoutWrapping();
    void backgroundPicture_data();
    void backgroundPicture();
    void calendarTodayCell_data();
    void calendarTodayCell();
    void calendarMonthLength_data();
    void calendarMonthLength();
    void calendarSameAs_data();
    void calendarSameAs();
    void calendarMarkerUnderShadow();
};

void TestRendererItems::itemText_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QString>("text");

    const QDate day = kDay.date();
    const QByteArray months12 = "MonthList = 一月,二月,三月,四月,五月,六月,七月,八月,九月,十月,十一月,十二月\n";
    const QByteArray months11 = "MonthList = a,b,c,d,e,f,g,h,i,j,k\n";
    const QByteArray months13 = "MonthList = a,b,c,d,e,f,g,h,i,j,k,l,m\n";

    QTest::newRow("time at five past nine") << QByteArray("SysTime") << QByteArray("Shadow = true\nRotateAngle = 90\nTextFormat = %d\n")
                                            << kDay << "09:05";
    QTest::newRow("time at midnight") << QByteArray("SysTime") << QByteArray() << QDateTime(day, QTime(0, 0)) << "00:00";
    QTest::newRow("time has no 12-hour form") << QByteArray("SysTime") << QByteArray() << QDateTime(day, QTime(21, 30)) << "21:30";
    QTest::newRow("hour with Chinese suffix") << QByteArray("Time_Hour") << QByteArray("TextFormat = %02d时\n")
                                              << QDateTime(day, QTime(7, 0)) << "07时";
    QTest::newRow("minute default") << QByteArray("Time_Minute") << QByteArray() << kDay << "05";
    QTest::newRow("year default") << QByteArray("Date_Year") << QByteArray() << kDay << "2026";
    QTest::newRow("day default") << QByteArray("Date_Day") << QByteArray() << QDateTime(QDate(2026, 3, 5), QTime(1, 0)) << "05";
    QTest::newRow("day without zero") << QByteArray("Date_Day") << QByteArray("TextFormat = %d\n")
                                      << QDateTime(QDate(2026, 3, 5), QTime(1, 0)) << "5";
    QTest::newRow("month of 12 names ignores format") << QByteArray("Date_Month") << months12 + "TextFormat = %04d\n" << kDay << "三月";
    QTest::newRow("month of 11 names is a number") << QByteArray("Date_Month") << months11 + "TextFormat = %d月\n" << kDay << "3月";
    QTest::newRow("month of 13 names is a number") << QByteArray("Date_Month") << months13 << kDay << "03";
    QTest::newRow("week on Sunday") << QByteArray("Week") << QByteArray("WeekList = A,B,C,D,E,F,G\n")
                                    << QDateTime(QDate(2026, 3, 15), QTime(8, 0)) << "G";
    QTest::newRow("week of 6 names falls back") << QByteArray("Week") << QByteArray("WeekList = A,B,C,D,E,F\nTextFormat = [%s]\n")
                                                << kDay << "[Tu]";
    QTest::newRow("lunar year, leap month") << QByteArray("Lunar_Year") << QByteArray() << QDateTime(QDate(2020, 5, 23), QTime(8, 0)) << "鼠(庚子)年";
    QTest::newRow("leap month name") << QByteArray("Lunar_Month") << QByteArray() << QDateTime(QDate(2020, 5, 23), QTime(8, 0)) << "闰四月";
    QTest::newRow("first lunar day") << QByteArray("Lunar_Day") << QByteArray() << QDateTime(QDate(2020, 5, 23), QTime(8, 0)) << "初一";
    QTest::newRow("month after a leap month") << QByteArray("Lunar_Month") << QByteArray() << QDateTime(QDate(2020, 6, 21), QTime(8, 0)) << "五月";
    QTest::newRow("lunar new year 2008") << QByteArray("Lunar_Year") << QByteArray() << QDateTime(QDate(2008, 2, 7), QTime(8, 0)) << "鼠(戊子)年";
    QTest::newRow("first month") << QByteArray("Lunar_Month") << QByteArray() << QDateTime(QDate(2008, 2, 7), QTime(8, 0)) << "正月";
    QTest::newRow("eleventh month") << QByteArray("Lunar_Month") << QByteArray() << QDateTime(QDate(2020, 12, 15), QTime(8, 0)) << "十一月";
    QTest::newRow("twelfth month") << QByteArray("Lunar_Month") << QByteArray("TextFormat = <%s>\n") << QDateTime(QDate(2021, 1, 13), QTime(8, 0)) << "<腊>";
    QTest::newRow("lunar day thirty") << QByteArray("Lunar_Day") << QByteArray() << QDateTime(QDate(2021, 2, 11), QTime(8, 0)) << "三十";
    // Outside the lunar table the lunar items draw nothing.
    QTest::newRow("before the table") << QByteArray("Lunar_Year") << QByteArray() << QDateTime(QDate(1921, 2, 7), QTime(8, 0)) << "";
    QTest::newRow("after the table") << QByteArray("Lunar_Day") << QByteArray() << QDateTime(QDate(2150, 6, 1), QTime(8, 0)) << "";
}

void TestRendererItems::itemText()
{
    QFETCH(QByteArray, group);
    QFETCH(QByteArray, extra);
    QFETCH(QDateTime, at);
    QFETCH(QString, text);
    setUp(textItem(group, 16, 12, 30, kRed, extra));
    QCOMPARE(render(at), expectedText(text, 16, 12, 30, kRed));
}

void TestRendererItems::colours_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QColor>("drawn");
    QTest::newRow("in range") << QByteArray("FontColor_R = 10\nFontColor_G = 200\nFontColor_B = 30\n") << QColor(10, 200, 30);
    QTest::newRow("clamped") << QByteArray("FontColor_R = 300\nFontColor_G = -5\nFontColor_B = 1000\n") << QColor(255, 0, 255);
    QTest::newRow("missing is black") << QByteArray() << QColor(0, 0, 0);
}

void TestRendererItems::colours()
{
    QFETCH(QByteArray, keys);
    QFETCH(QColor, drawn);
    setUp("[Date_Year]\nEnable = true\nFontSize = 16\nPosition_X = 5\nPosition_Y = 5\n" + keys);
    QCOMPARE(render(kDay), expectedText(QStringLiteral("2026"), 16, 5, 5, drawn));
}

void TestRendererItems::shadowAndRotation_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<QPoint>("shadowOffset"); // the shadow's one pixel right and down, on the screen
    QTest::newRow("upright") << 0 << QPoint(1, 1);
    QTest::newRow("turned 90") << 90 << QPoint(-1, 1);
    QTest::newRow("turned 180") << 180 << QPoint(-1, -1);
}

void TestRendererItems::shadowAndRotation()
{
    QFETCH(int, angle);
    QFETCH(QPoint, shadowOffset);
    const QPoint origin(120, 100);
    const QByteArray item = "RotateAngle = " + QByteArray::number(angle) + "\n";
    setUp(textItem("Date_Year", 24, origin.x(), origin.y(), kRed, item));
    const QRect text = nonWallpaper(render(kDay));
    QVERIFY(!text.isNull());

    // Where the text lies around its origin.
    if (angle == 0) {
        QVERIFY(text.left() >= origin.x() - 1 && text.top() >= origin.y() - 1 && text.width() > text.height());
    } else if (angle == 90) {
        // Runs downward from the origin, to its left.
        QVERIFY2(text.top() >= origin.y() - 1 && text.right() <= origin.x() + 1 && text.height() > text.width(),
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(text.x()).arg(text.y()).arg(text.width()).arg(text.height())));
    } else {
        QVERIFY(text.bottom() <= origin.y() + 1 && text.right() <= origin.x() + 1);
    }

    // The shadow is the same text moved by one pixel in the turned frame, drawn in grey.
    setUp(textItem("Date_Year", 24, origin.x(), origin.y(), kRed, item + "Shadow = true\n"));
    const QImage shadowed = render(kDay);
    const QRect both = nonWallpaper(shadowed);
    QCOMPARE(both, text.united(text.translated(shadowOffset)));
    const int row = shadowOffset.y() > 0 ? both.bottom() : both.top();
    int greyPixels = 0;
    for (int x = both.left(); x <= both.right(); ++x) {
        const QColor c(shadowed.pixel(x, row));
        if (c == wallColour())
            continue;
        QCOMPARE(c.red(), c.green()); // grey over the blue wallpaper, no red in it
        greyPixels += c.red() > 0;
    }
    QVERIFY(greyPixels > 0);
}

void TestRendererItems::textBoxClipsWithoutWrapping()
{
    // A box of 240 pixels from an origin at x -100 ends at x 140.
    setUp(textItem("Date_Year", 16, -100, 50, kRed, "TextFormat = %d wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww\n"));
    const QRect text = nonWallpaper(render(kDay));
    QVERIFY(!text.isNull());
    QVERIFY2(text.right() < 140, qPrintable(QString::number(text.right())));
    QFont font(QStringLiteral("AMCSL"));
    font.setPointSize(16);
    QVERIFY(text.height() <= QFontMetrics(font).height());
}

void TestRendererItems::backgroundPicture_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QRect>("picture");
    QTest::addColumn<bool>("textDrawn");

    QTest::newRow("placed and scaled") << QByteArray("BGImage = bg.png\nBGImage_X = 50\nBGImage_Y = 60\nBGImage_W = 30\nBGImage_H = 20\nFontSize = 10\n")
                                       << QRect(50, 60, 30, 20) << true;
    QTest::newRow("own size") << QByteArray("BGImage = bg.png\nBGImage_X = 50\nBGImage_Y = 60\nFontSize = 10\n")
                              << QRect(50, 60, 10, 10) << true;
    QTest::newRow("corner defaults to -1,-1") << QByteArray("BGImage = bg.png\n") << QRect(0, 0, 9, 9) << false;
    QTest::newRow("not turned with the text") << QByteArray("BGImage = bg.png\nBGImage_X = 50\nBGImage_Y = 60\nFontSize = 10\nRotateAngle = 90\n")
                                              << QRect(50, 60, 10, 10) << true;
    QTest::newRow("missing picture") << QByteArray("BGImage = nothere.png\nBGImage_X = 50\nBGImage_Y = 60\nFontSize = 10\n")
                                     << QRect() << true;
    QTest::newRow("no font size: picture only") << QByteArray("BGImage = bg.png\nBGImage_X = 5\nBGImage_Y = 6\n")
                                                << QRect(5, 6, 10, 10) << false;
    QTest::newRow("not enabled: nothing") << QByteArray("Enable = false\nBGImage = bg.png\nFontSize = 10\n") << QRect() << false;
}

void TestRendererItems::backgroundPicture()
{
    QFETCH(QByteArray, keys);
    QFETCH(QRect, picture);
    QFETCH(bool, textDrawn);
    QByteArray theme = "[Note]\n";
    if (!keys.contains("Enable"))
        theme += "Enable = true\n";
    theme += keys + "Position_X = 150\nPosition_Y = 200\nFontColor_R = 255\n";
    setUp(theme);
    saveSolid(QStringLiteral("theme/images/bg.png"), QSize(10, 10), kGreen);
    TestEnv::writeFile(QStringLiteral("notify.db"), "[CustomNotify]\n1901/01/01 = Note\n");
    const QImage image = render(kDay);
    QCOMPARE(boundsOfColour(image, kGreen), picture);
    QCOMPARE(!boundsOfColour(image, kRed).isNull(), textDrawn);
}

void TestRendererItems::calendarTodayCell_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QByteArray>("scaleX");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    QTest::newRow("month starts Monday") << QDate(2026, 6, 1) << QByteArray() << 1 << 0;
    QTest::newRow("month starts Sunday") << QDate(2026, 2, 1) << QByteArray() << 1 << 6;
    QTest::newRow("1st, month starts Wednesday") << QDate(2025, 10, 1) << QByteArray() << 1 << 2;
    QTest::newRow("31st in the last row") << QDate(2026, 3, 31) << QByteArray() << 6 << 1;
    QTest::newRow("wider columns") << QDate(2026, 3, 10) << QByteArray("0.5") << 3 << 1;
    QTest::newRow("scale not a number") << QDate(2026, 3, 10) << QByteArray("wide") << 3 << 1;
}

void TestRendererItems::calendarTodayCell()
{
    QFETCH(QDate, today);
    QFETCH(QByteArray, scaleX);
    QFETCH(int, row);
    QFETCH(int, column);
    setUp("[Calendar]\nEnable = true\nFontSize = 10\nPosition_X = 10\nPosition_Y = 20\n"
          "FontColor_R = 255\nFontColor_G = 255\nFontColor_B = 255\nTodayColor_R = 255\nTodayColor_G = 0\n"
          "TodayColor_B = 0\nRotateAngle = 90\nScale_X = " + scaleX + "\n");
    QFont font(QStringLiteral("AMCSL"));
    font.setPointSize(10);
    const QFontMetrics metrics(font);
    bool ok = false;
    const double sx = scaleX.toDouble(&ok);
    const int cellW = int(metrics.horizontalAdvance(QStringLiteral("00")) * (1.0 + (ok ? sx : 0.0)));
    const int cellH = metrics.height();
    const QRect cell(10 + column * cellW, 20 + row * cellH, cellW, cellH);

    const QImage image = render(QDateTime(today, QTime(10, 0)));
    const QRect red = boundsOfColour(image, kRed);
    QVERIFY(!red.isNull());
    QVERIFY2(cell.contains(red), qPrintable(QStringLiteral("today at %1,%2 %3x%4, cell %5,%6")
                                                .arg(red.x()).arg(red.y()).arg(red.width()).arg(red.height())
                                                .arg(cell.x()).arg(cell.y())));
    // The header row holds the weekday names in the ordinary colour.
    QVERIFY(!boundsOfColour(image.copy(10, 20, 7 * cellW, cellH), kWhite).isNull());
}

void TestRendererItems::calendarMonthLength_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("has29");
    QTest::newRow("February 2008") << QDate(2008, 2, 1) << true;
    QTest::newRow("February 2009") << QDate(2009, 2, 1) << false;
}

void TestRendererItems::calendarMonthLength()
{
    QFETCH(QDate, today);
    QFETCH(bool, has29);
    setUp("[Calendar]\nEnable = true\nFontSize = 10\nPosition_X = 0\nPosition_Y = 0\nFontColor_R = 255\nFontColor_G = 255\nFontColor_B = 255\n");
    QFont font(QStringLiteral("AMCSL"));
    font.setPointSize(10);
    const QFontMetrics metrics(font);
    const int cellW = metrics.horizontalAdvance(QStringLiteral("00"));
    const int first = QDate(today.year(), today.month(), 1).dayOfWeek();
    const int cell29 = 29 + first - 2 + 7;
    const QImage image = render(QDateTime(today, QTime(10, 0)));
    const QImage area = image.copy((cell29 % 7) * cellW, (cell29 / 7) * metrics.height(), cellW, metrics.height());
    QCOMPARE(!boundsOfColour(area, kWhite).isNull(), has29);
}

void TestRendererItems::calendarSameAs_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QByteArray>("sameAs");
    QTest::addColumn<bool>("same");
    const QByteArray base = "[Calendar]\nEnable = true\nPosition_X = 5\nPosition_Y = 5\nFontColor_R = 255\n";
    QTest::newRow("negative size draws at 9 points") << base + "FontSize = -1\n" << base + "FontSize = 9\n" << true;
    QTest::newRow("missing size draws at 9 points") << base << base + "FontSize = 9\n" << true;
    QTest::newRow("size 0 draws no grid") << base + "FontSize = 0\n" << QByteArray() << true;
    QTest::newRow("6 weekday names are ignored") << base + "FontSize = 9\nWeekList = a,b,c,d,e,f\n" << base + "FontSize = 9\n" << true;
    QTest::newRow("7 weekday names replace the header") << base + "FontSize = 9\nWeekList = 一,二,三,四,五,六,日\n" << base + "FontSize = 9\n" << false;
    QTest::newRow("rotation has no effect") << base + "FontSize = 9\nRotateAngle = 45\n" << base + "FontSize = 9\n" << true;
}

void TestRendererItems::calendarSameAs()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArray, sameAs);
    QFETCH(bool, same);
    setUp(keys);
    const QImage a = render(kDay);
    setUp(sameAs);
    const QImage b = render(kDay);
    QCOMPARE(a == b, same);
    QVERIFY(!nonWallpaper(a).isNull() || sameAs.isEmpty());
}

void TestRendererItems::calendarMarkerUnderShadow()
{
    setUp("[Calendar]\nEnable = true\nFontSize = 14\nShadow = true\nPosition_X = 10\nPosition_Y = 20\n"
          "TodayColor_R = 255\nTodayBGImage = mark.png\n");
    saveSolid(QStringLiteral("theme/images/mark.png"), QSize(40, 40), kGreen);
    // 2026-06-01 is a Monday: today is cell 7, row 1, column 0.
    QFont font(QStringLiteral("AMCSL"));
    font.setPointSize(14);
    const int y = 20 + QFontMetrics(font).height();
    const QImage image = render(QDateTime(QDate(2026, 6, 1), QTime(10, 0)));
    const QRect green = boundsOf(image, [](const QColor &c) { return c.green() > 0 && c.red() == 0 && c.blue() == 0; });
    QCOMPARE(green.topLeft(), QPoint(8, y - 2));
    // Inside the marker: the grey shadow and the number in the today colour over it.
    const QImage marker = image.copy(QRect(8, y - 2, 40, 40));
    QVERIFY(!boundsOfColour(marker, kRed).isNull());
    QVERIFY(!boundsOfColour(marker, QColor(128, 128, 128)).isNull());
}

QUILLORA_TEST_MAIN(TestRendererItems)
#include "tst_renderer_items.moc"
