#include "inidocument.h"
#include "testenv.h"
#include "zconfig.h"

#include <QProcess>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// While it lives, this thread cannot read files it has no read permission for, even when it
// runs as root (the capabilities that bypass file permissions are set aside and given back).
class WithoutFileOverride
{
public:
    WithoutFileOverride()
    {
        if (::geteuid() != 0) {
            m_active = true;
            return;
        }
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_active = ::syscall(SYS_capset, &m_header, reduced) == 0;
        m_restore = m_active;
    }
    ~WithoutFileOverride()
    {
        if (m_restore)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    bool active() const { return m_active; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_active = false;
    bool m_restore = false;
};

} // namespace

class TestZConfig : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestEnv::removeFile(QStringLiteral("t.ini")); }

    void writeLayout_data();
    void writeLayout();
    void valuesKeptByteForByte_data();
    void valuesKeptByteForByte();
    void numbersAndFlags_data();
    void numbersAndFlags();
    void lists();
    void missingFileReadsEmptyAndIsCreated();
    void otherLinesSurviveAWrite();
    void seesWritesOfOthers();
    void concurrentWritersLoseNothing();
    void unreadableFileIsNotReplaced();
};

void TestZConfig::writeLayout_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("empty file") << QByteArray() << "G" << "k" << QByteArray("[G]\nk = v\n");
    QTest::newRow("new key at end of its group")
        << QByteArray("[A]\na = 1\n\n[B]\nb = 2\n") << "A" << "k"
        << QByteArray("[A]\na = 1\nk = v\n\n[B]\nb = 2\n");
    QTest::newRow("new group at end of file")
        << QByteArray("[A]\na = 1\n") << "Z" << "k" << QByteArray("[A]\na = 1\n[Z]\nk = v\n");
    QTest::newRow("replace in place")
        << QByteArray("[A]\nk = old\nb = 2\n") << "A" << "k" << QByteArray("[A]\nk = v\nb = 2\n");
    QTest::newRow("no final newline")
        << QByteArray("[A]\na = 1") << "A" << "k" << QByteArray("[A]\na = 1\nk = v");
    QTest::newRow("empty group gets entry under header")
        << QByteArray("[A]\n[B]\nb = 1\n") << "A" << "k" << QByteArray("[A]\nk = v\n[B]\nb = 1\n");
    QTest::newRow("same key in another group untouched")
        << QByteArray("[B]\nk = x\n[A]\n") << "A" << "k" << QByteArray("[B]\nk = x\n[A]\nk = v\n");
}

void TestZConfig::writeLayout()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    IniDocument doc(before);
    doc.setValue(group, key, QStringLiteral("v"));
    QCOMPARE(doc.toBytes(), after);
}

void TestZConfig::valuesKeptByteForByte_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("leading blanks") << QStringLiteral("   three");
    QTest::newRow("equals sign") << QStringLiteral("a = b = c");
    QTest::newRow("colon") << QStringLiteral("10:30");
    QTest::newRow("utf-8") << QStringLiteral("春节快乐|新年");
    QTest::newRow("trailing blank") << QStringLiteral("x ");
    QTest::newRow("empty") << QString();
}

void TestZConfig::valuesKeptByteForByte()
{
    QFETCH(QString, value);
    const QString file = TestEnv::path(QStringLiteral("t.ini"));
    {
        ZConfig c(file, true);
        QVERIFY(c.writeEntry(QStringLiteral("G"), QStringLiteral("2024/01/01"), value));
    }
    ZConfig again(file, true);
    QCOMPARE(again.readEntry(QStringLiteral("G"), QStringLiteral("2024/01/01"), QStringLiteral("def")),
             value.isNull() ? QStringLiteral("") : value);
    QCOMPARE(TestEnv::readFile(QStringLiteral("t.ini")),
             QByteArray("[G]\n2024/01/01 = ") + value.toUtf8() + '\n');
}

void TestZConfig::numbersAndFlags_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("flag");
    QTest::newRow("one") << QByteArray("1") << 1 << true;
    QTest::newRow("zero") << QByteArray("0") << 0 << false;
    QTest::newRow("true") << QByteArray("true") << -7 << true;
    QTest::newRow("false") << QByteArray("false") << -7 << false;
    QTest::newRow("negative") << QByteArray("-12") << -12 << true; // not a flag: default
    QTest::newRow("garbage") << QByteArray("abc") << -7 << true;
    QTest::newRow("blank") << QByteArray("") << -7 << true;
}

void TestZConfig::numbersAndFlags()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, number);
    QFETCH(bool, flag);
    TestEnv::writeFile(QStringLiteral("t.ini"), "[G]\nk = " + stored + "\n");
    ZConfig c(TestEnv::path(QStringLiteral("t.ini")));
    QCOMPARE(c.readNumEntry(QStringLiteral("G"), QStringLiteral("k"), -7), number);
    QCOMPARE(c.readBoolEntry(QStringLiteral("G"), QStringLiteral("k"), true), flag);
    QCOMPARE(c.readNumEntry(QStringLiteral("G"), QStringLiteral("missing"), 42), 42);
}

void TestZConfig::lists()
{
    ZConfig c(TestEnv::path(QStringLiteral("t.ini")));
    const QStringList themes = {QStringLiteral("a.theme"), QStringLiteral("b c.theme"), QStringLiteral("d.theme")};
    QVERIFY(c.writeEntry(QStringLiteral("Quillora"), QStringLiteral("ThemeList"), themes, QLatin1Char(';')));
    QCOMPARE(TestEnv::readFile(QStringLiteral("t.ini")), QByteArray("[Quillora]\nThemeList = a.theme;b c.theme;d.theme\n"));
    QCOMPARE(ZConfig(c.path()).readListEntry(QStringLiteral("Quillora"), QStringLiteral("ThemeList"), QLatin1Char(';')), themes);
    QVERIFY(c.readListEntry(QStringLiteral("Quillora"), QStringLiteral("none"), QLatin1Char(',')).isEmpty());
}

void TestZConfig::missingFileReadsEmptyAndIsCreated()
{
    const QString file = TestEnv::path(QStringLiteral("sub/dir/new.ini"));
    QFile::remove(file);
    ZConfig c(file, true);
    QCOMPARE(c.readEntry(QStringLiteral("G"), QStringLiteral("k"), QStringLiteral("d")), QStringLiteral("d"));
    QVERIFY(c.groupList().isEmpty());
    QVERIFY(!QFile::exists(file));
    QVERIFY(c.writeEntry(QStringLiteral("G"), QStringLiteral("k"), 5));
    QVERIFY(QFile::exists(file));
    QCOMPARE(ZConfig(file).readNumEntry(QStringLiteral("G"), QStringLiteral("k"), 0), 5);
}

void TestZConfig::otherLinesSurviveAWrite()
{
    const QByteArray before = "# a comment\n[A]\nx=1\ny =  two  \n\n; another\n[B]\nz = 3\r\n";
    TestEnv::writeFile(QStringLiteral("t.ini"), before);
    ZConfig c(TestEnv::path(QStringLiteral("t.ini")));
    QCOMPARE(c.readEntry(QStringLiteral("A"), QStringLiteral("x")), QStringLiteral("1"));
    QCOMPARE(c.readEntry(QStringLiteral("A"), QStringLiteral("y")), QStringLiteral(" two  "));
    QCOMPARE(c.readEntry(QStringLiteral("B"), QStringLiteral("z")), QStringLiteral("3"));
    QVERIFY(c.writeEntry(QStringLiteral("B"), QStringLiteral("w"), QStringLiteral("4")));
    QCOMPARE(TestEnv::readFile(QStringLiteral("t.ini")),
             QByteArray("# a comment\n[A]\nx=1\ny =  two  \n\n; another\n[B]\nz = 3\nw = 4\n"));
}

void TestZConfig::seesWritesOfOthers()
{
    const QString file = TestEnv::path(QStringLiteral("t.ini"));
    ZConfig reader(file);
    ZConfig writer(file);
    QVERIFY(writer.writeEntry(QStringLiteral("G"), QStringLiteral("a"), QStringLiteral("1")));
    QCOMPARE(reader.readEntry(QStringLiteral("G"), QStringLiteral("a")), QStringLiteral("1"));
    // A write of the reader merges with the writer's entry instead of dropping it.
    QVERIFY(reader.writeEntry(QStringLiteral("G"), QStringLiteral("b"), QStringLiteral("2")));
    QCOMPARE(ZConfig(file).readEntry(QStringLiteral("G"), QStringLiteral("a")), QStringLiteral("1"));
}

void TestZConfig::concurrentWritersLoseNothing()
{
    // Two processes write different keys of one file a few hundred times each.
    const QString file = TestEnv::path(QStringLiteral("t.ini"));
    const QString helper = QCoreApplication::applicationDirPath() + QStringLiteral("/zconfig_writer");
    QProcess a, b;
    a.start(helper, {file, QStringLiteral("A"), QStringLiteral("300")});
    b.start(helper, {file, QStringLiteral("B"), QStringLiteral("300")});
    QVERIFY(a.waitForFinished(120000));
    QVERIFY(b.waitForFinished(120000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);
    ZConfig c(file);
    for (int i = 0; i < 300; ++i) {
        QCOMPARE(c.readNumEntry(QStringLiteral("A"), QString::number(i), -1), i);
        QCOMPARE(c.readNumEntry(QStringLiteral("B"), QString::number(i), -1), i);
    }
}

void TestZConfig::unreadableFileIsNotReplaced()
{
    // A file that exists but cannot be read must not be replaced by one holding only the new
    // entry: the write fails and the file keeps every byte.
    const QByteArray before = "[A]\na = 1\nb = 2\n";
    TestEnv::writeFile(QStringLiteral("t.ini"), before);
    const QString file = TestEnv::path(QStringLiteral("t.ini"));
    const QByteArray native = QFile::encodeName(file);
    QCOMPARE(::chmod(native.constData(), 0200), 0);
    bool written = true;
    {
        WithoutFileOverride guard;
        if (!guard.active()) {
            ::chmod(native.constData(), 0644);
            QSKIP("file permissions cannot be enforced for this process");
        }
        QFile probe(file);
        const bool readable = probe.open(QIODevice::ReadOnly);
        if (!readable) {
            ZConfig c(file, true);
            written = c.writeEntry(QStringLiteral("A"), QStringLiteral("c"), QStringLiteral("3"));
            QCOMPARE(c.readEntry(QStringLiteral("A"), QStringLiteral("c")), QStringLiteral("3"));
        }
        ::chmod(native.constData(), 0644);
        QVERIFY2(!readable, "the file stayed readable");
    }
    QVERIFY(!written);
    QCOMPARE(TestEnv::readFile(QStringLiteral("t.ini")), before);
}

QUILLORA_TEST_MAIN(TestZConfig)
#include "tst_zconfig.moc"
