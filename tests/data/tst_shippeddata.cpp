// The data the program directory ships: pictures, language files, themes, settings, the
// notice database, the weather sample and the phone's clock settings. Each check reads the
// files the way the programs of the suite read them.

#include "testenv.h"
#include "wallpaperlist.h"
#include "zconfig.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QtTest/QtTest>

namespace {

const QStringList kMenuIcons = {
    "about", "add", "autorun", "check", "checkadd", "checkdelete", "checkexit", "delete", "edit",
    "editn", "enable", "endedit", "exitn", "festival", "idlerefresh", "link", "mngselffestival",
    "mngselfnotify", "mngwallpaper", "notify", "quit", "refresh", "reorder", "run", "saveasedit",
    "saveedit", "selectall", "selectnone", "selffestival", "selfnotify", "setting", "shadow", "sharp",
    "startedit", "theme", "themelist", "time", "wallpaper", "weather"};

// Every text key the settings program looks up.
const QStringList kTextKeys = {
    "Quillora", "InitText", "Settings", "Notices", "Wallpaper", "ThemeSettings", "WeatherShow",
    "Options", "Preview", "EditTheme", "EditStart", "EditSave", "EditSaveAs", "EditEnd",
    "RefreshDesktop", "RunDeamon", "StopDeamon", "RefreshSysTime", "LInkThemePath",
    "RemoveThemePath", "About", "Exit", "RefreshDesktopText", "RunDeamonText", "StopDeamonText",
    "Caution", "RefreshSysTimeText", "RefreshSysTimeText1", "RefreshSysTimeText2", "AutoRunEnabled",
    "AutoRunCanceled", "AddWallpaperText", "RunWallpaperChange", "StopWallpaperChange",
    "LInkThemePathText", "RemoveThemePathText", "SaveAs", "FileName", "ThemeExistText",
    "SaveAsText", "Language", "Theme", "AutoRun", "SwitchThemeList", "EnableRefresh",
    "UnIdleRefresh", "SysFestival", "CusNotice", "CusFestival", "CusNoticeMng", "CusFestivalMng",
    "WallpaperListMng", "ChangeMode", "Inorder", "Random", "Interval", "ShowWeather", "Item",
    "Realtime", "Day1", "Day2", "Day3", "Day4", "Day5", "SysTime", "Time_Hour", "Time_Minute",
    "Date_Year", "Date_Month", "Date_Day", "Lunar_Year", "Lunar_Month", "Lunar_Day", "Week",
    "Calendar", "Notice", "Note", "Weather_City", "Weather_Date", "Weather_Description",
    "Weather_Temperature", "Weather_Wind", "Enable", "Shadow", "FontSize", "RotateAngle",
    "Position", "FontColor", "BgImage", "ImageSize", "Width", "Height", "ImagePositon", "OK",
    "Back", "Save", "Cancel", "AddCusNotice", "EditCusNotice", "AddCusFestival",
    "EditCusFestival", "Date", "Time", "Festival", "EditNoticeText", "AddNoticeText",
    "EditFestivalText", "Add", "Edit", "Delete", "Check", "MultiSelect", "Remove", "Reorder",
    "SetAsWallpaper", "SetAsWallpaperText", "CancelRemove", "SelectAll", "SelectNone", "Grab",
    "Insert", "AddWallpaper", "CancelAdd", "CheckWallpaper", "BadFileNameText"};

QStringList itemGroups()
{
    QStringList groups = {"SysTime", "Time_Hour", "Time_Minute", "Date_Year", "Date_Month", "Date_Day",
                          "Lunar_Year", "Lunar_Month", "Lunar_Day", "Week", "Calendar", "Notify", "Note"};
    for (int day = 1; day <= 5; ++day) {
        for (const char *field : {"City", "Date", "Description", "Temperature", "Wind"})
            groups << QString("Weather%1_%2").arg(day).arg(field);
    }
    return groups;
}

QStringList shippedThemes()
{
    return QDir(TestEnv::path("theme")).entryList({"*.theme"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QStringList fileLines(const QString &relative)
{
    QFile f(TestEnv::path(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(f.readAll());
    if (text.endsWith('\n'))
        text.chop(1);
    return text.split('\n');
}

// A picture that loads and is not blank.
void checkPicture(const QString &relative, const QSize &size = QSize())
{
    QImage img(TestEnv::path(relative));
    QVERIFY2(!img.isNull(), qPrintable(relative + " does not load"));
    if (size.isValid())
        QCOMPARE(img.size(), size);
    bool drawn = false;
    const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height() && !drawn; ++y) {
        for (int x = 0; x < argb.width() && !drawn; ++x)
            drawn = qAlpha(argb.pixel(x, y)) > 0;
    }
    QVERIFY2(drawn, qPrintable(relative + " is empty"));
}

} // namespace

class TestShippedData : public QObject
{
    Q_OBJECT

private slots:
    void pictures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        for (const QString &name : kMenuIcons)
            QTest::newRow(qPrintable("icon " + name)) << "resource/icons/" + name + ".png" << QSize(24, 24);
        for (const char *name : {"fm_folder_small", "fm_missing_small", "fm_pic_small", "gen_back_to_arrw_small"})
            QTest::newRow(name) << QString("resource/sysicons/%1.png").arg(name) << QSize(24, 24);
        QTest::newRow("program icon") << "show.png" << QSize(48, 48);
        QTest::newRow("default wallpaper") << "resource/wallpapers/default.png" << QSize(240, 320);
    }
    void pictures()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        checkPicture(file, size);
    }

    void wallpaperList()
    {
        const QStringList pictures = QDir(TestEnv::path("resource/wallpapers")).entryList({"*.png"}, QDir::Files);
        QVERIFY(pictures.size() >= 4);
        for (const QString &name : pictures) {
            QImageReader reader(TestEnv::path("resource/wallpapers/" + name));
            QCOMPARE(reader.size(), QSize(240, 320));
        }
        // The rotator needs at least two entries, each naming a picture that loads.
        // The shipped list names them relative to the program directory, so it moves with it.
        for (const QString &line : fileLines("wallpaper.list"))
            QVERIFY2(line.startsWith(QLatin1String("resource/wallpapers/")), qPrintable(line));
        QStringList entries;
        WallpaperList::readList(TestEnv::path("wallpaper.list"), entries);
        QVERIFY(entries.size() >= 2);
        for (const QString &entry : entries)
            QVERIFY2(!QImage(entry).isNull(), qPrintable(entry));
    }

    void languages_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("English") << "English.lng";
        QTest::newRow("Simplified Chinese") << QString::fromUtf8("简体中文.lng");
    }
    void languages()
    {
        QFETCH(QString, file);
        const QString path = TestEnv::path("resource/language/" + file);
        QVERIFY(QFile::exists(path));
        ZConfig lng(path);
        QCOMPARE(lng.groupList(), QStringList{"Quillora"});
        QStringList missing;
        for (const QString &key : kTextKeys) {
            if (lng.readEntry("Quillora", key, QString()).trimmed().isEmpty())
                missing << key;
        }
        QVERIFY2(missing.isEmpty(), qPrintable("missing: " + missing.join(' ')));
        // The wallpaper message takes the path in its place marker.
        QVERIFY(lng.readEntry("Quillora", "SetAsWallpaperText").contains("%1"));
    }

    void themes_data()
    {
        QTest::addColumn<QString>("theme");
        const QStringList themes = shippedThemes();
        QVERIFY(themes.size() >= 2);
        for (const QString &t : themes)
            QTest::newRow(qPrintable(t)) << t;
    }
    void themes()
    {
        QFETCH(QString, theme);
        const QStringList lines = fileLines("theme/" + theme);
        QVERIFY(!lines.isEmpty());
        // Entries sit directly under their header, "key = value".
        static const QRegularExpression entry("^[A-Za-z0-9_]+ = .*$"), header("^\\[[A-Za-z0-9_]+\\]$");
        for (const QString &line : lines)
            QVERIFY2(entry.match(line).hasMatch() || header.match(line).hasMatch(), qPrintable(line));

        ZConfig cfg(TestEnv::path("theme/" + theme));
        const QStringList known = itemGroups();
        for (const QString &group : cfg.groupList()) {
            QVERIFY2(known.contains(group), qPrintable("unknown group " + group));
            for (const char *key : {"BGImage", "TodayBGImage"}) {
                const QString pic = cfg.readEntry(group, key, QString());
                if (!pic.isEmpty())
                    checkPicture("theme/images/" + pic);
            }
            if (!cfg.readBoolEntry(group, "Enable", false))
                continue;
            // Text origins and panels lie on the 240 x 320 screen.
            const int x = cfg.readNumEntry(group, "Position_X", -1), y = cfg.readNumEntry(group, "Position_Y", -1);
            QVERIFY2(x >= 0 && x < 240 && y >= 0 && y < 320, qPrintable(group));
            if (!cfg.readEntry(group, "BGImage", QString()).isEmpty() && !group.endsWith("_Description")) {
                const QRect box(cfg.readNumEntry(group, "BGImage_X", -1), cfg.readNumEntry(group, "BGImage_Y", -1),
                                cfg.readNumEntry(group, "BGImage_W", -1), cfg.readNumEntry(group, "BGImage_H", -1));
                QVERIFY2(QRect(0, 0, 240, 320).contains(box), qPrintable(group));
            }
            for (const char *key : {"MonthList", "WeekList"}) {
                const QStringList names = cfg.readListEntry(group, key, ',');
                const int want = QByteArray(key) == "MonthList" ? 12 : 7;
                QVERIFY2(names.isEmpty() || names.size() == want, qPrintable(group + " " + key));
            }
        }
    }

    void themesTogetherShowEveryItem()
    {
        QSet<QString> enabled;
        bool monthNames = false, chineseWeek = false;
        for (const QString &theme : shippedThemes()) {
            ZConfig cfg(TestEnv::path("theme/" + theme));
            for (const QString &group : itemGroups()) {
                if (cfg.readBoolEntry(group, "Enable", false))
                    enabled.insert(group);
            }
            monthNames |= cfg.readListEntry("Date_Month", "MonthList", ',').size() == 12;
            const QStringList week = cfg.readListEntry("Week", "WeekList", ',');
            chineseWeek |= week.size() == 7 && week.first().contains(QChar(0x661f)); // 星
        }
        QStringList missing;
        for (const QString &group : itemGroups()) {
            if (!enabled.contains(group))
                missing << group;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(' ')));
        QVERIFY(monthNames);
        QVERIFY(chineseWeek);
    }

    void settings()
    {
        ZConfig cfg(TestEnv::path("settings.ini"));
        const QString theme = cfg.readEntry("Quillora", "CurrentTheme", QString());
        QVERIFY(theme.endsWith(".theme"));
        QVERIFY(shippedThemes().contains(theme));
        // No language stored: the settings program speaks the system's language.
        QVERIFY(!cfg.hasEntry("Quillora", "Language"));
        // The phone's shipped clock is the default theme's: the clock follows the theme.
        QVERIFY(cfg.readBoolEntry("Quillora", "ClockFollowsTheme", false));
        // A program directory without settings.ini reads these same defaults.
        QCOMPARE(TestEnv::readFile("resource/defaults.ini"), TestEnv::readFile("settings.ini"));
        const QStringList cycle = cfg.readListEntry("Quillora", "ThemeList", ';');
        QVERIFY(cycle.size() >= 2);
        for (const QString &t : cycle)
            QVERIFY2(shippedThemes().contains(t), qPrintable(t));
        for (const char *key : {"WeatherShow", "Refresh", "FestivalNotify", "CustomNotify", "CustomFestival"})
            QVERIFY2(cfg.readBoolEntry("Quillora", key, false), key);
        const int interval = cfg.readNumEntry("Quillora", "ChangeTime", -1);
        QVERIFY(interval >= 1 && interval <= 60);
    }

    void noticeDatabase()
    {
        const QByteArray bytes = TestEnv::readFile("notify.db");
        QVERIFY(bytes.endsWith('\n'));
        // The list managers read "key = value" lines straight under each header.
        static const QRegularExpression entry("^([^=\\[]+) = (.+)$"), header("^\\[(\\w+)\\]$");
        QString group;
        QMap<QString, QStringList> keys;
        for (const QString &line : fileLines("notify.db")) {
            const QRegularExpressionMatch h = header.match(line);
            if (h.hasMatch()) {
                group = h.captured(1);
                continue;
            }
            const QRegularExpressionMatch e = entry.match(line);
            QVERIFY2(e.hasMatch() && !group.isEmpty(), qPrintable(line));
            keys[group] << e.captured(1);
        }
        QCOMPARE(QStringList(keys.keys()), (QStringList{"CustomFestival", "CustomNotify", "FestivalNotify"}));

        static const QRegularExpression solar("^(\\d\\d)/(\\d\\d)$"), lunar("^(\\d\\d)\\$(\\d\\d)$"),
            term("^T\\$(\\d\\d)$");
        int solarCount = 0, lunarCount = 0;
        QSet<int> terms;
        for (const QString &key : keys.value("FestivalNotify")) {
            if (key == "12$LAST")
                continue;
            QRegularExpressionMatch m = term.match(key);
            if (m.hasMatch()) {
                const int n = m.captured(1).toInt();
                QVERIFY2(n >= 1 && n <= 24, qPrintable(key));
                terms << n;
                continue;
            }
            m = solar.match(key);
            if (m.hasMatch()) {
                QVERIFY2(QDate(2024, m.captured(1).toInt(), m.captured(2).toInt()).isValid(), qPrintable(key));
                ++solarCount;
                continue;
            }
            m = lunar.match(key);
            QVERIFY2(m.hasMatch(), qPrintable(key));
            const int month = m.captured(1).toInt(), day = m.captured(2).toInt();
            QVERIFY2(month >= 1 && month <= 12 && day >= 1 && day <= 30, qPrintable(key));
            ++lunarCount;
        }
        QVERIFY(solarCount >= 6 && lunarCount >= 6);
        // Every one of the 24 solar terms is named, and New Year's Eve is found by rule.
        QCOMPARE(terms.size(), 24);

        ZConfig db(TestEnv::path("notify.db"));
        QVERIFY(!db.readEntry("CustomNotify", "1901/01/01", QString()).isEmpty());
        QVERIFY(!db.readEntry("CustomFestival", "02/31", QString()).isEmpty());
        QCOMPARE(db.readEntry("FestivalNotify", "01$01", QString()), QString::fromUtf8("春节"));
        QCOMPARE(db.readEntry("FestivalNotify", "08$15", QString()), QString::fromUtf8("中秋节"));
        QCOMPARE(db.readEntry("FestivalNotify", "12$LAST", QString()), QString::fromUtf8("除夕"));
        QCOMPARE(db.readEntry("FestivalNotify", "T$03", QString()), QString::fromUtf8("立春"));
        QCOMPARE(db.readEntry("FestivalNotify", "T$24", QString()), QString::fromUtf8("冬至"));
        const QStringList countdown = db.readEntry("CustomNotify", "1901/01/02", QString()).split('|', Qt::SkipEmptyParts);
        QCOMPARE(countdown.size(), 4);
        QVERIFY(QDate(countdown[0].toInt(), countdown[1].toInt(), countdown[2].toInt()).isValid());
    }

    void weatherSample()
    {
        const QStringList lines = fileLines("device/ezxlocal/.weather");
        QVERIFY(lines.size() >= 32);
        QVERIFY(!lines[1].trimmed().isEmpty());
        for (int day = 1; day <= 5; ++day) {
            const QStringList words = lines[5 * day + 1].split(' ', Qt::SkipEmptyParts);
            QVERIFY2(words.size() >= 2, qPrintable(lines[5 * day + 1]));
            const QStringList temps = lines[5 * day + 2].split('/', Qt::SkipEmptyParts);
            QCOMPARE(temps.size(), 2);
            for (const QString &t : temps) {
                bool ok = false;
                t.toDouble(&ok);
                QVERIFY2(ok, qPrintable(t));
            }
            QVERIFY(!lines[5 * day + 3].isEmpty());
            const QString icon = lines[5 * day + 4].section('.', 0, 0);
            checkPicture("resource/WeatherIcons/" + icon + ".png", QSize(48, 48));
        }
    }

    void phoneClockSettings()
    {
        ZConfig phone(TestEnv::path("device/phone/phone_p.ini"));
        QVERIFY(phone.readNumEntry("Idle", "Padding_Right", -1) >= 0);
        QVERIFY(phone.readNumEntry("Idle", "Padding_Bottom", -1) >= 0);
        QVERIFY(phone.readNumEntry("Font_DigitalClockStd", "Size", -1) > 0);
        const int colour = phone.readNumEntry("Font_DigitalClockStd", "Color", -1);
        QVERIFY(colour >= 0 && colour <= 0xffffff);
    }
};

QUILLORA_TEST_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
