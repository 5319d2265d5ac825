#include "inidocument.h"
#include "storelock.h"
#include "testenv.h"
#include "zconfig.h"

#include <QProcess>
#include <QThread>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>

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

QString helper()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/zconfig_writer");
}

// Keeps every core of the machine busy while it lives, as the phone's other programs do.
class BusyCores
{
public:
    BusyCores()
    {
        for (int i = 0; i < QThread::idealThreadCount(); ++i) {
            m_threads.append(QThread::create([this] {
                volatile quint64 n = 0;
                while (!m_stop.load())
                    ++n;
            }));
            m_threads.last()->start();
        }
    }
    ~BusyCores()
    {
        m_stop = true;
        for (QThread *t : std::as_const(m_threads)) {
            t->wait();
            delete t;
        }
    }

private:
    std::atomic<bool> m_stop{false};
    QList<QThread *> m_threads;
};

} // namespace

class TestZConfig : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        TestEnv::removeFile(QStringLiteral("t.ini"));
        TestEnv::removeFile(QStringLiteral("t.ini.lock"));
    }
    void cleanup() { StoreLock::setPatienceMs(30000); }

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
    void writerWaitsForALivingHolderOnly_data();
    void writerWaitsForALivingHolderOnly();
    void refusesKeysItCouldNotReadBack_data();
    void refusesKeysItCouldNotReadBack();
    void seesASameSizeRewriteAtTheSameTime();
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
    QTest::newRow("crlf: replaced line keeps its CR, others untouched")
        << QByteArray("[A]\r\nk = old\r\nb = 2\n") << "A" << "k"
        << QByteArray("[A]\r\nk = v\r\nb = 2\n");
    QTest::newRow("crlf: new key ends like the line before it")
        << QByteArray("[A]\r\na = 1\r\n\r\n[B]\r\n") << "A" << "k"
        << QByteArray("[A]\r\na = 1\r\nk = v\r\n\r\n[B]\r\n");
    QTest::newRow("crlf: new group ends like the file's first line")
        << QByteArray("[A]\r\na = 1\r\n") << "Z" << "k"
        << QByteArray("[A]\r\na = 1\r\n[Z]\r\nk = v\r\n");
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
        ZConfig c(file);
        QVERIFY(c.writeEntry(QStringLiteral("G"), QStringLiteral("2024/01/01"), value));
    }
    ZConfig again(file);
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
    ZConfig c(file);
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
             QByteArray("# a comment\n[A]\nx=1\ny =  two  \n\n; another\n[B]\nz = 3\r\nw = 4\r\n"));
    QCOMPARE(ZConfig(c.path()).readEntry(QStringLiteral("B"), QStringLiteral("w")), QStringLiteral("4"));
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
    // Six programs write 500 different keys each into one group of one file, one write at a
    // time, while every core is kept busy: every write succeeds and no key is lost.
    const int writers = 6;
    const int keys = 500;
    // Every write is synced to disk; on a memory file system, where there is one, the test
    // measures the locking rather than the disk (minutes on a busy disk).
    QTemporaryDir memory(QStringLiteral("/dev/shm/quillora-store-XXXXXX"));
    const QString file = memory.isValid() ? memory.filePath(QStringLiteral("t.ini"))
                                          : TestEnv::path(QStringLiteral("t.ini"));
    BusyCores busy;
    QList<QProcess *> processes;
    for (int w = 0; w < writers; ++w) {
        processes.append(new QProcess);
        processes.last()->start(helper(), {file, QStringLiteral("W"), QString::number(keys),
                                           QStringLiteral("p%1-").arg(w)});
    }
    for (QProcess *p : std::as_const(processes)) {
        const bool finished = p->waitForFinished(180000);
        const int code = p->exitCode();
        delete p;
        QVERIFY(finished);
        QCOMPARE(code, 0);
    }
    ZConfig c(file);
    QCOMPARE(c.keyList(QStringLiteral("W")).size(), writers * keys);
    for (int w = 0; w < writers; ++w) {
        for (int i = 0; i < keys; ++i)
            QCOMPARE(c.readNumEntry(QStringLiteral("W"), QStringLiteral("p%1-%2").arg(w).arg(i), -1), i);
    }
    QVERIFY(!QFile::exists(file + QStringLiteral(".lock")));
}

void TestZConfig::writerWaitsForALivingHolderOnly_data()
{
    QTest::addColumn<int>("holdSeconds");
    QTest::addColumn<bool>("killHolder");
    QTest::addColumn<int>("patienceMs");
    QTest::addColumn<bool>("written");

    // The holder writes what it read before it lets go: had the writer not waited, the holder
    // would drop the writer's entry.
    QTest::newRow("holder lets go after a while") << 2 << false << 30000 << true;
    // Taken over at once: the patience is far shorter than the holder's own time.
    QTest::newRow("holder died") << 30 << true << 1000 << true;
    QTest::newRow("holder stuck past the patience") << 30 << false << 1000 << false;
}

void TestZConfig::writerWaitsForALivingHolderOnly()
{
    QFETCH(int, holdSeconds);
    QFETCH(bool, killHolder);
    QFETCH(int, patienceMs);
    QFETCH(bool, written);

    const QByteArray before = "[G]\na = 1\n";
    TestEnv::writeFile(QStringLiteral("t.ini"), before);
    const QString file = TestEnv::path(QStringLiteral("t.ini"));
    QProcess holder;
    holder.start(helper(), {QStringLiteral("--hold"), file, QString::number(holdSeconds)});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readAllStandardOutput(), QByteArray("locked\n"));
    if (killHolder) {
        holder.kill();
        QVERIFY(holder.waitForFinished(5000));
    }

    StoreLock::setPatienceMs(patienceMs);
    ZConfig c(file);
    QCOMPARE(c.writeEntry(QStringLiteral("G"), QStringLiteral("b"), 2), written);
    if (!killHolder && written) {
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(holder.exitCode(), 0);
    }
    holder.kill();
    holder.waitForFinished(5000);

    ZConfig after(file);
    QCOMPARE(after.readNumEntry(QStringLiteral("G"), QStringLiteral("a"), 0), 1);
    QCOMPARE(after.readNumEntry(QStringLiteral("G"), QStringLiteral("b"), 0), written ? 2 : 0);
    QCOMPARE(after.hasEntry(QStringLiteral("Holder"), QStringLiteral("done")), !killHolder && written);
}

void TestZConfig::refusesKeysItCouldNotReadBack_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("stored");

    QTest::newRow("equals sign") << "G" << "a=b" << false;
    QTest::newRow("comment #") << "G" << "#k" << false;
    QTest::newRow("comment ;") << "G" << ";k" << false;
    QTest::newRow("header [") << "G" << "[k]" << false;
    QTest::newRow("line break") << "G" << "a\nb" << false;
    QTest::newRow("leading blank") << "G" << " k" << false;
    QTest::newRow("line break in group") << "G\nH" << "k" << false;
    QTest::newRow("date") << "CustomNotify" << "2026/01/02" << true;
    QTest::newRow("inner blank and #") << "Weather1_2" << "a #b" << true;
}

void TestZConfig::refusesKeysItCouldNotReadBack()
{
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(bool, stored);
    const QByteArray before = "[G]\na = 1\n";
    TestEnv::writeFile(QStringLiteral("t.ini"), before);
    ZConfig c(TestEnv::path(QStringLiteral("t.ini")));
    QCOMPARE(c.writeEntry(group, key, QStringLiteral("v")), stored);
    QCOMPARE(ZConfig(c.path()).readEntry(group, key, QStringLiteral("none")),
             stored ? QStringLiteral("v") : QStringLiteral("none"));
    if (!stored)
        QCOMPARE(TestEnv::readFile(QStringLiteral("t.ini")), before);
}

void TestZConfig::seesASameSizeRewriteAtTheSameTime()
{
    // Another program replaces the file with one of the same size and the same times (written
    // within one tick of the file system's clock); a long-lived reader sees every value.
    const QString file = TestEnv::path(QStringLiteral("t.ini"));
    const QByteArray native = QFile::encodeName(file);
    ZConfig reader(file);
    ZConfig writer(file);
    QVERIFY(writer.writeEntry(QStringLiteral("G"), QStringLiteral("k"), 0));
    struct stat first;
    QCOMPARE(::stat(native.constData(), &first), 0);
    for (int i = 1; i <= 40; ++i) {
        QCOMPARE(reader.readNumEntry(QStringLiteral("G"), QStringLiteral("k"), -1), (i - 1) % 10);
        QVERIFY(writer.writeEntry(QStringLiteral("G"), QStringLiteral("k"), i % 10));
        const struct timespec times[2] = {first.st_atim, first.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, native.constData(), times, 0), 0);
    }
    QCOMPARE(reader.readNumEntry(QStringLiteral("G"), QStringLiteral("k"), -1), 0);
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
            ZConfig c(file);
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
