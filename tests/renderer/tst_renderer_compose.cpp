// The composed picture as a whole: wallpaper, theme choice, the working copy, bad input.

#include "renderfixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

using namespace RenderFixture;

namespace {
const QDateTime kNoon(QDate(2026, 3, 10), QTime(12, 0));
const QColor kRed(255, 0, 0);
} // namespace

class TestRendererCompose : public QObject
{
    Q_OBJECT
private slots:
    void wallpaperStretched_data();
    void wallpaperStretched();
    void themeWithoutEnabledItemsIsWallpaperAlone_data();
    void themeWithoutEnabledItemsIsWallpaperAlone();
    void workingCopyTakesPrecedence();
    void withoutSettingsFileDrawsTheShippedOnes();
    void hostileSizesStayFast_data();
    void hostileSizesStayFast();
};

void TestRendererCompose::wallpaperStretched_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("phonePath"); // the wallpaper named by its path on the phone
    QTest::newRow("smaller, wide") << QSize(100, 50) << QString();
    QTest::newRow("larger, tall") << QSize(480, 1000) << QString();
    QTest::newRow("exact") << QSize(240, 320) << QString();
    QTest::newRow("on the memory card") << QSize(60, 80) << QStringLiteral("/mmc/mmca1/w.png");
}

void TestRendererCompose::wallpaperStretched()
{
    QFETCH(QSize, size);
    QFETCH(QString, phonePath);
    setUp(QByteArray());
    // Left half red, right half green, whatever its size: stretched, the halves meet at x 120.
    QImage wall(size, QImage::Format_RGB32);
    wall.fill(Qt::green);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width() / 2; ++x)
            wall.setPixel(x, y, qRgb(255, 0, 0));
    if (phonePath.isEmpty()) {
        QVERIFY(wall.save(TestEnv::path(QStringLiteral("wall.png"))));
    } else {
        QDir().mkpath(TestEnv::path(QStringLiteral("device/mmc/mmca1")));
        QVERIFY(wall.save(TestEnv::path(QStringLiteral("device") + phonePath)));
        TestEnv::writeFile(QStringLiteral("device/setup.ini"), "[SETUP_THEME]\n9 = " + phonePath.toUtf8() + "\n");
    }

    const QImage picture = render(kNoon);
    QCOMPARE(picture.size(), QSize(240, 320));
    for (int y : {0, 160, 319}) {
        QCOMPARE(QColor(picture.pixel(2, y)), QColor(255, 0, 0));
        QCOMPARE(QColor(picture.pixel(115, y)), QColor(255, 0, 0));
        QCOMPARE(QColor(picture.pixel(125, y)), QColor(0, 255, 0));
        QCOMPARE(QColor(picture.pixel(237, y)), QColor(0, 255, 0));
    }
}

void TestRendererCompose::themeWithoutEnabledItemsIsWallpaperAlone_data()
{
    QTest::addColumn<QByteArray>("theme");
    QTest::addColumn<QByteArray>("wallpaperSetting");

    const QByteArray noEnable = "[SysTime]\nFontSize = 20\nPosition_X = 10\nPosition_Y = 10\nFontColor_R = 255\n"
                                "[Calendar]\nFontSize = 10\n[Notify]\nFontSize = 10\nBGImage = x.png\n";
    QTest::newRow("groups lack Enable") << noEnable << QByteArray();
    QTest::newRow("Enable false") << QByteArray("[Date_Year]\nEnable = false\nFontSize = 20\n") << QByteArray();
    QTest::newRow("empty theme") << QByteArray() << QByteArray();
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 131 + 7) % 256);
    QTest::newRow("theme is not text") << binary << QByteArray();
    QTest::newRow("missing wallpaper") << noEnable << QByteArray("/no/such/picture.png");
    QTest::newRow("wallpaper not a picture") << noEnable << QByteArray("settings.ini");
}

void TestRendererCompose::themeWithoutEnabledItemsIsWallpaperAlone()
{
    QFETCH(QByteArray, theme);
    QFETCH(QByteArray, wallpaperSetting);
    setUp(theme, "CustomNotify = true\nWeatherShow = true\n");

    QImage expected(240, 320, QImage::Format_RGB32);
    expected.fill(wallColour());
    if (!wallpaperSetting.isEmpty()) {
        const QByteArray path = wallpaperSetting.startsWith('/') ? wallpaperSetting : TestEnv::path(QString::fromUtf8(wallpaperSetting)).toUtf8();
        TestEnv::writeFile(QStringLiteral("device/setup.ini"), "[SETUP_THEME]\n9 = " + path + "\n");
        // No usable wallpaper: one plain dark colour.
        const QImage picture = render(kNoon);
        QCOMPARE(picture.size(), QSize(240, 320));
        const QRgb first = picture.pixel(0, 0);
        QVERIFY(qGray(first) < 64);
        QCOMPARE(boundsOf(picture, [&](const QColor &c) { return c.rgb() != first; }), QRect());
        return;
    }
    QCOMPARE(render(kNoon), expected);
}

void TestRendererCompose::workingCopyTakesPrecedence()
{
    const QByteArray red = textItem("Date_Year", 20, 10, 10, kRed);
    setUp(QByteArray()); // the current theme draws nothing
    TestEnv::writeFile(QStringLiteral("device/tmp/tmp.theme"), red);
    QVERIFY(!boundsOfColour(render(kNoon), kRed).isNull());

    TestEnv::removeFile(QStringLiteral("device/tmp/tmp.theme"));
    QVERIFY(boundsOfColour(render(kNoon), kRed).isNull());
}

void TestRendererCompose::withoutSettingsFileDrawsTheShippedOnes()
{
    TestEnv::resetData();
    const QImage shipped = render(kNoon);
    TestEnv::writeFile(QStringLiteral("settings.ini"), QByteArray());
    const QImage bare = render(kNoon);
    QVERIFY(shipped != bare); // the shipped settings name a theme that draws

    TestEnv::removeFile(QStringLiteral("settings.ini"));
    QCOMPARE(render(kNoon), shipped);
    QVERIFY(!QFileInfo::exists(TestEnv::path(QStringLiteral("settings.ini"))));
    TestEnv::resetData();
}

void TestRendererCompose::hostileSizesStayFast_data()
{
    QTest::addColumn<QByteArray>("theme");
    QTest::newRow("huge font") << textItem("Date_Year", 2000000000, 0, 0, kRed)
                                  + textItem("Note", 100000, 0, 0, kRed);
    QTest::newRow("huge calendar") << QByteArray("[Calendar]\nEnable = true\nFontSize = 99999\nScale_X = 1e308\nScale_Y = nan\n");
    QTest::newRow("huge background") << QByteArray("[Date_Year]\nEnable = true\nBGImage = bg.png\nBGImage_W = 2000000000\nBGImage_H = 2000000000\n");
    QTest::newRow("negative background size") << QByteArray("[Date_Year]\nEnable = true\nBGImage = bg.png\nBGImage_W = -5\nBGImage_H = 7\n");
    QTest::newRow("hostile format") << textItem("Date_Year", 20, 0, 0, kRed, "TextFormat = %s%s%n%x%99999d%s\n");
}

void TestRendererCompose::hostileSizesStayFast()
{
    QFETCH(QByteArray, theme);
    setUp(theme);
    QImage bg(8, 8, QImage::Format_RGB32);
    bg.fill(Qt::green);
    QVERIFY(bg.save(TestEnv::path(QStringLiteral("theme/images/bg.png"))));
    QElapsedTimer timer;
    timer.start();
    const QImage picture = render(kNoon);
    QCOMPARE(picture.size(), QSize(240, 320));
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

QUILLORA_TEST_MAIN(TestRendererCompose)
#include "tst_renderer_compose.moc"
