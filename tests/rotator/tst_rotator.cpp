// The wallpaper rotator's steps, driven inside the test process: ticks, display and key
// messages, with checks of the wallpaper (element 9 of the phone's theme settings) and of the
// runs of "show".
#include "idlefocus.h"
#include "morvessa.h"
#include "setuptheme.h"
#include "stubshow.h"
#include "testenv.h"
#include "zconfig.h"

#include <QDataStream>

#include <memory>

namespace {

QByteArray keyData(qint32 code, qint32 state)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << code << state;
    return data;
}

QString entry(int i)
{
    return QStringLiteral("/mmc/mmca1/picture %1.png").arg(i);
}

void writeList(int entries)
{
    QByteArray text;
    for (int i = 0; i < entries; ++i)
        text += entry(i).toUtf8() + '\n';
    TestEnv::writeFile(QStringLiteral("wallpaper.list"), text);
}

QString wallpaper()
{
    return ZConfig(SETUP_THEME::settingsFile()).readEntry(QStringLiteral("SETUP_THEME"), QStringLiteral("9"),
                                                          QStringLiteral("-"));
}

} // namespace

class TestRotator : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void script_data();
    void script();
    void blankLinesAreNoWallpapers();
    void randomNeverRepeats_data();
    void randomNeverRepeats();

private:
    void run(Morvessa *rotator, const QString &script);
};

void TestRotator::init()
{
    StubShow::install();
    TestEnv::removeFile(QStringLiteral("device/setup.ini"));
    QVERIFY(Platform::setIdleFocus(true));
}

// Script words:
//   tick                 one interval tick
//   on / off / other     "LCDOn", "LCDOff", another message on "EZX/System"
//   k4171:1              key message: key code, key state (decimal or 0x...)
//   wrongname            a press of key 4171 under another message name
//   focus0 / focus1      another window / the idle screen in front
//   wp=N                 the wallpaper is entry N of the list; wp=- no wallpaper was set
//   =N                   "show" has run N times so far
//   shown=N              the latest run of "show" saw entry N as the wallpaper
void TestRotator::script_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("refresh");
    QTest::addColumn<QString>("script");

    QTest::newRow("two entries in list order") << 2 << false << "wp=- tick wp=0 tick wp=1 tick wp=0 tick wp=1";
    QTest::newRow("tick behind another window is lost")
        << 3 << false << "focus0 tick tick wp=- focus1 tick wp=0 focus0 tick wp=0 focus1 tick wp=1";
    QTest::newRow("previous from the first wraps, next from the last wraps")
        << 3 << false << "k4172:1 wp=2 k4171:1 wp=0 k4171:1 wp=1";
    QTest::newRow("after a key the next tick applies the same entry")
        << 3 << false << "tick wp=0 k4171:1 wp=2 tick wp=2 tick wp=0";
    QTest::newRow("only state 1 of the two keys counts")
        << 3 << false << "k4171:0 k4171:2 k4172:0x10000001 k4170:1 k4173:1 wrongname wp=- k4171:1 wp=1";
    QTest::newRow("keys behind another window do nothing") << 3 << false << "focus0 k4171:1 wp=- focus1 tick wp=0";
    QTest::newRow("display on changes at once") << 3 << false << "on wp=0 off on wp=1 other wp=1";
    QTest::newRow("display on behind another window") << 3 << false << "focus0 on wp=- focus1 on wp=0";
    QTest::newRow("refresh off never starts show") << 2 << false << "tick k4171:1 on =0";
    QTest::newRow("refresh on: show after each change, seeing it")
        << 3 << true << "tick =1 shown=0 k4171:1 =2 shown=2 on =3 shown=2 focus0 tick k4171:1 =3";
}

void TestRotator::script()
{
    QFETCH(int, entries);
    QFETCH(bool, refresh);
    QFETCH(QString, script);
    writeList(entries);
    TestEnv::writeFile(QStringLiteral("settings.ini"),
                       "[Quillora]\nChangeTime = 5\nChangeMode = 0\nRefresh = " + QByteArray(refresh ? "1" : "0") + "\n");
    auto rotator = std::make_unique<Morvessa>();
    run(rotator.get(), script);
}

void TestRotator::blankLinesAreNoWallpapers()
{
    TestEnv::writeFile(QStringLiteral("wallpaper.list"), "\n" + entry(0).toUtf8() + "\n\n" + entry(1).toUtf8() + "\n\n");
    TestEnv::writeFile(QStringLiteral("settings.ini"), "[Quillora]\nChangeTime = 5\nChangeMode = 0\n");
    auto rotator = std::make_unique<Morvessa>();
    run(rotator.get(), QStringLiteral("tick wp=0 tick wp=1 tick wp=0 k4172:1 wp=0"));
}

void TestRotator::run(Morvessa *rotator, const QString &script)
{
    const QStringList words = script.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        if (word == QLatin1String("tick")) {
            rotator->updateTime();
        } else if (word == QLatin1String("on")) {
            rotator->systemStatusChanged("LCDOn", QByteArray());
        } else if (word == QLatin1String("off")) {
            rotator->systemStatusChanged("LCDOff", QByteArray());
        } else if (word == QLatin1String("other")) {
            rotator->systemStatusChanged("LCDon", QByteArray());
        } else if (word == QLatin1String("wrongname")) {
            rotator->KeyChanged("keyMsg(int)", keyData(4171, 1));
        } else if (word == QLatin1String("focus0") || word == QLatin1String("focus1")) {
            QVERIFY(Platform::setIdleFocus(word.endsWith(QLatin1Char('1'))));
        } else if (word.startsWith(QLatin1Char('k'))) {
            bool okCode = false, okState = false;
            const int code = word.mid(1).section(QLatin1Char(':'), 0, 0).toInt(&okCode);
            const int state = word.section(QLatin1Char(':'), 1).toInt(&okState, 0);
            QVERIFY2(okCode && okState, qPrintable(word));
            rotator->KeyChanged("keyMsg(int,int)", keyData(code, state));
        } else if (word.startsWith(QLatin1String("wp="))) {
            const QString want = word.mid(3) == QLatin1String("-") ? QStringLiteral("-") : entry(word.mid(3).toInt());
            QVERIFY2(wallpaper() == want, qPrintable(QStringLiteral("at %1: wallpaper %2").arg(word, wallpaper())));
        } else if (word.startsWith(QLatin1Char('='))) {
            QVERIFY2(StubShow::count() == word.mid(1).toInt(),
                     qPrintable(QStringLiteral("at %1: show ran %2 times").arg(word).arg(StubShow::count())));
        } else if (word.startsWith(QLatin1String("shown="))) {
            QCOMPARE(StubShow::field(-1, 2), entry(word.mid(6).toInt()));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown script word ") + word));
        }
        if (QTest::currentTestFailed())
            return;
    }
}

void TestRotator::randomNeverRepeats_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("byKey");
    QTest::newRow("2 entries, ticks") << 2 << false;
    QTest::newRow("3 entries, ticks") << 3 << false;
    QTest::newRow("7 entries, ticks") << 7 << false;
    QTest::newRow("2 entries, keys") << 2 << true;
    QTest::newRow("5 entries, keys") << 5 << true;
}

void TestRotator::randomNeverRepeats()
{
    QFETCH(int, entries);
    QFETCH(bool, byKey);
    writeList(entries);
    TestEnv::writeFile(QStringLiteral("settings.ini"), "[Quillora]\nChangeTime = 5\nChangeMode = 1\nRefresh = 0\n");
    Morvessa rotator;

    QStringList applied;
    for (int i = 0; i < 25; ++i) {
        if (byKey)
            rotator.KeyChanged("keyMsg(int,int)", keyData(i % 2 ? 4171 : 4172, 1));
        else
            rotator.updateTime();
        applied << wallpaper();
    }
    QSet<QString> seen;
    for (int i = 0; i < applied.size(); ++i) {
        QVERIFY2(applied.at(i).startsWith(QLatin1String("/mmc/mmca1/picture ")), qPrintable(applied.at(i)));
        seen.insert(applied.at(i));
        if (i > 0)
            QVERIFY2(applied.at(i) != applied.at(i - 1), qPrintable(applied.join(QLatin1Char(','))));
    }
    // The first tick applies entry 0, as in list order.
    if (!byKey)
        QCOMPARE(applied.first(), entry(0));
    if (entries == 2)
        QCOMPARE(seen.size(), 2);
}

QUILLORA_TEST_MAIN(TestRotator)
#include "tst_rotator.moc"
