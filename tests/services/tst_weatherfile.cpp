// The weather file's one writer and reader agree line by line, and a short or CRLF file reads
// as the desktop has always read it.

#include "testenv.h"
#include "weatherfile.h"

namespace {

WeatherFile::Contents sample()
{
    WeatherFile::Contents c{QStringLiteral("2026-12-08 07:30"), QStringLiteral("北京"), QStringLiteral("晴"),
                            QStringLiteral("3/-6"), QStringLiteral("北风3级"), {}, QStringLiteral("39.9042,116.4074"),
                            QStringLiteral("api.example.org")};
    for (int d = 0; d < WeatherFile::kDays; ++d)
        c.days[d] = {QStringLiteral("周%1").arg(d), QStringLiteral("12/0%1 晴").arg(d + 8), QStringLiteral("%1/-6").arg(d),
                     QStringLiteral("N %1").arg(d), QStringLiteral("sunny.png")};
    return c;
}

QByteArray sampleBytes()
{
    QByteArray bytes = "2026-12-08 07:30\n北京\n晴\n3/-6\n北风3级\n";
    for (int d = 0; d < 5; ++d)
        bytes += QStringLiteral("周%1\n12/0%2 晴\n%1/-6\nN %1\nsunny.png\n").arg(d).arg(d + 8).toUtf8();
    return bytes + "39.9042,116.4074\napi.example.org\n";
}

} // namespace

class TestWeatherFile : public QObject
{
    Q_OBJECT
private slots:
    void writesTheLines() { QCOMPARE(WeatherFile::toBytes(sample()), sampleBytes()); }
    void reads_data();
    void reads();
    void writesAndReadsTheFile();
};

void TestWeatherFile::reads_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("lastWind");
    QTest::addColumn<QString>("source");
    QByteArray crlf = sampleBytes();
    crlf.replace("\n", "\r\n");
    QByteArray unended = sampleBytes();
    unended.chop(1);
    const QByteArray shortFile = sampleBytes().left(sampleBytes().lastIndexOf("39.9042"));
    QTest::newRow("as written") << sampleBytes() << true << QStringLiteral("北京") << QStringLiteral("N 4") << QStringLiteral("api.example.org");
    QTest::newRow("CRLF") << crlf << true << QStringLiteral("北京") << QStringLiteral("N 4") << QStringLiteral("api.example.org");
    QTest::newRow("last line unended") << unended << true << QStringLiteral("北京") << QStringLiteral("N 4") << QStringLiteral("api.example.org");
    QTest::newRow("30 lines") << shortFile << false << QStringLiteral("北京") << QStringLiteral("N 4") << QString();
    QTest::newRow("empty") << QByteArray() << false << QString() << QString() << QString();
}

void TestWeatherFile::reads()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, complete);
    bool whole = !complete;
    const WeatherFile::Contents c = WeatherFile::parse(text, &whole);
    QCOMPARE(whole, complete);
    QFETCH(QString, city);
    QFETCH(QString, lastWind);
    QFETCH(QString, source);
    QCOMPARE(c.city, city);
    QCOMPARE(c.days[4].wind, lastWind);
    QCOMPARE(c.source, source);
}

void TestWeatherFile::writesAndReadsTheFile()
{
    QVERIFY(WeatherFile::write(sample()));
    QCOMPARE(TestEnv::readFile(WeatherFile::path().mid(TestEnv::dir().size())), sampleBytes());
    bool complete = false;
    QCOMPARE(WeatherFile::toBytes(WeatherFile::read(&complete)), sampleBytes());
    QVERIFY(complete);
}

QUILLORA_TEST_MAIN(TestWeatherFile)
#include "tst_weatherfile.moc"
