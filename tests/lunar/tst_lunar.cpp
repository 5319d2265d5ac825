#include "lunar.h"
#include "lunarkeyparse.h"
#include "lunarnames.h"
#include "solarterms.h"
#include "testenv.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <climits>

// Reference dates made from an independent lunar calendar library by tools/lunargen: the
// first day of every lunar month of lunar years 1921 to 2100, then the first day after
// the table.
namespace {

struct MonthStart
{
    QDate first;
    int lunarYear;
    int lunarMonth;
};

// The lines of a reference file split at blanks, without comments and empty lines; empty when a
// line has not three fields.
QList<QList<QByteArray>> referenceLines(const QString &path)
{
    QList<QList<QByteArray>> result;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return result;
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        result.append(line.split(' '));
        if (result.last().size() != 3)
            return {};
    }
    return result;
}

QDate isoDate(const QByteArray &text)
{
    return QDate::fromString(QString::fromLatin1(text), Qt::ISODate);
}

QVector<MonthStart> readReference()
{
    QVector<MonthStart> result;
    for (const QList<QByteArray> &parts : referenceLines(QStringLiteral(":/lunar/reference.txt")))
        result.append({isoDate(parts[0]), parts[1].toInt(), parts[2].toInt()});
    return result;
}

const QVector<MonthStart> &reference()
{
    static const QVector<MonthStart> ref = readReference();
    return ref;
}

// Reference dates made from an astronomical library by tools/termgen: "T <date> <n>" for the
// day of solar term n in China Standard Time, "E <date> <lunar year>" for the last day of a
// lunar year.
struct TermReference
{
    QVector<QPair<QDate, int>> terms;
    QVector<QPair<QDate, int>> eves;
};

TermReference readTermReference()
{
    TermReference result;
    for (const QList<QByteArray> &parts : referenceLines(QStringLiteral(":/lunar/solarterms.txt"))) {
        if (parts[0] != "T" && parts[0] != "E")
            return {};
        (parts[0] == "T" ? result.terms : result.eves).append({isoDate(parts[1]), parts[2].toInt()});
    }
    return result;
}

const TermReference &termReference()
{
    static const TermReference ref = readTermReference();
    return ref;
}

int termOf(const QDate &d)
{
    return solarTermOf(d.year(), d.month(), d.day());
}

} // namespace

class TestLunar : public QObject
{
    Q_OBJECT
private slots:
    void referenceIsComplete();
    void knownDates_data();
    void knownDates();
    void outsideTableOrInvalid_data();
    void outsideTableOrInvalid();
    void newYears_data();
    void newYears();
    void leapMonths_data();
    void leapMonths();
    void everyDayOfTheTable();
    void monthLengths();
    void monthLengthOutside_data();
    void monthLengthOutside();
    void everySolarTerm();
    void solarTermOutside_data();
    void solarTermOutside();
    void everyNewYearsEve();
    void names_data();
    void names();
    void festivalKeys_data();
    void festivalKeys();
};

void TestLunar::referenceIsComplete()
{
    const auto &ref = reference();
    QVERIFY(!ref.isEmpty());
    QCOMPARE(ref.first().first, QDate(1921, 2, 8));
    QCOMPARE(ref.last().first, QDate(2101, 1, 29));
    int newYears = 0;
    for (int i = 0; i < ref.size(); ++i) {
        QVERIFY(ref[i].first.isValid());
        if (ref[i].lunarMonth == 1)
            ++newYears;
        if (i > 0) {
            const qint64 len = ref[i - 1].first.daysTo(ref[i].first);
            QVERIFY2(len == 29 || len == 30, qPrintable(ref[i].first.toString(Qt::ISODate)));
        }
    }
    QCOMPARE(newYears, 2101 - 1921 + 1);
}

void TestLunar::knownDates_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");

    QTest::newRow("first day of the table") << QDate(1921, 2, 8) << 1921 << 1 << 1;
    QTest::newRow("last day of lunar 2020") << QDate(2021, 2, 11) << 2020 << 12 << 30;
    QTest::newRow("first day of lunar 2021") << QDate(2021, 2, 12) << 2021 << 1 << 1;
    QTest::newRow("leap fourth month 2020") << QDate(2020, 5, 23) << 2020 << -4 << 1;
    QTest::newRow("month after a leap month") << QDate(2020, 6, 21) << 2020 << 5 << 1;
    QTest::newRow("lunar new year 2008") << QDate(2008, 2, 7) << 2008 << 1 << 1;
    QTest::newRow("leap eleventh month 2033") << QDate(2033, 12, 22) << 2033 << -11 << 1;
    QTest::newRow("twelfth month after leap eleventh") << QDate(2034, 1, 20) << 2033 << 12 << 1;
    QTest::newRow("29 February 2000") << QDate(2000, 2, 29) << 2000 << 1 << 25;
    QTest::newRow("1 March 2000") << QDate(2000, 3, 1) << 2000 << 1 << 26;
    // 2100 is no leap year: the last day of February and the next day are one day apart.
    QTest::newRow("28 February 2100") << QDate(2100, 2, 28) << 2100 << 1 << 20;
    QTest::newRow("1 March 2100") << QDate(2100, 3, 1) << 2100 << 1 << 21;
    QTest::newRow("31 December 2099") << QDate(2099, 12, 31) << 2099 << 11 << 20;
    QTest::newRow("last day of the table") << QDate(2101, 1, 28) << 2100 << 12 << 29;
}

void TestLunar::knownDates()
{
    QFETCH(QDate, date);
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    int y = 0, m = 0, d = 0;
    QVERIFY(solarToLunar(date.year(), date.month(), date.day(), y, m, d));
    QCOMPARE(y, year);
    QCOMPARE(m, month);
    QCOMPARE(d, day);
}

void TestLunar::outsideTableOrInvalid_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");

    QTest::newRow("day before the table") << 1921 << 2 << 7;
    QTest::newRow("start of 1921") << 1921 << 1 << 1;
    QTest::newRow("1900") << 1900 << 6 << 15;
    QTest::newRow("year 0") << 0 << 1 << 1;
    QTest::newRow("negative year") << -500 << 3 << 1;
    QTest::newRow("smallest year") << INT_MIN << 1 << 1;
    QTest::newRow("first day after the table") << 2101 << 1 << 29;
    QTest::newRow("2200") << 2200 << 1 << 1;
    QTest::newRow("largest year") << INT_MAX << 12 << 31;
    QTest::newRow("month 13") << 2020 << 13 << 1;
    QTest::newRow("month 0") << 2020 << 0 << 1;
    QTest::newRow("negative month") << 2020 << -1 << 1;
    QTest::newRow("day 0") << 2020 << 5 << 0;
    QTest::newRow("negative day") << 2020 << 5 << -3;
    QTest::newRow("day 32") << 2020 << 1 << 32;
    QTest::newRow("30 February") << 2020 << 2 << 30;
    QTest::newRow("29 February in a common year") << 2021 << 2 << 29;
    QTest::newRow("29 February 2100") << 2100 << 2 << 29;
    QTest::newRow("31 April") << 2020 << 4 << 31;
}

void TestLunar::outsideTableOrInvalid()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    int y = 7, m = 8, d = 9;
    QVERIFY(!solarToLunar(year, month, day, y, m, d));
    // A refused date leaves the results as they were.
    QCOMPARE(y, 7);
    QCOMPARE(m, 8);
    QCOMPARE(d, 9);
}

void TestLunar::newYears_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("year");
    for (const MonthStart &s : reference())
        if (s.lunarMonth == 1)
            QTest::newRow(qPrintable(s.first.toString(Qt::ISODate))) << s.first << s.lunarYear;
}

void TestLunar::newYears()
{
    QFETCH(QDate, date);
    QFETCH(int, year);
    int y = 0, m = 0, d = 0;
    const bool ok = solarToLunar(date.year(), date.month(), date.day(), y, m, d);
    if (year > 2100) {
        QVERIFY(!ok); // the lunar new year of 2101 is the first day past the table
    } else {
        QVERIFY(ok);
        QCOMPARE(y, year);
        QCOMPARE(m, 1);
        QCOMPARE(d, 1);
    }
    // The day before belongs to the twelfth month of the year before.
    const QDate eve = date.addDays(-1);
    const bool eveOk = solarToLunar(eve.year(), eve.month(), eve.day(), y, m, d);
    if (year == 1921) {
        QVERIFY(!eveOk);
    } else {
        QVERIFY(eveOk);
        QCOMPARE(y, year - 1);
        QCOMPARE(m, 12);
        QVERIFY(d == 29 || d == 30);
    }
}

void TestLunar::leapMonths_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    for (const MonthStart &s : reference())
        if (s.lunarMonth < 0)
            QTest::newRow(qPrintable(s.first.toString(Qt::ISODate)))
                << s.first << s.lunarYear << s.lunarMonth;
}

void TestLunar::leapMonths()
{
    QFETCH(QDate, date);
    QFETCH(int, year);
    QFETCH(int, month);
    int y = 0, m = 0, d = 0;
    QVERIFY(solarToLunar(date.year(), date.month(), date.day(), y, m, d));
    QCOMPARE(y, year);
    QCOMPARE(m, month);
    QCOMPARE(d, 1);
    // The day before is the last day of the ordinary month of the same number.
    const QDate before = date.addDays(-1);
    QVERIFY(solarToLunar(before.year(), before.month(), before.day(), y, m, d));
    QCOMPARE(y, year);
    QCOMPARE(m, -month);
    QVERIFY(d == 29 || d == 30);
}

// Every day of lunar years 1921 to 2100 against the month starts of the reference.
void TestLunar::everyDayOfTheTable()
{
    const auto &ref = reference();
    QVERIFY(ref.size() > 1);
    int days = 0;
    for (int i = 0; i + 1 < ref.size(); ++i) {
        const MonthStart &s = ref[i];
        const qint64 len = s.first.daysTo(ref[i + 1].first);
        for (qint64 k = 0; k < len; ++k) {
            const QDate date = s.first.addDays(k);
            int y = 0, m = 0, d = 0;
            const bool ok = solarToLunar(date.year(), date.month(), date.day(), y, m, d);
            if (!ok || y != s.lunarYear || m != s.lunarMonth || d != k + 1)
                QFAIL(qPrintable(QStringLiteral("%1 gave %2 %3/%4/%5, expected %6/%7/%8")
                                     .arg(date.toString(Qt::ISODate))
                                     .arg(ok)
                                     .arg(y).arg(m).arg(d)
                                     .arg(s.lunarYear).arg(s.lunarMonth).arg(k + 1)));
            ++days;
        }
    }
    QCOMPARE(days, 65734);
}

// The length of every month of the table is the distance to the next month's first day.
void TestLunar::monthLengths()
{
    const auto &ref = reference();
    QVERIFY(ref.size() > 1);
    for (int i = 0; i + 1 < ref.size(); ++i) {
        const MonthStart &s = ref[i];
        QCOMPARE(lunarMonthDays(s.lunarYear, s.lunarMonth), int(s.first.daysTo(ref[i + 1].first)));
    }
}

void TestLunar::monthLengthOutside_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::newRow("before the table") << 1920 << 1;
    QTest::newRow("after the table") << 2101 << 1;
    QTest::newRow("month 0") << 2020 << 0;
    QTest::newRow("month 13") << 2020 << 13;
    QTest::newRow("leap month of a year without one") << 2021 << -4;
    QTest::newRow("leap month other than the year's") << 2020 << -5;
}

void TestLunar::monthLengthOutside()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QCOMPARE(lunarMonthDays(year, month), 0);
    QVERIFY(!isLunarNewYearsEve(year, month, 30));
}

// Every solar term 1921 to 2100 against the reference; the days around it carry no term.
void TestLunar::everySolarTerm()
{
    const auto &terms = termReference().terms;
    QCOMPARE(terms.size(), 4320);
    QHash<int, int> perYear;
    for (const auto &[date, term] : terms) {
        const QString where = date.toString(Qt::ISODate);
        QVERIFY2(solarTermDay(date.year(), term) == date.day(), qPrintable(where));
        QVERIFY2(termOf(date) == term, qPrintable(where));
        QVERIFY2(termOf(date.addDays(-1)) == 0 && termOf(date.addDays(1)) == 0, qPrintable(where));
        ++perYear[date.year() * 100 + term];
    }
    QCOMPARE(perYear.size(), 4320); // each term of each year exactly once
}

void TestLunar::solarTermOutside_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("term");
    QTest::newRow("冬至 1920, before the table") << 1920 << 12 << 22 << 0;
    QTest::newRow("小寒 2101, after the table") << 2101 << 1 << 5 << 0;
    QTest::newRow("month 0") << 2027 << 0 << 4 << 0;
    QTest::newRow("month 13") << 2027 << 13 << 4 << 0;
    QTest::newRow("立春 2027") << 2027 << 2 << 4 << 3;
    QTest::newRow("冬至 2100, the table's last term") << 2100 << 12 << 22 << 24;
}

void TestLunar::solarTermOutside()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(int, term);
    QCOMPARE(solarTermOf(year, month, day), term);
    QCOMPARE(solarTermDay(year, 0), 0);
    QCOMPARE(solarTermDay(year, 25), 0);
}

// Every New Year's Eve: the last day of the twelfth month, 29th or 30th, and only that day.
void TestLunar::everyNewYearsEve()
{
    const auto &eves = termReference().eves;
    QCOMPARE(eves.size(), 180);
    int on29th = 0;
    for (const auto &[date, lunarYear] : eves) {
        const QString where = date.toString(Qt::ISODate);
        int y = 0, m = 0, d = 0;
        QVERIFY2(solarToLunar(date.year(), date.month(), date.day(), y, m, d), qPrintable(where));
        QVERIFY2(y == lunarYear && m == 12 && isLunarNewYearsEve(y, m, d), qPrintable(where));
        on29th += d == 29;
        const QDate before = date.addDays(-1);
        QVERIFY(solarToLunar(before.year(), before.month(), before.day(), y, m, d));
        QVERIFY2(!isLunarNewYearsEve(y, m, d), qPrintable(where));
        // The day after is the first day of the next lunar year (the last one lies past the table).
        const QDate after = date.addDays(1);
        if (solarToLunar(after.year(), after.month(), after.day(), y, m, d))
            QVERIFY2(y == lunarYear + 1 && m == 1 && d == 1, qPrintable(where));
        else
            QCOMPARE(lunarYear, 2100);
    }
    QVERIFY(on29th > 0 && on29th < 180); // both lengths of the twelfth month occur
}

void TestLunar::names_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("monthName");
    QTest::addColumn<QString>("dayName");
    QTest::newRow("first") << 1 << 1 << "正" << "初一";
    QTest::newRow("mid-autumn") << 8 << 15 << "八" << "十五";
    QTest::newRow("leap fourth, 20th") << -4 << 20 << "闰四" << "二十";
    QTest::newRow("eleventh, 21st") << 11 << 21 << "十一" << "廿一";
    QTest::newRow("twelfth, 30th") << 12 << 30 << "腊" << "三十";
    QTest::newRow("out of range") << 13 << 31 << "" << "";
    QTest::newRow("zero") << 0 << 0 << "" << "";
}

void TestLunar::names()
{
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, monthName);
    QFETCH(QString, dayName);
    QCOMPARE(QString::fromStdString(lunarMonthName(month)), monthName);
    QCOMPARE(QString::fromStdString(lunarDayName(day)), dayName);
}

void TestLunar::festivalKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("month"); // 0: not a lunar key
    QTest::addColumn<int>("day");
    const struct { const char *key; int month, day; } rows[] = {
        {"08$15", 8, 15}, {"8$15", 8, 15}, {"+08$15", 8, 15}, {"08$5", 8, 5}, {" 08 $ 15", 8, 15},
        {"-4$01", -4, 1}, {"-04$01", -4, 1}, {"12$30", 12, 30}, {"-12$1", -12, 1},
        {"00$01", 0, 0}, {"13$01", 0, 0}, {"08$00", 0, 0}, {"08$31", 0, 0}, {"08$+15", 0, 0},
        {"8$1 5", 0, 0}, {"$15", 0, 0}, {"08$", 0, 0}, {"08$15$", 0, 0}, {"12$LAST", 0, 0},
        {"T$03", 0, 0}, {"08/15", 0, 0}, {"99999999999$1", 0, 0}, {"--8$15", 0, 0}};
    for (const auto &r : rows)
        QTest::newRow(r.key) << QString::fromLatin1(r.key) << r.month << r.day;
}

void TestLunar::festivalKeys()
{
    QFETCH(QString, key);
    QFETCH(int, month);
    QFETCH(int, day);
    int m = 0, d = 0;
    QCOMPARE(parseLunarKey(key.toStdString(), m, d), month != 0);
    QCOMPARE(m, month);
    QCOMPARE(d, day);
}

QUILLORA_TEST_MAIN(TestLunar)
#include "tst_lunar.moc"
