// Text boxes of items (Box_W, Box_H, Fit) and the theme check that judges them.

#include "renderfixture.h"
#include "textbox.h"
#include "themecheck.h"
#include "countdown.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QProcess>

using namespace RenderFixture;

namespace {

const QColor kRed(255, 0, 0);
const QDateTime kDay(QDate(2026, 3, 10), QTime(9, 5));
const QByteArray kLong = "TextFormat = Quillora keeps the whole day in view\n";

QFont font(int size)
{
    QFont f(QStringLiteral("AMCSL"));
    f.setPointSize(size);
    return f;
}

} // namespace

class TestTextBox : public QObject
{
    Q_OBJECT
private slots:
    void fit_data();
    void fit();
    void elideAtExactWidths_data();
    void elideAtExactWidths();
    void countdownNumberStaysWhole_data();
    void countdownNumberStaysWhole();
    void onlyWhatShowsIsLaidOut();
    void hugeBoxesDrawInBoundedTime_data();
    void hugeBoxesDrawInBoundedTime();
    void drawnInsideTheBox_data();
    void drawnInsideTheBox();
    void check_data();
    void check();
    void shippedThemesPass_data();
    void shippedThemesPass();
    void checkArguments_data();
    void checkArguments();
};

void TestTextBox::fit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<int>("size");      // point size drawn
    QTest::addColumn<bool>("elided");   // a line ends with "…"
    QTest::addColumn<bool>("overflows");

    const QString line = QStringLiteral("东北风3-4级转北风5-6级");
    QTest::newRow("fits: untouched") << QStringLiteral("晴") << "elide" << QSize(60, 20) << 10 << false << false;
    QTest::newRow("clip: cut at the edge") << line << "clip" << QSize(60, 20) << 10 << false << true;
    QTest::newRow("unknown mode clips") << line << "squeeze" << QSize(60, 20) << 10 << false << true;
    QTest::newRow("elide: ends with …") << line << "elide" << QSize(60, 20) << 10 << true << false;
    QTest::newRow("shrink: a smaller font fits") << QStringLiteral("Thunder") << "shrink" << QSize(40, 20) << 7 << false << false;
    QTest::newRow("shrink: floor, then …") << QStringLiteral("Thunderstorm with hail") << "SHRINK" << QSize(40, 20)
                                           << TextBox::kShrinkFloor << true << false;
    // Chinese strokes run together below eight points.
    QTest::newRow("shrink: Chinese floor, then …") << line << "shrink" << QSize(60, 20) << TextBox::kShrinkFloorCjk << true << false;
    QTest::newRow("clip: lines below the box overflow")
        << QStringLiteral("a\nb\nc\nd\ne\nf") << "clip" << QSize(60, 20) << 10 << false << true;
    QTest::newRow("elide: lines below the box left out with …")
        << QStringLiteral("a\nb\nc\nd\ne\nf") << "elide" << QSize(60, 20) << 10 << true << false;
}

void TestTextBox::fit()
{
    QFETCH(QString, text);
    QFETCH(QString, mode);
    QFETCH(QSize, box);
    QFETCH(int, size);
    QFETCH(bool, elided);
    QFETCH(bool, overflows);
    const TextBox::Layout layout = TextBox::fit(text, font(10), box, TextBox::fitFrom(mode));
    QCOMPARE(layout.font.pointSize(), size);
    QCOMPARE(layout.text.contains(QChar(0x2026)), elided);
    QCOMPARE(layout.overflows, overflows);
    QVERIFY(QRect(QPoint(0, 0), box).contains(layout.area));
    if (!overflows)
        QVERIFY(QFontMetrics(layout.font).boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, layout.text).width() <= box.width());
}

// Widths are those of the line as drawn: a text exactly as wide as its box is drawn whole, one
// pixel less ends in "…" after as many characters as fit with it, never one fewer.
void TestTextBox::elideAtExactWidths_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("less"); // pixels the box is narrower than the text
    for (const char *word : {"Thunderstorm", "Freezing drizzle", "Heavy rain", "Snow showers", "毕业典礼", "东北风3-4级"})
        for (int less : {0, 1, 8})
            QTest::addRow("%s, %d px less", word, less) << QString::fromUtf8(word) << 9 << less;
}

void TestTextBox::elideAtExactWidths()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QFETCH(int, less);
    const QFontMetrics metrics(font(size));
    const int width = metrics.horizontalAdvance(text) - less;
    const TextBox::Layout layout = TextBox::fit(text, font(size), QSize(width, 40), TextBox::Fit::Elide);
    QVERIFY(!layout.overflows);
    if (less == 0) {
        QCOMPARE(layout.text, text);
        return;
    }
    const QChar mark(0x2026);
    QVERIFY2(layout.text.endsWith(mark), qPrintable(layout.text));
    const QString kept = layout.text.chopped(1);
    QVERIFY(text.startsWith(kept));
    QVERIFY(metrics.horizontalAdvance(layout.text) <= width);
    // One character more would not have fitted.
    QVERIFY(metrics.horizontalAdvance(text.left(kept.size() + 1) + mark) > width);
}

// A countdown too long for its box keeps its number whole: the text around it gives way.
void TestTextBox::countdownNumberStaysWhole_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QByteArray>("fit");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("width"); // of the box; 0: the line without its text, and no room for "…"
    QTest::newRow("Chinese, elide") << QByteArray("简体中文.lng") << QByteArray("elide") << QStringLiteral("还有110天") << 150;
    QTest::newRow("English, elide") << QByteArray("English.lng") << QByteArray("elide") << QStringLiteral("110 days") << 150;
    QTest::newRow("Chinese, shrink") << QByteArray("简体中文.lng") << QByteArray("shrink") << QStringLiteral("还有110天") << 150;
    QTest::newRow("English, no room for the text") << QByteArray("English.lng") << QByteArray("elide") << QStringLiteral("110 days") << 0;
}

void TestTextBox::countdownNumberStaysWhole()
{
    QFETCH(QByteArray, language);
    QFETCH(QByteArray, fit);
    QFETCH(QString, number);
    QFETCH(int, width);
    const CountdownWording wording = CountdownWording::fromLanguageFile(TestEnv::dir(), QString::fromUtf8(language));
    const int size = fit == "shrink" ? TextBox::kShrinkFloorCjk : 9;
    const QFontMetricsF metrics(font(size));
    const bool noRoom = width == 0;
    if (noRoom)
        width = int(std::ceil(metrics.horizontalAdvance(countdownText(110, QString(), wording)))) + 1;
    setUp(textItem("Notify", 9, 10, 10, kRed, "Box_W = " + QByteArray::number(width) + "\nBox_H = 20\nFit = " + fit + "\n"),
          "Language = " + language + "\n");
    TestEnv::writeFile(QStringLiteral("notify.db"), "[CustomNotify]\n1901/01/02 = 2026|06|28|毕业典礼和谢师宴\n");
    const QImage shown = render(kDay);
    // The line drawn is the countdown with its text cut to the longest start that lets it fit;
    // with no room for any of it, the line itself is cut after the number, ending in "…".
    const QString name = QStringLiteral("毕业典礼和谢师宴");
    QString line;
    for (int k = name.size() - 1; k >= 0 && line.isEmpty(); --k) {
        const QString candidate = countdownText(110, name.left(k) + QChar(0x2026), wording);
        if (metrics.horizontalAdvance(candidate) <= width)
            line = candidate;
    }
    QCOMPARE(line.isEmpty(), noRoom);
    if (noRoom)
        line = TextBox::elided(countdownText(110, QString(QChar(0x2026)), wording), font(size), width, false);
    QVERIFY(line.contains(number));
    QVERIFY(line.contains(QChar(0x2026)));
    QCOMPARE(shown, expectedText(line, size, 10, 10, kRed));
}

// A text of megabytes costs what a full box costs: only the part that can show is laid out.
void TestTextBox::onlyWhatShowsIsLaidOut()
{
    const QString line(2 * 1024 * 1024, QLatin1Char('W'));
    const QString text = line + QLatin1Char('\n') + line + QStringLiteral("\n") + QString(100000, QLatin1Char('\n'));
    bool cut = false;
    const QString shown = TextBox::visiblePart(text, font(1), QSize(240, 320), &cut);
    QVERIFY(cut);
    QVERIFY2(shown.size() < 2000, qPrintable(QString::number(shown.size())));
    QVERIFY(shown.startsWith(QStringLiteral("WWW")));
}

// Any box, however large, is laid out only as far as it shows on the screen: a huge box over a
// notice panel of megabytes draws in well under the daemon's limit for a redraw.
void TestTextBox::hugeBoxesDrawInBoundedTime_data()
{
    QTest::addColumn<QByteArray>("fit");
    QTest::addColumn<int>("angle");
    for (const char *fit : {"clip", "shrink", "elide"})
        for (int angle : {0, 90}) {
            QTest::addRow("%s, turned %d", fit, angle) << QByteArray(fit) << angle;
        }
}

void TestTextBox::hugeBoxesDrawInBoundedTime()
{
    QFETCH(QByteArray, fit);
    QFETCH(int, angle);
    const QByteArray box = "Box_W = 100000\nBox_H = 100000\nFit = " + fit + "\nRotateAngle = " + QByteArray::number(angle) + "\n";
    setUp(textItem("Notify", 40, 120, 100, kRed, box) + textItem("Note", 40, 20, 20, kRed, box), "CustomNotify = true\n");
    // 4.3 MB each: today's notice (one line) and the note (lines of 600 characters).
    QByteArray notice = QByteArray(600, 'W') + "|";
    QByteArray many;
    while (many.size() < 4300 * 1024)
        many += notice;
    TestEnv::writeFile(QStringLiteral("notify.db"), "[CustomNotify]\n1901/01/01 = " + many + "\n2026/03/10 = " + many + "\n");
    QElapsedTimer timer;
    timer.start();
    const QImage shown = render(kDay);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!boundsOf(shown, [](const QColor &c) { return c.red() > 100; }).isNull());
}

void TestTextBox::drawnInsideTheBox_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QRect>("inside"); // where the red text may be
    QTest::addColumn<int>("minWidth"); // how wide it at least is
    QTest::newRow("clip") << QByteArray("Box_W = 60\nBox_H = 30\n") << QRect(20, 40, 60, 30) << 50;
    QTest::newRow("elide") << QByteArray("Box_W = 60\nBox_H = 30\nFit = elide\n") << QRect(20, 40, 60, 30) << 40;
    QTest::newRow("shrink") << QByteArray("Box_W = 120\nBox_H = 30\nFit = shrink\n") << QRect(20, 40, 120, 30) << 100;
    // Turned a quarter clockwise, the box runs down from the origin and to its left.
    QTest::newRow("turned with the text") << QByteArray("Box_W = 60\nBox_H = 30\nRotateAngle = 90\n") << QRect(-10, 40, 30, 60) << 20;
    QTest::newRow("no box: as before, to the picture's edge") << QByteArray() << QRect(20, 40, 220, 40) << 200;
}

void TestTextBox::drawnInsideTheBox()
{
    QFETCH(QByteArray, keys);
    QFETCH(QRect, inside);
    QFETCH(int, minWidth);
    setUp(textItem("Date_Year", 14, 20, 40, kRed, kLong + keys));
    // Red over the blue wallpaper, the edges of small glyphs blended.
    const QRect red = boundsOf(render(kDay), [](const QColor &c) { return c.red() > 100; });
    QVERIFY(!red.isNull());
    QVERIFY2(inside.contains(red), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(red.x()).arg(red.y()).arg(red.width()).arg(red.height())));
    QVERIFY(qMax(red.width(), red.height()) >= minWidth);
}

void TestTextBox::check_data()
{
    QTest::addColumn<QByteArray>("theme");
    QTest::addColumn<QStringList>("problems");
    const QColor c(250, 250, 250);
    QTest::newRow("good") << textItem("Date_Year", 12, 10, 10, c) + textItem("Week", 12, 10, 40, c) << QStringList();
    QTest::newRow("text leaves the screen")
        << textItem("Date_Year", 12, 200, 10, c, "TextFormat = %04d年\n") << QStringList{QStringLiteral("Date_Year: text leaves the screen")};
    QTest::newRow("picture leaves the screen")
        << textItem("Week", 12, 10, 10, c, "BGImage = pic.png\nBGImage_X = 200\nBGImage_Y = 0\nBGImage_W = 80\nBGImage_H = 20\n")
        << QStringList{QStringLiteral("Week: picture leaves the screen")};
    QTest::newRow("overflows its box")
        << textItem("Notify", 9, 10, 10, c, "Box_W = 200\nBox_H = 5\nFit = elide\n") << QStringList{QStringLiteral("Notify: text overflows its box")};
    QTest::newRow("texts overlap")
        << textItem("Date_Year", 12, 10, 10, c) + textItem("Date_Day", 12, 20, 12, c) << QStringList{QStringLiteral("Date_Year and Date_Day: texts overlap")};
    // New Year's Eve on the day of a solar term adds 除夕 and the term to six lines.
    const int sevenLines = QFontMetrics(font(9)).boundingRect(QRect(), Qt::AlignLeft, QStringLiteral("a\nb\nc\nd\ne\nf\ng")).height();
    QTest::newRow("eight notice lines on New Year's Eve")
        << textItem("Notify", 9, 10, 10, c, "Box_W = 230\nBox_H = " + QByteArray::number(sevenLines) + "\n")
        << QStringList{QStringLiteral("Notify: text overflows its box")};
    QTest::newRow("eight notice lines, the seventh ending in …")
        << textItem("Notify", 9, 10, 10, c, "Box_W = 230\nBox_H = " + QByteArray::number(sevenLines) + "\nFit = elide\n")
        << QStringList();
    // Letters on a picture of their own colour (a clock plate's colon under the hour, say).
    QTest::newRow("text on a picture of its colour")
        << textItem("Date_Year", 12, 10, 10, QColor(0, 255, 0), "BGImage = pic.png\nBGImage_X = 0\nBGImage_Y = 0\nBGImage_W = 60\nBGImage_H = 30\n")
        << QStringList{QStringLiteral("Date_Year: text hard to read on the picture of Date_Year")};
    QTest::newRow("text on another item's picture of its colour")
        << textItem("Date_Year", 12, 10, 10, QColor(0, 230, 0)) + textItem("Week", 12, 150, 10, c, "BGImage = pic.png\nBGImage_X = 0\nBGImage_Y = 5\nBGImage_W = 100\nBGImage_H = 30\n")
        << QStringList{QStringLiteral("Date_Year: text hard to read on the picture of Week")};
    QTest::newRow("text on a picture of another colour")
        << textItem("Date_Year", 12, 10, 10, QColor(0, 0, 160), "BGImage = pic.png\nBGImage_X = 0\nBGImage_Y = 0\nBGImage_W = 60\nBGImage_H = 30\n")
        << QStringList();
    // Only the descent of the upper line box, where no letter of these reaches, lies on the lower.
    const int descent = QFontMetrics(font(12)).descent();
    QTest::newRow("line boxes touching by the descent")
        << textItem("Date_Year", 12, 10, 10, c) + textItem("Week", 12, 10, 10 + QFontMetrics(font(12)).height() - descent, c)
        << QStringList();
    QByteArray huge = textItem("Date_Year", 12, 10, 10, c) + "[Padding]\n";
    while (huge.size() < 300 * 1024)
        huge += "Key" + QByteArray::number(huge.size()) + " = " + QByteArray(100, 'x') + "\n";
    QTest::newRow("too large to be read whole") << huge << QStringList{QStringLiteral("theme: too large to be read whole")};
    // Han strokes run together below 8 points; Latin letters and digits stay legible at 7.
    QTest::newRow("Chinese weather at 7 points, digits at 7")
        << textItem("Weather1_Description", 7, 10, 10, c, "Box_W = 200\nBox_H = 20\n") + textItem("Date_Year", 7, 10, 60, c)
        << QStringList{QStringLiteral("Weather1_Description: Chinese text at 7 points, below the legible 8")};
    QTest::newRow("Chinese weather at 8 points")
        << textItem("Weather1_Description", 8, 10, 10, c, "Box_W = 200\nBox_H = 20\n") << QStringList();
    QTest::newRow("long weather, clipped")
        << textItem("Weather1_Wind", 8, 10, 10, c, "Box_W = 40\nBox_H = 20\n") << QStringList{QStringLiteral("Weather1_Wind: text overflows its box")};
}

// The check draws a busy day (up to eight notice lines, long weather texts) and lists each problem.
void TestTextBox::check()
{
    QFETCH(QByteArray, theme);
    QFETCH(QStringList, problems);
    setUp(theme);
    QImage pic(8, 8, QImage::Format_RGB32);
    pic.fill(Qt::green);
    QVERIFY(pic.save(TestEnv::path(QStringLiteral("theme/images/pic.png"))));
    QStringList found = ThemeCheck::run(TestEnv::path(QStringLiteral("theme/t.theme")));
    for (QString &line : found)
        line = line.section(QStringLiteral(" ("), 0, 0);
    QCOMPARE(found.join(QLatin1Char('|')), problems.join(QLatin1Char('|')));
}

void TestTextBox::shippedThemesPass_data()
{
    QTest::addColumn<QString>("theme");
    for (const QString &name : QDir(TestEnv::path(QStringLiteral("theme"))).entryList({QStringLiteral("*.theme")}))
        if (name != QLatin1String("t.theme"))
            QTest::newRow(qPrintable(name)) << name;
}

// show --check as theme authors run it: silent with status 0 for every shipped theme.
void TestTextBox::shippedThemesPass()
{
    QFETCH(QString, theme);
    QProcess show;
    show.start(TestEnv::installProgram(QStringLiteral("show")), {QStringLiteral("--check"), theme});
    QVERIFY(show.waitForFinished(60000));
    QCOMPARE(show.readAllStandardOutput(), QByteArray());
    QCOMPARE(show.exitCode(), 0);
}

void TestTextBox::checkArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("current"); // CurrentTheme of settings.ini
    QTest::addColumn<int>("status");
    QTest::newRow("the current theme") << QStringList{} << QByteArray("Frost.theme") << 0;
    QTest::newRow("a current theme outside theme/") << QStringList{} << QByteArray("../settings.ini") << 2;
    QTest::newRow("a theme that is not there") << QStringList{QStringLiteral("Nowhere")} << QByteArray("Frost.theme") << 2;
    QTest::newRow("two themes") << QStringList{QStringLiteral("Frost"), QStringLiteral("Ink")} << QByteArray("Frost.theme") << 2;
}

void TestTextBox::checkArguments()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, current);
    QFETCH(int, status);
    TestEnv::resetData();
    TestEnv::removeFile(QStringLiteral("device/tmp/tmp.theme"));
    TestEnv::writeFile(QStringLiteral("settings.ini"), "[Quillora]\nCurrentTheme = " + current + "\n");
    QProcess show;
    show.start(TestEnv::installProgram(QStringLiteral("show")), QStringList{QStringLiteral("--check")} + args);
    QVERIFY(show.waitForFinished(60000));
    QCOMPARE(show.exitCode(), status);
}

QUILLORA_TEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
