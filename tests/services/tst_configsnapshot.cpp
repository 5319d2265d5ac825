// The renderer's read-only store answers every read exactly as the configuration store does.

#include "configsnapshot.h"
#include "testenv.h"
#include "zconfig.h"

class TestConfigSnapshot : public QObject
{
    Q_OBJECT
private slots:
    void sameAsConfigStore_data();
    void sameAsConfigStore();
};

void TestConfigSnapshot::sameAsConfigStore_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("plain") << QByteArray("[G]\nk = v\nn = 42\nb = true\nl = a,b,,c\n");
    QTest::newRow("value spacing kept") << QByteArray("[G]\nk =   two blanks = and: colon\nn=7\nb =1\n");
    QTest::newRow("repeated group and key") << QByteArray("[G]\nk = first\nk = second\n[H]\nk = h\n[G]\nk = third\nn = 9\n");
    QTest::newRow("comments and blanks") << QByteArray("# c\n[G]\n; x = 1\n\nk = v\n  [ G2 ]  \nk = w\n");
    QTest::newRow("CRLF and no final newline") << QByteArray("[G]\r\nk = v\r\nn = -3\r\nb = Off");
    QTest::newRow("numbers and flags") << QByteArray("[G]\nn =  12 \nb = YES\nl = x\nk = 0x10\n");
    QTest::newRow("entries before any group") << QByteArray("k = v\n[G]\nn = 1\n");
    QTest::newRow("UTF-8") << QByteArray("[天气]\n城市 = 北京\nk = 星期一,星期二\n");
    QTest::newRow("empty value") << QByteArray("[G]\nk =\nn = \nb = \n");
    QByteArray binary;
    for (int i = 0; i < 2048; ++i)
        binary += char((i * 37 + 11) % 256);
    QTest::newRow("not text") << binary;
    QTest::newRow("missing file") << QByteArray();
}

void TestConfigSnapshot::sameAsConfigStore()
{
    QFETCH(QByteArray, file);
    TestEnv::removeFile(QStringLiteral("c.ini"));
    if (!file.isEmpty())
        TestEnv::writeFile(QStringLiteral("c.ini"), file);
    const QString path = TestEnv::path(QStringLiteral("c.ini"));
    const ZConfig store(path);
    const ConfigSnapshot snapshot(path);

    const QStringList groups = {QStringLiteral("G"), QStringLiteral("H"), QStringLiteral("G2"), QStringLiteral("天气"),
                                QStringLiteral("missing"), QString()};
    const QStringList keys = {QStringLiteral("k"), QStringLiteral("n"), QStringLiteral("b"), QStringLiteral("l"),
                              QStringLiteral("城市"), QStringLiteral("none")};
    for (const QString &g : groups) {
        QCOMPARE(snapshot.keyList(g), store.keyList(g));
        for (const QString &k : keys) {
            const QByteArray where = (g + QLatin1Char('/') + k).toUtf8();
            QVERIFY2(store.readEntry(g, k, QStringLiteral("def")) == snapshot.readEntry(g, k, QStringLiteral("def")), where);
            QVERIFY2(store.readNumEntry(g, k, -77) == snapshot.readNumEntry(g, k, -77), where);
            QVERIFY2(store.readBoolEntry(g, k, true) == snapshot.readBoolEntry(g, k, true), where);
            QVERIFY2(store.readBoolEntry(g, k, false) == snapshot.readBoolEntry(g, k, false), where);
            QVERIFY2(store.readListEntry(g, k, QLatin1Char(',')) == snapshot.readListEntry(g, k, QLatin1Char(',')), where);
        }
    }
}

QUILLORA_TEST_MAIN(TestConfigSnapshot)
#include "tst_configsnapshot.moc"
