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
    QStringLiteral("about"), QStringLiteral("add"), QStringLiteral("autorun"), QStringLiteral("check"), QStringLiteral("checkadd"), QStringLiteral("checkdelete"), QStringLiteral("checkexit"), QStringLiteral("delete"), QStringLiteral("edit"),
    QStringLiteral("editn"), QStringLiteral("enable"), QStringLiteral("endedit"), QStringLiteral("exitn"), QStringLiteral("festival"), QStringLiteral("idlerefresh"), QStringLiteral("link"), QStringLiteral("mngselffestival"),
    QStringLiteral("mngselfnotify"), QStringLiteral("mngwallpaper"), QStringLiteral("notify"), QStringLiteral("quit"), QStringLiteral("refresh"), QStringLiteral("reorder"), QStringLiteral("run"), QStringLiteral("saveasedit"),
    QStringLiteral("saveedit"), QStringLiteral("selectall"), QStringLiteral("selectnone"), QStringLiteral("selffestival"), QStringLiteral("selfnotify"), QStringLiteral("setting"), QStringLiteral("shadow"), QStringLiteral("sharp"),
    QStringLiteral("startedit"), QStringLiteral("theme"), QStringLiteral("themelist"), QStringLiteral("time"), QStringLiteral("wallpaper"), QStringLiteral("weather")};

// Every text key the settings program looks up.
const QStringList kTextKeys = {
    QStringLiteral("Quillora"), QStringLiteral("InitText"), QStringLiteral("Settings"), QStringLiteral("Notices"), QStringLiteral("Wallpaper"), QStringLiteral("ThemeSettings"), QStringLiteral("WeatherShow"),
    QStringLiteral("Options"), QStringLiteral("Preview"), QStringLiteral("EditTheme"), QStringLiteral("EditStart"), QStringLiteral("EditSave"), QStringLiteral("EditSaveAs"), QStringLiteral("EditEnd"),
    QStringLiteral("RefreshDesktop"), QStringLiteral("RunDeamon"), QStringLiteral("StopDeamon"), QStringLiteral("RefreshSysTime"), QStringLiteral("LInkThemePath"),
    QStringLiteral("RemoveThemePath"), QStringLiteral("About"), QStringLiteral("Exit"), QStringLiteral("RefreshDesktopText"), QStringLiteral("RunDeamonText"), QStringLiteral("StopDeamonText"),
    QStringLiteral("Caution"), QStringLiteral("RefreshSysTimeText"), QStringLiteral("RefreshSysTimeText1"), QStringLiteral("RefreshSysTimeText2"), QStringLiteral("AutoRunEnabled"),
    QStringLiteral("AutoRunCanceled"), QStringLiteral("AddWallpaperText"), QStringLiteral("RunWallpaperChange"), QStringLiteral("StopWallpaperChange"),
    QStringLiteral("LInkThemePathText"), QStringLiteral("RemoveThemePathText"), QStringLiteral("SaveAs"), QStringLiteral("FileName"), QStringLiteral("ThemeExistText"),
    QStringLiteral("SaveAsText"), QStringLiteral("Language"), QStringLiteral("Theme"), QStringLiteral("AutoRun"), QStringLiteral("SwitchThemeList"), QStringLiteral("EnableRefresh"),
    QStringLiteral("UnIdleRefresh"), QStringLiteral("SysFestival"), QStringLiteral("CusNotice"), QStringLiteral("CusFestival"), QStringLiteral("CusNoticeMng"), QStringLiteral("CusFestivalMng"),
    QStringLiteral("WallpaperListMng"), QStringLiteral("ChangeMode"), QStringLiteral("Inorder"), QStringLiteral("Random"), QStringLiteral("Interval"), QStringLiteral("ShowWeather"), QStringLiteral("Item"),
    QStringLiteral("Realtime"), QStringLiteral("Day1"), QStringLiteral("Day2"), QStringLiteral("Day3"), QStringLiteral("Day4"), QStringLiteral("Day5"), QStringLiteral("SysTime"), QStringLiteral("Time_Hour"), QStringLiteral("Time_Minute"),
    QStringLiteral("Date_Year"), QStringLiteral("Date_Month"), QStringLiteral("Date_Day"), QStringLiteral("Lunar_Year"), QStringLiteral("Lunar_Month"), QStringLiteral("Lunar_Day"), QStringLiteral("Week"),
    QStringLiteral("Calendar"), QStringLiteral("Notice"), QStringLiteral("Note"), QStringLiteral("Weather_City"), QStringLiteral("Weather_Date"), QStringLiteral("Weather_Description"),
    QStringLiteral("Weather_Temperature"), QStringLiteral("Weather_Wind"), QStringLiteral("Enable"), QStringLiteral("Shadow"), QStringLiteral("FontSize"), QStringLiteral("RotateAngle"),
    QStringLiteral("Position"), QStringLiteral("FontColor"), QStringLiteral("BgImage"), QStringLiteral("ImageSize"), QStringLiteral("Width"), QStringLiteral("Height"), QStringLiteral("ImagePositon"), QStringLiteral("OK"),
    QStringLiteral("Back"), QStringLiteral("Save"), QStringLiteral("Cancel"), QStringLiteral("AddCusNotice"), QStringLiteral("EditCusNotice"), QStringLiteral("AddCusFestival"),
    QStringLiteral("EditCusFestival"), QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Festival"), QStringLiteral("EditNoticeText"), QStringLiteral("AddNoticeText"),
    QStringLiteral("EditFestivalText"), QStringLiteral("Add"), QStringLiteral("Edit"), QStringLiteral("Delete"), QStringLiteral("Check"), QStringLiteral("MultiSelect"), QStringLiteral("Remove"), QStringLiteral("Reorder"),
    QStringLiteral("SetAsWallpaper"), QStringLiteral("SetAsWallpaperText"), QStringLiteral("CancelRemove"), QStringLiteral("SelectAll"), QStringLiteral("SelectNone"), QStringLiteral("Grab"),
    QStringLiteral("Insert"), QStringLiteral("AddWallpaper"), QStringLiteral("CancelAdd"), QStringLiteral("CheckWallpaper"), QStringLiteral("BadFileNameText")};

QStringList itemGroups()
{
    QStringList groups = {QStringLiteral("SysTime"), QStringLiteral("Time_Hour"), QStringLiteral("Time_Minute"), QStringLiteral("Date_Year"), QStringLiteral("Date_Month"), QStringLiteral("Date_Day"),
                          QStringLiteral("Lunar_Year"), QStringLiteral("Lunar_Month"), QStringLiteral("Lunar_Day"), QStringLiteral("Week"), QStringLiteral("Calendar"), QStringLiteral("Notify"), QStringLiteral("Note")};
    for (int day = 1; day <= 5; ++day) {
        for (const char *field : {"City", "Date", "Description", "Temperature", "Wind"})
            groups << QStringLiteral("Weather%1_%2").arg(day).arg(QLatin1String(field));
    }
    return groups;
}

QStringList shippedThemes()
{
    return QDir(TestEnv::path(QStringLiteral("theme"))).entryList({QStringLiteral("*.theme")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QStringList fileLines(const QString &relative)
{
    QFile f(TestEnv::path(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(f.readAll());
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

// A picture that loads and is not blank.
void checkPicture(const QString &relative, const QSize &size = QSize())
{
    QImage img(TestEnv::path(relative));
    QVERIFY2(!img.isNull(), qPrintable(relative + QStringLiteral(" does not load")));
    if (size.isValid())
        QCOMPARE(img.size(), size);
    bool drawn = false;
    const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height() && !drawn; ++y) {
        for (int x = 0; x < argb.width() && !drawn; ++x)
            drawn = qAlpha(argb.pixel(x, y)) > 0;
    }
    QVERIFY2(drawn, qPrintable(relative + QStringLiteral(" is empty")));
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
            QTest::newRow(qPrintable(QStringLiteral("icon ") + name)) << QStringLiteral("resource/icons/") + name + QStringLiteral(".png") << QSize(24, 24);
        for (const char *name : {"fm_folder_small", "fm_missing_small", "fm_pic_small", "gen_back_to_arrw_small"})
            QTest::newRow(name) << QStringLiteral("resource/sysicons/%1.png").arg(QLatin1String(name)) << QSize(24, 24);
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
        const QStringList pictures = QDir(TestEnv::path(QStringLiteral("resource/wallpapers"))).entryList({QStringLiteral("*.png")}, QDir::Files);
        QVERIFY(pictures.size() >= 4);
        for (const QString &name : pictures) {
            QImageReader reader(TestEnv::path(QStringLiteral("resource/wallpapers/") + name));
            QCOMPARE(reader.size(), QSize(240, 320));
        }
        // The rotator needs at least two entries, each naming a picture that loads.
        // The shipped list names them relative to the program directory, so it moves with it.
        for (const QString &line : fileLines(QStringLiteral("wallpaper.list")))
            QVERIFY2(line.startsWith(QLatin1String("resource/wallpapers/")), qPrintable(line));
        QStringList entries;
        WallpaperList::readList(TestEnv::path(QStringLiteral("wallpaper.list")), entries);
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
        const QString path = TestEnv::path(QStringLiteral("resource/language/") + file);
        QVERIFY(QFile::exists(path));
        ZConfig lng(path);
        QCOMPARE(lng.groupList(), QStringList{QStringLiteral("Quillora")});
        QStringList missing;
        for (const QString &key : kTextKeys) {
            if (lng.readEntry(QStringLiteral("Quillora"), key, QString()).trimmed().isEmpty())
                missing << key;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("missing: ") + missing.join(QLatin1Char(' '))));
        // The wallpaper message takes the path in its place marker.
        QVERIFY(lng.readEntry(QStringLiteral("Quillora"), QStringLiteral("SetAsWallpaperText")).contains(QStringLiteral("%1")));
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
        const QStringList lines = fileLines(QStringLiteral("theme/") + theme);
        QVERIFY(!lines.isEmpty());
        // Entries sit directly under their header, "key = value".
        static const QRegularExpression entry(QStringLiteral("^[A-Za-z0-9_]+ = .*$")), header(QStringLiteral("^\\[[A-Za-z0-9_]+\\]$"));
        for (const QString &line : lines)
            QVERIFY2(entry.match(line).hasMatch() || header.match(line).hasMatch(), qPrintable(line));

        ZConfig cfg(TestEnv::path(QStringLiteral("theme/") + theme));
        const QStringList known = itemGroups();
        for (const QString &group : cfg.groupList()) {
            QVERIFY2(known.contains(group), qPrintable(QStringLiteral("unknown group ") + group));
            for (const char *key : {"BGImage", "TodayBGImage"}) {
                const QString pic = cfg.readEntry(group, QLatin1String(key), QString());
                if (!pic.isEmpty())
                    checkPicture(QStringLiteral("theme/images/") + pic);
            }
            if (!cfg.readBoolEntry(group, QStringLiteral("Enable"), false))
                continue;
            // Text origins and panels lie on the 240 x 320 screen.
            const int x = cfg.readNumEntry(group, QStringLiteral("Position_X"), -1), y = cfg.readNumEntry(group, QStringLiteral("Position_Y"), -1);
            QVERIFY2(x >= 0 && x < 240 && y >= 0 && y < 320, qPrintable(group));
            if (!cfg.readEntry(group, QStringLiteral("BGImage"), QString()).isEmpty() && !group.endsWith(QStringLiteral("_Description"))) {
                const QRect box(cfg.readNumEntry(group, QStringLiteral("BGImage_X"), -1), cfg.readNumEntry(group, QStringLiteral("BGImage_Y"), -1),
                                cfg.readNumEntry(group, QStringLiteral("BGImage_W"), -1), cfg.readNumEntry(group, QStringLiteral("BGImage_H"), -1));
                QVERIFY2(QRect(0, 0, 240, 320).contains(box), qPrintable(group));
            }
            for (const char *key : {"MonthList", "WeekList"}) {
                const QStringList names = cfg.readListEntry(group, QLatin1String(key), QLatin1Char(','));
                const int want = QByteArray(key) == "MonthList" ? 12 : 7;
                QVERIFY2(names.isEmpty() || names.size() == want, qPrintable(group + QLatin1Char(' ') + QLatin1String(key)));
            }
        }
    }

    void themesTogetherShowEveryItem()
    {
        QSet<QString> enabled;
        bool monthNames = false, chineseWeek = false;
        for (const QString &theme : shippedThemes()) {
            ZConfig cfg(TestEnv::path(QStringLiteral("theme/") + theme));
            for (const QString &group : itemGroups()) {
                if (cfg.readBoolEntry(group, QStringLiteral("Enable"), false))
                    enabled.insert(group);
            }
            monthNames |= cfg.readListEntry(QStringLiteral("Date_Month"), QStringLiteral("MonthList"), QLatin1Char(',')).size() == 12;
            const QStringList week = cfg.readListEntry(QStringLiteral("Week"), QStringLiteral("WeekList"), QLatin1Char(','));
            chineseWeek |= week.size() == 7 && week.first().contains(QChar(0x661f)); // 星
        }
        QStringList missing;
        for (const QString &group : itemGroups()) {
            if (!enabled.contains(group))
                missing << group;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(' '))));
        QVERIFY(monthNames);
        QVERIFY(chineseWeek);
    }

    void settings()
    {
        ZConfig cfg(TestEnv::path(QStringLiteral("settings.ini")));
        const QString theme = cfg.readEntry(QStringLiteral("Quillora"), QStringLiteral("CurrentTheme"), QString());
        QVERIFY(theme.endsWith(QStringLiteral(".theme")));
        QVERIFY(shippedThemes().contains(theme));
        // No language stored: the settings program speaks the system's language.
        QVERIFY(!cfg.hasEntry(QStringLiteral("Quillora"), QStringLiteral("Language")));
        // The phone's shipped clock is the default theme's: the clock follows the theme.
        QVERIFY(cfg.readBoolEntry(QStringLiteral("Quillora"), QStringLiteral("ClockFollowsTheme"), false));
        // A program directory without settings.ini reads these same defaults.
        QCOMPARE(TestEnv::readFile(QStringLiteral("resource/defaults.ini")), TestEnv::readFile(QStringLiteral("settings.ini")));
        const QStringList cycle = cfg.readListEntry(QStringLiteral("Quillora"), QStringLiteral("ThemeList"), QLatin1Char(';'));
        QVERIFY(cycle.size() >= 2);
        for (const QString &t : cycle)
            QVERIFY2(shippedThemes().contains(t), qPrintable(t));
        for (const char *key : {"WeatherShow", "Refresh", "FestivalNotify", "CustomNotify", "CustomFestival"})
            QVERIFY2(cfg.readBoolEntry(QStringLiteral("Quillora"), QLatin1String(key), false), key);
        const int interval = cfg.readNumEntry(QStringLiteral("Quillora"), QStringLiteral("ChangeTime"), -1);
        QVERIFY(interval >= 1 && interval <= 60);
    }

    void noticeDatabase()
    {
        const QByteArray bytes = TestEnv::readFile(QStringLiteral("notify.db"));
        QVERIFY(bytes.endsWith('\n'));
        // The list managers read "key = value" lines straight under each header.
        static const QRegularExpression entry(QStringLiteral("^([^=\\[]+) = (.+)$")), header(QStringLiteral("^\\[(\\w+)\\]$"));
        QString group;
        QMap<QString, QStringList> keys;
        for (const QString &line : fileLines(QStringLiteral("notify.db"))) {
            const QRegularExpressionMatch h = header.match(line);
            if (h.hasMatch()) {
                group = h.captured(1);
                continue;
            }
            const QRegularExpressionMatch e = entry.match(line);
            QVERIFY2(e.hasMatch() && !group.isEmpty(), qPrintable(line));
            keys[group] << e.captured(1);
        }
        QCOMPARE(QStringList(keys.keys()), (QStringList{QStringLiteral("CustomFestival"), QStringLiteral("CustomNotify"), QStringLiteral("FestivalNotify")}));

        static const QRegularExpression solar(QStringLiteral("^(\\d\\d)/(\\d\\d)$")), lunar(QStringLiteral("^(\\d\\d)\\$(\\d\\d)$")),
            term(QStringLiteral("^T\\$(\\d\\d)$"));
        int solarCount = 0, lunarCount = 0;
        QSet<int> terms;
        for (const QString &key : keys.value(QStringLiteral("FestivalNotify"))) {
            if (key == QStringLiteral("12$LAST"))
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

        ZConfig db(TestEnv::path(QStringLiteral("notify.db")));
        QVERIFY(!db.readEntry(QStringLiteral("CustomNotify"), QStringLiteral("1901/01/01"), QString()).isEmpty());
        QVERIFY(!db.readEntry(QStringLiteral("CustomFestival"), QStringLiteral("02/31"), QString()).isEmpty());
        QCOMPARE(db.readEntry(QStringLiteral("FestivalNotify"), QStringLiteral("01$01"), QString()), QString::fromUtf8("春节"));
        QCOMPARE(db.readEntry(QStringLiteral("FestivalNotify"), QStringLiteral("08$15"), QString()), QString::fromUtf8("中秋节"));
        QCOMPARE(db.readEntry(QStringLiteral("FestivalNotify"), QStringLiteral("12$LAST"), QString()), QString::fromUtf8("除夕"));
        QCOMPARE(db.readEntry(QStringLiteral("FestivalNotify"), QStringLiteral("T$03"), QString()), QString::fromUtf8("立春"));
        QCOMPARE(db.readEntry(QStringLiteral("FestivalNotify"), QStringLiteral("T$24"), QString()), QString::fromUtf8("冬至"));
        const QStringList countdown = db.readEntry(QStringLiteral("CustomNotify"), QStringLiteral("1901/01/02"), QString()).split(QLatin1Char('|'), Qt::SkipEmptyParts);
        QCOMPARE(countdown.size(), 4);
        QVERIFY(QDate(countdown[0].toInt(), countdown[1].toInt(), countdown[2].toInt()).isValid());
    }

    void weatherSample()
    {
        const QStringList lines = fileLines(QStringLiteral("device/ezxlocal/.weather"));
        QVERIFY(lines.size() >= 32);
        QVERIFY(!lines[1].trimmed().isEmpty());
        for (int day = 1; day <= 5; ++day) {
            const QStringList words = lines[5 * day + 1].split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QVERIFY2(words.size() >= 2, qPrintable(lines[5 * day + 1]));
            const QStringList temps = lines[5 * day + 2].split(QLatin1Char('/'), Qt::SkipEmptyParts);
            QCOMPARE(temps.size(), 2);
            for (const QString &t : temps) {
                bool ok = false;
                t.toDouble(&ok);
                QVERIFY2(ok, qPrintable(t));
            }
            QVERIFY(!lines[5 * day + 3].isEmpty());
            const QString icon = lines[5 * day + 4].section(QLatin1Char('.'), 0, 0);
            checkPicture(QStringLiteral("resource/WeatherIcons/") + icon + QStringLiteral(".png"), QSize(48, 48));
        }
    }

    void phoneClockSettings()
    {
        ZConfig phone(TestEnv::path(QStringLiteral("device/phone/phone_p.ini")));
        QVERIFY(phone.readNumEntry(QStringLiteral("Idle"), QStringLiteral("Padding_Right"), -1) >= 0);
        QVERIFY(phone.readNumEntry(QStringLiteral("Idle"), QStringLiteral("Padding_Bottom"), -1) >= 0);
        QVERIFY(phone.readNumEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Size"), -1) > 0);
        const int colour = phone.readNumEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Color"), -1);
        QVERIFY(colour >= 0 && colour <= 0xffffff);
    }
};

QUILLORA_TEST_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
