// The still part of the desktop kept from one minute to the next: the picture drawn over it is
// the picture a whole composition gives, and whatever the still part was drawn from, changed,
// has it drawn anew.

#include "renderfixture.h"

#include "pngfile.h"
#include "stillpicture.h"

#include <QBuffer>
#include <QThread>

using namespace RenderFixture;

namespace {

const QDateTime kMinute(QDate(2026, 3, 10), QTime(9, 41));
const QString kCache = QStringLiteral("device/idle/cache/still.raw");

// A clock over a picture of its own, the date over that picture beside it, the year and a
// calendar below: still drawings before, beside and after the clock's text.
QByteArray theme(const QByteArray &yearColour = "200", int yearX = 10)
{
    return "[SysTime]\nEnable = true\nBGImage = band.png\nBGImage_X = 0\nBGImage_Y = 0\nFontSize = 24\n"
           "Position_X = 10\nPosition_Y = 6\nFontColor_R = 255\nFontColor_G = 255\nFontColor_B = 255\n"
        + textItem("Date_Day", 12, 150, 10, QColor(255, 255, 0))
        + "[Date_Year]\nEnable = true\nFontSize = 14\nPosition_X = " + QByteArray::number(yearX)
        + "\nPosition_Y = 60\nFontColor_R = " + yearColour + "\nFontColor_G = 0\nFontColor_B = 0\n"
        + textItem("Calendar", 9, 10, 120, QColor(255, 255, 255));
}

void writeBand(const QColor &colour)
{
    QImage band(240, 50, QImage::Format_RGB32);
    band.fill(colour);
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QVERIFY(band.save(&bytes, "PNG"));
    TestEnv::writeFile(QStringLiteral("theme/images/band.png"), bytes.data());
}

// Files changed just before a drawing are not trusted to be whole: the still part drawn from
// them is not kept. The tests wait that long after writing.
void settle()
{
    QThread::msleep(80);
}

StillPicture::Result composeAt(const QDateTime &at, qint64 settleNs = StillPicture::kSettleNs)
{
    RenderClock::setFixed(at);
    StillPicture::Result result = StillPicture::compose(TestEnv::path(kCache), settleNs);
    RenderClock::clearFixed();
    result.image = result.image.convertToFormat(QImage::Format_RGB32);
    return result;
}

} // namespace

class TestStillPicture : public QObject
{
    Q_OBJECT
private slots:
    void keptPartGivesTheWholePicture_data();
    void keptPartGivesTheWholePicture();
    void bandsKeepEveryRow_data();
    void bandsKeepEveryRow();
};

void TestStillPicture::keptPartGivesTheWholePicture_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QDateTime>("second");
    QTest::addColumn<bool>("kept");
    QTest::newRow("the next minute") << QString() << kMinute.addSecs(60) << true;
    QTest::newRow("the next hour") << QString() << kMinute.addSecs(3600) << true;
    QTest::newRow("the next day") << QString() << kMinute.addDays(1) << false;
    QTest::newRow("theme edited, same size") << "theme" << kMinute.addSecs(60) << false;
    QTest::newRow("the clock's picture replaced") << "picture" << kMinute.addSecs(60) << false;
    QTest::newRow("wallpaper replaced") << "wallpaper" << kMinute.addSecs(60) << false;
    QTest::newRow("a theme under edit") << "working copy" << kMinute.addSecs(60) << false;
    QTest::newRow("settings edited") << "settings" << kMinute.addSecs(60) << false;
    QTest::newRow("a file written just before it drew") << "unsettled" << kMinute.addSecs(60) << false;
    QTest::newRow("a damaged cache") << "damaged" << kMinute.addSecs(60) << false;
    // The year moved under the clock's text: the whole picture is drawn.
    QTest::newRow("a later item under the clock") << "overlap" << kMinute.addSecs(60) << false;
}

void TestStillPicture::keptPartGivesTheWholePicture()
{
    QFETCH(QString, change);
    QFETCH(QDateTime, second);
    QFETCH(bool, kept);
    setUp(theme());
    writeBand(QColor(40, 40, 40));
    TestEnv::removeFile(kCache);
    if (change == QLatin1String("overlap"))
        TestEnv::writeFile(QStringLiteral("theme/t.theme"), theme("200", 10).replace("Position_Y = 60", "Position_Y = 12"));
    settle();
    const StillPicture::Result first = composeAt(kMinute);
    QVERIFY(!first.stillKept);
    QCOMPARE(first.image, render(kMinute));

    if (change == QLatin1String("theme")) {
        TestEnv::writeFile(QStringLiteral("theme/t.theme"), theme("100"));
    } else if (change == QLatin1String("picture")) {
        writeBand(QColor(90, 20, 20));
    } else if (change == QLatin1String("wallpaper")) {
        QImage wall(240, 320, QImage::Format_RGB32);
        wall.fill(Qt::darkGreen);
        QVERIFY(wall.save(TestEnv::path(QStringLiteral("wall.png"))));
    } else if (change == QLatin1String("working copy")) {
        TestEnv::writeFile(QStringLiteral("device/tmp/tmp.theme"), theme("200", 40));
    } else if (change == QLatin1String("settings")) {
        TestEnv::writeFile(QStringLiteral("settings.ini"), "[Quillora]\nCurrentTheme = u.theme\n");
    } else if (change == QLatin1String("damaged")) {
        QFile cache(TestEnv::path(kCache));
        QVERIFY(cache.open(QIODevice::ReadOnly));
        TestEnv::writeFile(kCache, cache.read(cache.size() / 2));
    } else if (change == QLatin1String("unsettled")) {
        // The theme is written again, as it was, right before the still part is drawn anew
        // (within a minute, however slow the machine).
        TestEnv::writeFile(QStringLiteral("theme/t.theme"), theme());
        TestEnv::removeFile(kCache);
        composeAt(kMinute, 60 * qint64(1000000000));
    }
    settle();

    const StillPicture::Result next = composeAt(second);
    QCOMPARE(next.stillKept, kept);
    QCOMPARE(next.image, render(second));
}

void TestStillPicture::bandsKeepEveryRow_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("no row changed") << 1000 << -1;
    QTest::newRow("rows inside one band") << 20 << 27;
    QTest::newRow("rows across bands") << 10 << 40;
    QTest::newRow("the last rows") << 310 << 319;
}

// Bands taken from another picture where the rows are the same, and compressed anew where they
// are not, decode to the new picture.
void TestStillPicture::bandsKeepEveryRow()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QImage before(240, 320, QImage::Format_RGB32);
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            before.setPixel(x, y, qRgb(x, y % 256, (x * y) % 256));
    QImage after = before;
    for (int y = qMax(0, first); y <= qMin(last, after.height() - 1); ++y)
        for (int x = 0; x < after.width(); ++x)
            after.setPixel(x, y, qRgb(255 - x, 7, y % 256));
    const PngFile::Bands kept = PngFile::deflateBands(before);
    const PngFile::Bands bands = PngFile::deflateBands(after, &kept, first, last);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY(PngFile::writeBands(&buffer, bands, &error));
    QCOMPARE(QImage::fromData(buffer.data(), "png").convertToFormat(QImage::Format_RGB32), after);
}

QUILLORA_TEST_MAIN(TestStillPicture)
#include "tst_stillpicture.moc"
