#include "testenv.h"
#include "textconv.h"
#include "textformat.h"

Q_DECLARE_METATYPE(QList<FormatArg>)

namespace {
FormatArg n(qint64 v) { return FormatArg::number(v); }
FormatArg s(const char *v) { return FormatArg::text(QByteArray(v)); }
} // namespace

class TestTextFormat : public QObject
{
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void conversionRoundTrip_data();
    void conversionRoundTrip();
    void codecIsUtf8();
};

void TestTextFormat::format_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QList<FormatArg>>("args");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("hour with Chinese suffix") << QByteArray("%02d时") << QList<FormatArg>{n(7)} << QByteArray("07时");
    QTest::newRow("plain %d") << QByteArray("%d") << QList<FormatArg>{n(5)} << QByteArray("5");
    QTest::newRow("year %04d") << QByteArray("%04d") << QList<FormatArg>{n(987)} << QByteArray("0987");
    QTest::newRow("wider than width") << QByteArray("%02d") << QList<FormatArg>{n(2026)} << QByteArray("2026");
    QTest::newRow("negative lunar key") << QByteArray("%02d$%02d") << QList<FormatArg>{n(-4), n(1)} << QByteArray("-4$01");
    QTest::newRow("zeros after minus") << QByteArray("%04d") << QList<FormatArg>{n(-7)} << QByteArray("-007");
    QTest::newRow("space padding") << QByteArray("[%3d]") << QList<FormatArg>{n(7)} << QByteArray("[  7]");
    QTest::newRow("temperatures") << QByteArray("%d℃-%d℃") << QList<FormatArg>{n(25), n(-3)} << QByteArray("25℃--3℃");
    QTest::newRow("two texts") << QByteArray("%s(%s)年") << QList<FormatArg>{s("鼠"), s("庚子")} << QByteArray("鼠(庚子)年");
    QTest::newRow("percent") << QByteArray("100%% %d") << QList<FormatArg>{n(1)} << QByteArray("100% 1");
    QTest::newRow("trailing percent") << QByteArray("a%") << QList<FormatArg>{n(1)} << QByteArray("a%");
    QTest::newRow("no conversions") << QByteArray("plain") << QList<FormatArg>{n(1)} << QByteArray("plain");
    QTest::newRow("text bytes kept") << QByteArray("%s") << QList<FormatArg>{s("\xff\x01%n")} << QByteArray("\xff\x01%n");

    // Hostile or mismatched formats draw something harmless.
    QTest::newRow("hostile mix") << QByteArray("%s%s%n%x%99999d") << QList<FormatArg>{n(3)}
                                 << QByteArray("3%n%x%99999d");
    QTest::newRow("unknown conversions") << QByteArray("%p %f %c %ld") << QList<FormatArg>{n(1)}
                                         << QByteArray("%p %f %c %ld");
    QTest::newRow("width beyond bound") << QByteArray("%021d|%020d") << QList<FormatArg>{n(1), n(2)}
                                        << QByteArray("%021d|00000000000000000001");
    QTest::newRow("huge width overflow") << QByteArray("%0999999999999999999999d") << QList<FormatArg>{n(1)}
                                         << QByteArray("%0999999999999999999999d");
    QTest::newRow("missing values") << QByteArray("%d-%d-%s") << QList<FormatArg>{n(1)} << QByteArray("1--");
    QTest::newRow("text where number asked") << QByteArray("%d|%s") << QList<FormatArg>{s("x"), s("y")}
                                             << QByteArray("|y");
    QTest::newRow("number where text asked") << QByteArray("%s") << QList<FormatArg>{n(-12)} << QByteArray("-12");
    QTest::newRow("empty format") << QByteArray() << QList<FormatArg>{n(1)} << QByteArray();
}

void TestTextFormat::format()
{
    QFETCH(QByteArray, format);
    QFETCH(QList<FormatArg>, args);
    QFETCH(QByteArray, expected);
    QCOMPARE(formatText(format, args), expected);
}

void TestTextFormat::conversionRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("Mo Tu 09:05");
    QTest::newRow("chinese") << QStringLiteral("闰四月 初一 鼠(庚子)年");
    QTest::newRow("symbols") << QStringLiteral("25℃--3℃ € 😀");
    QTest::newRow("empty") << QString();
}

void TestTextFormat::conversionRoundTrip()
{
    QFETCH(QString, text);
    const QString bytes = UnicodeAndChinese(text);
    // One character per byte of UTF-8.
    QCOMPARE(bytes.size(), text.toUtf8().size());
    for (QChar c : bytes)
        QVERIFY(c.unicode() <= 0xff);
    QCOMPARE(ChineseAndEnglish(bytes), text);
    QCOMPARE(ChineseAndEnglish(text.toUtf8().constData()), text);
    QCOMPARE(ChineseAndEnglish(text.toUtf8()), text);
}

void TestTextFormat::codecIsUtf8()
{
    QVERIFY(gbk_codec);
    QCOMPARE(TextCodec::codecForName("utf-8"), gbk_codec);
    QCOMPARE(TextCodec::codecForName("no-such-codec"), nullptr);
    QCOMPARE(gbk_codec->fromUnicode(QStringLiteral("年")), QByteArray("\xe5\xb9\xb4"));
}

QUILLORA_TEST_MAIN(TestTextFormat)
#include "tst_textformat.moc"
