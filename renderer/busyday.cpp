#include "busyday.h"

#include "festivalkeys.h"

namespace BusyDay {

QList<QDate> days()
{
    QList<QDate> list;
    // 2033-12-22 to 2034-01-19 is the leap eleventh month; 2034-01-01 is a Sunday, so January
    // 2034 fills six rows of a Monday-first calendar.
    for (QDate d(2033, 12, 26); d <= QDate(2034, 1, 1); d = d.addDays(1))
        list << d;
    // New Year's Eve (the 30th of the twelfth month) that is also the solar term 雨水: the one
    // day of the year with every kind of festival at once.
    list << QDate(2034, 2, 18);
    for (int month = 2; month <= 12; ++month)
        list << QDate(2034, month, 28);
    return list;
}

QByteArray settings()
{
    return "[Quillora]\nCustomNotify = true\nCustomFestival = true\nFestivalNotify = true\nWeatherShow = true\n";
}

QByteArray notifyDb(const QDate &day)
{
    const QByteArray date = day.toString(QStringLiteral("yyyy/MM/dd")).toLatin1();
    const QByteArray monthDay = day.toString(QStringLiteral("MM/dd")).toLatin1();
    QByteArray db = "[CustomNotify]\n";
    db += date + " = 下午三点牙医复诊，记得带病历\n";
    db += "1901/01/01 = 买牛奶和面包|周五交电费|给妈妈打电话\n";
    // A countdown a year ahead: the widest realistic count.
    const QDate target = day.addDays(365);
    db += "1901/01/02 = " + QByteArray::number(target.year()) + "|" + QByteArray::number(target.month()) + "|"
        + QByteArray::number(target.day()) + "|毕业典礼\n";
    // The day's lunar key exactly as the desktop looks it up.
    const QByteArray lunarKey = userFestivalKeys(day).value(1).toLatin1();
    db += "[CustomFestival]\n" + monthDay + " = 爸爸妈妈结婚纪念日\n02/31 = 今天没有安排\n";
    if (!lunarKey.isEmpty())
        db += lunarKey + " = 奶奶的农历生日\n";
    db += "[FestivalNotify]\n" + monthDay + " = 国际劳动妇女节\n";
    if (!lunarKey.isEmpty())
        db += lunarKey + " = 中秋节\n";
    db += "12$LAST = 除夕\n";
    static const char *const terms[] = {"小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨",
                                        "立夏", "小满", "芒种", "夏至", "小暑", "大暑", "立秋", "处暑",
                                        "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};
    for (int term = 1; term <= 24; ++term)
        db += "T$" + QByteArray::number(term).rightJustified(2, '0') + " = " + terms[term - 1] + "\n";
    return db;
}

QByteArray weather(const QDate &today)
{
    QByteArray out = today.toString(QStringLiteral("yyyy-MM-dd")).toLatin1()
                     + " 07:30\n阿拉善盟额济纳旗\n-25℃ 阵雪\n湿度 98%\n东北风3-4级转北风5-6级\n周日\n";
    for (int day = 1; day <= 5; ++day) {
        out += today.addDays(day - 1).toString(QStringLiteral("MM/dd")).toLatin1() + " 阵雨转雷阵雨伴有冰雹\n";
        out += "-12/-25\n";
        out += "东北风3-4级转北风5-6级\n";
        out += "thunderstorm.gif\n";
        out += "周" + QByteArray(day == 1 ? "日" : "一") + "\n";
    }
    out += "-\n";
    return out;
}

} // namespace BusyDay
