#include "allitems.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>
#include <QStringList>

namespace AllItems {
namespace {

struct Item
{
    const char *group;
    const char *text; // what the renderer draws at instant(), from the files written by prepare()
    int size, x, y, r, g, b;
    bool shadow;
    int angle;
    const char *picture; // under theme/images/, or a weather icon name for a description
    int px, py, pw, ph;
};

// 2026-12-08 09:05, a Tuesday; lunar 十月 三十 of 丙午.
const Item kItems[] = {
    {"SysTime", "09:05", 30, 8, 2, 255, 255, 255, false, 0, "lantern_top.png", 0, 0, 240, 90},
    {"Time_Hour", "09时", 9, 200, 70, 255, 220, 120, true, 0, nullptr, 0, 0, 0, 0},
    {"Time_Minute", "05", 9, 224, 70, 255, 220, 120, true, 0, nullptr, 0, 0, 0, 0},
    {"Date_Year", "2026", 10, 130, 8, 255, 255, 200, true, 0, nullptr, 0, 0, 0, 0},
    {"Date_Month", "十二月", 10, 166, 8, 255, 255, 200, true, 0, nullptr, 0, 0, 0, 0},
    {"Date_Day", "08", 10, 214, 8, 255, 255, 200, true, 0, nullptr, 0, 0, 0, 0},
    {"Lunar_Year", "马(丙午)年", 8, 8, 50, 230, 230, 230, false, 0, nullptr, 0, 0, 0, 0},
    {"Lunar_Month", "十月", 8, 90, 50, 230, 230, 230, false, 0, nullptr, 0, 0, 0, 0},
    {"Lunar_Day", "三十", 8, 124, 50, 230, 230, 230, false, 0, nullptr, 0, 0, 0, 0},
    {"Week", "星期二", 10, 130, 28, 255, 220, 120, true, 0, nullptr, 0, 0, 0, 0},
    {"Notify", "买牛奶和面包\n纪念日\n71 days away from 春节", 8, 124, 96, 255, 255, 255, false, 0,
     "lantern_notify.png", 118, 92, 118, 70},
    {"Note", "周五交电费\n给妈妈打电话", 8, 124, 170, 255, 240, 200, false, 0, "lantern_note.png", 118, 166, 118, 50},
    {"Weather1_City", "北京", 9, 8, 222, 255, 255, 255, true, 0, "lantern_weather.png", 2, 218, 236, 100},
};

const char *const kWeatherFields[] = {"City", "Date", "Description", "Temperature", "Wind"};
const char *const kWeatherDates[] = {"12/08", "12/09", "12/10", "12/11", "12/12"};
const char *const kWeatherSky[] = {"晴", "多云", "阴", "小雪", "晴"};
const char *const kWeatherIcon[] = {"sunny", "partly_cloudy", "overcast", "snow", "sunny"};
const char *const kWeatherTemp[] = {"3℃--6℃", "5℃--4℃", "4℃--3℃", "1℃--5℃", "2℃--8℃"};
const char *const kWeatherWind[] = {"北风3级", "微风", "东北风2级", "北风4级", "北风4级"};

const QStringList kWeekNames = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四"),
                                QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("日")};

struct Cell
{
    QString text;
    int x, y, size, r, g, b;
};

// The weather texts of day d (1 to 5) as items: date, description with icon, temperature, wind.
QList<Item> weatherItems()
{
    QList<Item> items;
    for (int d = 1; d <= 5; ++d) {
        const int x = 8 + (d - 1) * 46;
        items.append({"Date", kWeatherDates[d - 1], 7, x, 240, 255, 255, 255, false, 0, nullptr, 0, 0, 0, 0});
        items.append({"Description", kWeatherSky[d - 1], 7, x, 290, 255, 255, 255, false, 0, kWeatherIcon[d - 1], x, 256, 32, 32});
        items.append({"Temperature", kWeatherTemp[d - 1], 7, x, 302, 255, 200, 150, false, 0, nullptr, 0, 0, 0, 0});
        items.append({"Wind", kWeatherWind[d - 1], 6, x, 312, 220, 220, 220, false, 0, nullptr, 0, 0, 0, 0});
    }
    return items;
}

QByteArray groupText(const QByteArray &group, const Item &item, bool weatherIcon)
{
    QByteArray s = "[" + group + "]\nEnable = true\n";
    if (item.picture) {
        s += "BGImage = " + QByteArray(weatherIcon ? "on" : item.picture) + "\n";
        s += "BGImage_X = " + QByteArray::number(item.px) + "\nBGImage_Y = " + QByteArray::number(item.py) + "\n";
        s += "BGImage_W = " + QByteArray::number(item.pw) + "\nBGImage_H = " + QByteArray::number(item.ph) + "\n";
    }
    s += "FontSize = " + QByteArray::number(item.size) + "\n";
    s += "Shadow = " + QByteArray(item.shadow ? "true" : "false") + "\n";
    s += "RotateAngle = " + QByteArray::number(item.angle) + "\n";
    s += "FontColor_R = " + QByteArray::number(item.r) + "\nFontColor_G = " + QByteArray::number(item.g)
        + "\nFontColor_B = " + QByteArray::number(item.b) + "\n";
    s += "Position_X = " + QByteArray::number(item.x) + "\nPosition_Y = " + QByteArray::number(item.y) + "\n";
    return s;
}

QByteArray themeText()
{
    QByteArray s;
    for (const Item &item : kItems) {
        s += groupText(item.group, item, false);
        if (QByteArray(item.group) == "Time_Hour")
            s += "TextFormat = %02d时\n";
        if (QByteArray(item.group) == "Date_Month")
            s += "MonthList = 一月,二月,三月,四月,五月,六月,七月,八月,九月,十月,十一月,十二月\n";
        if (QByteArray(item.group) == "Week")
            s += "WeekList = 星期一,星期二,星期三,星期四,星期五,星期六,星期日\n";
    }
    const QList<Item> weather = weatherItems();
    for (int i = 0; i < weather.size(); ++i) {
        const QByteArray group = "Weather" + QByteArray::number(i / 4 + 1) + "_" + weather.at(i).group;
        s += groupText(group, weather.at(i), weather.at(i).picture != nullptr);
    }
    s += "[Calendar]\nEnable = true\nBGImage = lantern_cal.png\nBGImage_X = 2\nBGImage_Y = 64\nBGImage_W = 112\n"
         "BGImage_H = 150\nFontSize = 8\nShadow = true\nFontColor_R = 255\nFontColor_G = 255\nFontColor_B = 255\n"
         "Position_X = 6\nPosition_Y = 70\nScale_X = 0.3\nScale_Y = 0.1\nTodayColor_R = 255\nTodayColor_G = 255\n"
         "TodayColor_B = 0\nTodayBGImage = lantern_today.png\nWeekList = 一,二,三,四,五,六,日\n";
    return s;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray weatherText()
{
    QList<QByteArray> lines(32, QByteArray("-"));
    lines[1] = "北京";
    for (int d = 1; d <= 5; ++d) {
        lines[5 * d + 1] = QByteArray(kWeatherDates[d - 1]) + " " + kWeatherSky[d - 1];
        QByteArray temp = kWeatherTemp[d - 1];
        temp.replace("℃-", "/").replace("℃", "");
        lines[5 * d + 2] = temp;
        lines[5 * d + 3] = kWeatherWind[d - 1];
        lines[5 * d + 4] = QByteArray(kWeatherIcon[d - 1]) + ".gif";
    }
    return lines.join('\n') + '\n';
}

// As the renderer draws an item's picture: one larger than its rectangle is decoded at the
// rectangle's size, any other is scaled smoothly into it.
void drawPicture(QPainter &p, const QString &path, int x, int y, int w, int h)
{
    QImageReader reader(path);
    const QSize stored = reader.size();
    if (!stored.isValid())
        return;
    if (stored.width() > w && stored.height() > h)
        reader.setScaledSize(QSize(w, h));
    const QImage image = reader.read();
    if (image.isNull())
        return;
    if (image.size() == QSize(w, h)) {
        p.drawImage(x, y, image);
        return;
    }
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRect(x, y, w, h), image);
    p.restore();
}

void drawText(QPainter &p, const QString &text, int size, int x, int y, const QColor &colour, bool shadow, int angle)
{
    p.save();
    p.setFont(QFont(QStringLiteral("AMCSL"), size));
    p.translate(x, y);
    p.rotate(angle);
    if (shadow) {
        p.setPen(QColor(128, 128, 128));
        p.drawText(QRect(1, 1, 240, 320), Qt::AlignLeft | Qt::AlignTop, text);
    }
    p.setPen(colour);
    p.drawText(QRect(0, 0, 240, 320), Qt::AlignLeft | Qt::AlignTop, text);
    p.restore();
}

} // namespace

QDateTime instant()
{
    return QDateTime(QDate(2026, 12, 8), QTime(9, 5));
}

QByteArray settingsFor(const QString &themeFile)
{
    return "[Quillora]\nCurrentTheme = " + themeFile.toUtf8()
        + "\nCustomNotify = true\nCustomFestival = true\nFestivalNotify = true\nWeatherShow = true\n";
}

bool prepare(const QString &dir)
{
    return writeFile(dir + QStringLiteral("theme/AllItems.theme"), themeText())
        && writeFile(dir + QStringLiteral("settings.ini"), settingsFor(QStringLiteral("AllItems.theme")))
        && writeFile(dir + QStringLiteral("notify.db"),
                     "[CustomNotify]\n2026/12/08 = 买牛奶和面包\n1901/01/01 = 周五交电费|给妈妈打电话\n"
                     "1901/01/02 = 2027|02|17|春节\n[CustomFestival]\n12/08 = 纪念日\n02/31 = 今天无事\n")
        && writeFile(dir + QStringLiteral("device/ezxlocal/.weather"), weatherText())
        && writeFile(dir + QStringLiteral("device/setup.ini"),
                     "[SETUP_THEME]\n9 = " + (dir + QStringLiteral("resource/wallpapers/default.png")).toUtf8() + "\n");
}

QImage drawBare(const QString &dir)
{
    QImage picture = QImage(dir + QStringLiteral("resource/wallpapers/default.png"))
                         .scaled(240, 320, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    QPainter p(&picture);
    const QString images = dir + QStringLiteral("theme/images/");

    auto drawItem = [&](const Item &item, const QString &picturePath) {
        if (item.picture)
            drawPicture(p, picturePath, item.px, item.py, item.pw, item.ph);
        drawText(p, QString::fromUtf8(item.text), item.size, item.x, item.y, QColor(item.r, item.g, item.b),
                 item.shadow, item.angle);
    };
    // In the renderer's order: the clock and date items, the month grid, then the notice, the
    // note and the weather.
    const auto drawItems = [&](bool beforeGrid) {
        bool before = true;
        for (const Item &item : kItems) {
            before = before && QByteArray(item.group) != "Notify";
            if (before == beforeGrid)
                drawItem(item, item.picture ? images + QString::fromUtf8(item.picture) : QString());
        }
    };
    drawItems(true);

    // The month grid of December 2026: starts on a Tuesday, today the 8th.
    drawPicture(p, images + QStringLiteral("lantern_cal.png"), 2, 64, 112, 150);
    const QFont font(QStringLiteral("AMCSL"), 8);
    p.setFont(font);
    const QFontMetrics metrics(font);
    const int cellW = int(metrics.horizontalAdvance(QStringLiteral("00")) * 1.3);
    const int cellH = int(metrics.height() * 1.1);
    QStringList cells = kWeekNames;
    cells << QStringLiteral(" ");
    for (int d = 1; d <= 31; ++d)
        cells << QStringLiteral("%1 ").arg(d, 2, 10, QLatin1Char('0'));
    const QImage today(images + QStringLiteral("lantern_today.png"));
    for (int j = 0; j < cells.size(); ++j) {
        const int x = 6 + (j % 7) * cellW, y = 70 + (j / 7) * cellH;
        if (j == 15)
            p.drawImage(x - 2, y - 2, today);
        p.setPen(QColor(128, 128, 128));
        p.drawText(QRect(x + 1, y + 1, 240, 320), Qt::AlignLeft | Qt::AlignTop, cells.at(j));
        p.setPen(j == 15 ? QColor(255, 255, 0) : QColor(255, 255, 255));
        p.drawText(QRect(x, y, 240, 320), Qt::AlignLeft | Qt::AlignTop, cells.at(j));
    }

    drawItems(false);
    const QList<Item> weather = weatherItems();
    for (const Item &item : weather)
        drawItem(item, item.picture ? dir + QStringLiteral("resource/WeatherIcons/") + QString::fromUtf8(item.picture)
                                          + QStringLiteral(".png")
                                    : QString());
    p.end();
    return picture;
}

} // namespace AllItems
