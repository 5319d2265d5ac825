#include "qcopchannel.h"
#include "testenv.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>

#include <QtEndian>

#include <csignal>
#include <memory>
#include <vector>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray ints(std::initializer_list<qint32> values)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    for (qint32 v : values)
        out << v;
    return data;
}

} // namespace

class TestQCopChannel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void everySubscriberGetsEveryMessageInOrder();
    void channelsAreSeparate();
    void deadSubscriberIsRemovedAndBlocksNobody();
    void stoppedSubscriberGetsItsMessagesLater();
    void stuckPeersHoldNobodyUp_data();
    void stuckPeersHoldNobodyUp();
    void messageSizeLimit_data();
    void messageSizeLimit();
    void runFolderIsPrivate_data();
    void runFolderIsPrivate();
    void deepProgramDirectoryGetsAPrivateFolder();
    void closedChannelLeavesNoSocket();
    void qcopPressesAndReleasesAKey();
    void listenerSurvivesRunningOutOfDescriptors();
    void qcopCommand_data();
    void qcopCommand();

private:
    QProcess *startListener(const QStringList &channels);
    QStringList lines(QProcess *listener);
    void waitForSubscribers(const QByteArray &channel, int count);

    QList<QProcess *> m_listeners;
    QHash<QProcess *, QByteArray> m_output;
};

void TestQCopChannel::initTestCase()
{
    // The helper is started by a path inside the test's program directory, so it belongs to the
    // same emulated phone.
    QVERIFY(QFile::link(QStringLiteral(QCOP_LISTENER), TestEnv::path(QStringLiteral("qcop_listener"))));
    TestEnv::installProgram(QStringLiteral("qcop"));
    QVERIFY(QFileInfo(TestEnv::path(QStringLiteral("qcop"))).isExecutable());
}

void TestQCopChannel::cleanup()
{
    for (QProcess *p : std::as_const(m_listeners)) {
        ::kill(pid_t(p->processId()), SIGCONT);
        p->kill();
        p->waitForFinished(3000);
        delete p;
    }
    m_listeners.clear();
    m_output.clear();
}

QProcess *TestQCopChannel::startListener(const QStringList &channels)
{
    auto *p = new QProcess;
    p->setProgram(TestEnv::path(QStringLiteral("qcop_listener")));
    p->setArguments(channels);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start();
    m_listeners.append(p);
    return p;
}

QStringList TestQCopChannel::lines(QProcess *listener)
{
    m_output[listener] += listener->readAllStandardOutput();
    return QString::fromUtf8(m_output[listener]).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestQCopChannel::waitForSubscribers(const QByteArray &channel, int count)
{
    QTRY_COMPARE_WITH_TIMEOUT(QCopChannel::subscriberCount(channel), count, 5000);
}

void TestQCopChannel::everySubscriberGetsEveryMessageInOrder()
{
    const QByteArray channel("/test/bc");
    QList<QProcess *> listeners;
    for (int i = 0; i < 3; ++i)
        listeners << startListener({QString::fromUtf8(channel)});
    waitForSubscribers(channel, 3);

    QStringList expected;
    for (int i = 0; i < 40; ++i) {
        const QByteArray data = ints({i, -i});
        QVERIFY(QCopChannel::send(channel, "m" + QByteArray::number(i), data));
        expected << QStringLiteral("/test/bc m%1 %2").arg(i).arg(QString::fromLatin1(data.toHex()));
    }
    for (QProcess *p : std::as_const(listeners)) {
        QTRY_COMPARE_WITH_TIMEOUT(lines(p).size(), expected.size(), 10000);
        QCOMPARE(lines(p), expected);
    }
}

void TestQCopChannel::channelsAreSeparate()
{
    QCopChannel a("chan/a");
    QCopChannel b("chan/b");
    QVERIFY(a.isListening());
    QSignalSpy spyA(&a, &QCopChannel::received);
    QSignalSpy spyB(&b, &QCopChannel::received);

    QVERIFY(QCopChannel::send("chan/a", "toA", "x"));
    QVERIFY(QCopChannel::send("chan/b", "toB"));
    QVERIFY(spyB.wait(3000));
    if (spyA.isEmpty())
        QVERIFY(spyA.wait(3000));
    QCOMPARE(spyA.size(), 1);
    QCOMPARE(spyB.size(), 1);
    QCOMPARE(spyA.at(0).at(0).toByteArray(), QByteArray("toA"));
    QCOMPARE(spyA.at(0).at(1).toByteArray(), QByteArray("x"));
    QCOMPARE(spyB.at(0).at(0).toByteArray(), QByteArray("toB"));
}

void TestQCopChannel::deadSubscriberIsRemovedAndBlocksNobody()
{
    const QByteArray channel("EZX/System");
    QProcess *dead = startListener({QString::fromUtf8(channel)});
    QProcess *alive = startListener({QString::fromUtf8(channel)});
    waitForSubscribers(channel, 2);
    const QStringList before = QDir(QCopChannel::runDirectory()).entryList(QDir::System);

    dead->kill();
    QVERIFY(dead->waitForFinished(3000));
    // Killed without any chance to clean up: its socket file is still there.
    QCOMPARE(QDir(QCopChannel::runDirectory()).entryList(QDir::System), before);

    QElapsedTimer clock;
    clock.start();
    QVERIFY(QCopChannel::send(channel, "LCDOff"));
    QVERIFY2(clock.elapsed() < 900, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(QDir(QCopChannel::runDirectory()).entryList(QDir::System).size(), before.size() - 1);
    QCOMPARE(QCopChannel::subscriberCount(channel), 1);
    QTRY_COMPARE_WITH_TIMEOUT(lines(alive), QStringList{QStringLiteral("EZX/System LCDOff ")}, 5000);
}

void TestQCopChannel::stoppedSubscriberGetsItsMessagesLater()
{
    // A subscriber that is busy (here: stopped) neither blocks the sender nor the others: every
    // send returns at once, the other subscriber gets every message, and the stopped one gets,
    // in order, every message whose send did not report failure once it runs again.
    const QByteArray channel("/hardkey/bc");
    QProcess *busy = startListener({QString::fromUtf8(channel)});
    QProcess *idle = startListener({QString::fromUtf8(channel)});
    waitForSubscribers(channel, 2);
    QCOMPARE(::kill(pid_t(busy->processId()), SIGSTOP), 0);

    const int sends = 300;
    int handedOver = 0;
    qint64 slowest = 0;
    for (int i = 0; i < sends; ++i) {
        QElapsedTimer clock;
        clock.start();
        handedOver += QCopChannel::send(channel, "keyMsg(int,int)", ints({4171, i})) ? 1 : 0;
        slowest = qMax(slowest, clock.elapsed());
    }
    // A send used to wait a second for each stopped subscriber once its queue was full.
    QVERIFY2(slowest < 500, qPrintable(QString::number(slowest)));
    QVERIFY2(handedOver >= 100, qPrintable(QString::number(handedOver)));
    QTRY_COMPARE_WITH_TIMEOUT(lines(idle).size(), sends, 10000);
    QVERIFY(lines(busy).isEmpty());

    QCOMPARE(::kill(pid_t(busy->processId()), SIGCONT), 0);
    QTRY_COMPARE_WITH_TIMEOUT(lines(busy).size(), handedOver, 10000);
    QCOMPARE(lines(busy), lines(idle).mid(0, handedOver));
    // Once it reads again, it gets every message.
    QVERIFY(QCopChannel::send(channel, "LCDOn"));
    QTRY_COMPARE_WITH_TIMEOUT(lines(busy).size(), handedOver + 1, 5000);
}

void TestQCopChannel::stuckPeersHoldNobodyUp_data()
{
    QTest::addColumn<int>("peers");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("dropped");

    QByteArray oversized(8, '\0');
    qToBigEndian(quint32(0x51435032), oversized.data());
    qToBigEndian(quint32(1) << 30, oversized.data() + 4);
    oversized += QByteArray(4096, 'x');

    QTest::newRow("half a message") << 1 << QByteArray("QCP") << false;
    QTest::newRow("five idle connections") << 5 << QByteArray() << false;
    QTest::newRow("a frame longer than the channel carries") << 1 << oversized << true;
    QTest::newRow("garbage") << 1 << QByteArray("hello, channel\n") << true;
}

void TestQCopChannel::stuckPeersHoldNobodyUp()
{
    QFETCH(int, peers);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, dropped);

    QCopChannel channel("half");
    QSignalSpy spy(&channel, &QCopChannel::received);
    const QStringList sockets = QDir(QCopChannel::runDirectory())
                                    .entryList(QDir::System)
                                    .filter(QString::number(QCoreApplication::applicationPid()));
    QCOMPARE(sockets.size(), 1);

    // Senders that connect, write a few bytes (or none) and then hang.
    std::vector<std::unique_ptr<QLocalSocket>> stuck;
    for (int i = 0; i < peers; ++i) {
        stuck.push_back(std::make_unique<QLocalSocket>());
        stuck.back()->connectToServer(QCopChannel::runDirectory() + sockets.first());
        QVERIFY(stuck.back()->waitForConnected(1000));
        if (!bytes.isEmpty()) {
            stuck.back()->write(bytes);
            QVERIFY(stuck.back()->waitForBytesWritten(1000));
        }
    }

    QVERIFY(QCopChannel::send("half", "after"));
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("after"));
    // The message did not wait for the stuck senders to be let go.
    for (const auto &peer : stuck) {
        if (dropped)
            QTRY_COMPARE_WITH_TIMEOUT(peer->state(), QLocalSocket::UnconnectedState, 1000);
        else
            QCOMPARE(peer->state(), QLocalSocket::ConnectedState);
    }
    // A stuck sender is let go after 2 s.
    if (!dropped)
        QTRY_COMPARE_WITH_TIMEOUT(stuck.back()->state(), QLocalSocket::UnconnectedState, 5000);
}

void TestQCopChannel::messageSizeLimit_data()
{
    QTest::addColumn<int>("dataSize");
    QTest::addColumn<bool>("delivered");
    const int most = QCopChannel::MaxMessageSize - 4; // with the message name "size"
    QTest::newRow("at the limit") << most << true;
    QTest::newRow("one byte over") << most + 1 << false;
    QTest::newRow("32 MB") << 32 * 1024 * 1024 << false;
}

void TestQCopChannel::messageSizeLimit()
{
    QFETCH(int, dataSize);
    QFETCH(bool, delivered);
    QCopChannel channel("big");
    QSignalSpy spy(&channel, &QCopChannel::received);
    QByteArray data(dataSize, '\0');
    for (int i = 0; i < dataSize; i += 4093)
        data[i] = char(i / 4093);
    QCOMPARE(QCopChannel::send("big", "size", data), delivered);
    QVERIFY(QCopChannel::send("big", "next"));
    QTRY_COMPARE_WITH_TIMEOUT(spy.size(), delivered ? 2 : 1, 5000);
    if (delivered) {
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("size"));
        QVERIFY(spy.at(0).at(1).toByteArray() == data);
    }
    QCOMPARE(spy.last().at(0).toByteArray(), QByteArray("next"));
}

void TestQCopChannel::runFolderIsPrivate_data()
{
    QTest::addColumn<QString>("made");
    QTest::addColumn<bool>("usable");
    QTest::newRow("open to others: made private") << "0755" << true;
    QTest::newRow("a link to another folder") << "link" << false;
    QTest::newRow("another user's folder") << "other" << false;
}

void TestQCopChannel::runFolderIsPrivate()
{
    QFETCH(QString, made);
    QFETCH(bool, usable);
    const QString run = TestEnv::path(QStringLiteral("device/run"));
    const QByteArray native = QFile::encodeName(run);
    QDir(run).removeRecursively();
    if (made == QLatin1String("link")) {
        QVERIFY(QDir().mkpath(TestEnv::path(QStringLiteral("elsewhere"))));
        QVERIFY(QFile::link(TestEnv::path(QStringLiteral("elsewhere")), run));
    } else {
        QVERIFY(QDir().mkpath(run));
        QCOMPARE(::chmod(native.constData(), 0755), 0);
        if (made == QLatin1String("other")) {
            if (::geteuid() != 0)
                QSKIP("only root can give a folder to another user");
            QCOMPARE(::chown(native.constData(), 65534, 65534), 0);
        }
    }

    {
        QCopChannel channel("private");
        QCOMPARE(channel.isListening(), usable);
        QCOMPARE(channel.errorString().isEmpty(), usable);
        QCOMPARE(QCopChannel::send("private", "m"), usable);
    }
    struct stat st;
    QCOMPARE(::lstat(native.constData(), &st), 0);
    if (usable)
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
    QFile::remove(run);
    QDir(run).removeRecursively();
}

void TestQCopChannel::deepProgramDirectoryGetsAPrivateFolder()
{
    // A program directory too deep for socket paths keeps its sockets in a short folder of the
    // user (here under a temporary folder of the test), private at both levels.
    const QString deep = TestEnv::path(QString(90, QLatin1Char('d')) + QStringLiteral("/"));
    const QString tmp = TestEnv::path(QStringLiteral("tmp"));
    QVERIFY(QDir().mkpath(deep));
    QVERIFY(QDir().mkpath(tmp));
    QVERIFY(QFile::link(QStringLiteral(QCOP_LISTENER), deep + QStringLiteral("qcop_listener")));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("TMPDIR"), tmp);
    QProcess listener;
    listener.setProcessEnvironment(env);
    listener.start(deep + QStringLiteral("qcop_listener"), {QStringLiteral("deep")});
    QVERIFY(listener.waitForStarted(5000));

    const QString user = tmp + QStringLiteral("/quillora-run-%1").arg(::geteuid());
    QTRY_COMPARE_WITH_TIMEOUT(QDir(user).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1, 5000);
    const QString device = user + QLatin1Char('/') + QDir(user).entryList(QDir::Dirs | QDir::NoDotAndDotDot).first();
    QTRY_COMPARE_WITH_TIMEOUT(QDir(device).entryList(QDir::System).size(), 1, 5000);
    for (const QString &folder : {user, device}) {
        struct stat st;
        QCOMPARE(::lstat(QFile::encodeName(folder).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
        QCOMPARE(st.st_uid, ::geteuid());
    }
    listener.terminate();
    QVERIFY(listener.waitForFinished(5000));
}
void TestQCopChannel::closedChannelLeavesNoSocket()
{
    const QDir run(QCopChannel::runDirectory());
    const QStringList before = run.entryList(QDir::System | QDir::Hidden);
    {
        QCopChannel channel("short/lived");
        QVERIFY(QCopChannel::isRegistered("short/lived"));
        QCOMPARE(run.entryList(QDir::System | QDir::Hidden).size(), before.size() + 1);
    }
    QVERIFY(!QCopChannel::isRegistered("short/lived"));
    QCOMPARE(run.entryList(QDir::System | QDir::Hidden), before);
    // Nobody listening is no failure of a broadcast.
    QVERIFY(QCopChannel::send("short/lived", "anyone?"));
}

void TestQCopChannel::listenerSurvivesRunningOutOfDescriptors()
{
    // A subscriber that may hold 64 descriptors, and 200 senders that connect at once and hang.
    auto *listener = new QProcess;
    listener->setProgram(TestEnv::path(QStringLiteral("qcop_listener")));
    listener->setArguments({QStringLiteral("flood")});
    listener->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    listener->setChildProcessModifier([] {
        const rlimit few{64, 64};
        ::setrlimit(RLIMIT_NOFILE, &few);
    });
    listener->start();
    m_listeners.append(listener);
    waitForSubscribers("flood", 1);
    const QString socket = QCopChannel::runDirectory()
        + QDir(QCopChannel::runDirectory()).entryList(QDir::System).filter(QString::number(listener->processId())).value(0);
    const QString fds = QStringLiteral("/proc/%1/fd").arg(listener->processId());
    std::vector<std::unique_ptr<QLocalSocket>> flood;
    for (int i = 0; i < 200; ++i) {
        flood.push_back(std::make_unique<QLocalSocket>());
        flood.back()->connectToServer(socket);
        QVERIFY(flood.back()->waitForConnected(1000));
    }
    QTRY_VERIFY_WITH_TIMEOUT(QDir(fds).entryList(QDir::System | QDir::NoDotAndDotDot).size() >= 60, 5000);

    // The hung senders go; a message sent now is heard.
    flood.clear();
    QVERIFY(QCopChannel::send("flood", "after"));
    QTRY_COMPARE_WITH_TIMEOUT(lines(listener), QStringList{QStringLiteral("flood after ")}, 5000);
    QCOMPARE(QCopChannel::subscriberCount("flood"), 1);
}

void TestQCopChannel::qcopCommand_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("msg");
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("key press") << QStringList{QStringLiteral("/hardkey/bc"), QStringLiteral("keyMsg(int,int)"), QStringLiteral("4171"), QStringLiteral("1")} << 0
                               << QByteArray("keyMsg(int,int)") << ints({4171, 1});
    QTest::newRow("hex state") << QStringList{QStringLiteral("/hardkey/bc"), QStringLiteral("keyMsg(int,int)"), QStringLiteral("4172"), QStringLiteral("0x10000001")}
                               << 0 << QByteArray("keyMsg(int,int)") << ints({4172, 0x10000001});
    QTest::newRow("negative") << QStringList{QStringLiteral("/hardkey/bc"), QStringLiteral("m"), QStringLiteral("-5")} << 0 << QByteArray("m")
                              << ints({-5});
    QTest::newRow("no data") << QStringList{QStringLiteral("/hardkey/bc"), QStringLiteral("LCDOn")} << 0 << QByteArray("LCDOn")
                             << QByteArray();
    QTest::newRow("no message") << QStringList{QStringLiteral("/hardkey/bc")} << 2 << QByteArray() << QByteArray();
    QTest::newRow("nobody listens") << QStringList{QStringLiteral("/nobody"), QStringLiteral("LCDOn")} << 3 << QByteArray() << QByteArray();
    QTest::newRow("not a number") << QStringList{QStringLiteral("/hardkey/bc"), QStringLiteral("keyMsg(int,int)"), QStringLiteral("41x")} << 2
                                  << QByteArray() << QByteArray();
    QTest::newRow("too big") << QStringList{QStringLiteral("/hardkey/bc"), QStringLiteral("keyMsg(int,int)"), QStringLiteral("4294967296")} << 2
                             << QByteArray() << QByteArray();
}

void TestQCopChannel::qcopCommand()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, msg);
    QFETCH(QByteArray, data);

    QCopChannel channel("/hardkey/bc");
    QSignalSpy spy(&channel, &QCopChannel::received);
    QProcess qcop;
    qcop.start(TestEnv::path(QStringLiteral("qcop")), args);
    QVERIFY(qcop.waitForFinished(5000));
    QCOMPARE(qcop.exitCode(), exitCode);
    if (exitCode != 0) {
        const QByteArray err = qcop.readAllStandardError();
        QVERIFY(err.startsWith("qcop: "));
        QCOMPARE(err.count('\n'), 1);
        // Whatever it could not parse, it sent nothing: a message sent after it is the first
        // to arrive.
        QVERIFY(QCopChannel::send("/hardkey/bc", "after"));
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("after"));
        return;
    }
    QVERIFY(spy.wait(3000));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toByteArray(), msg);
    QCOMPARE(spy.at(0).at(1).toByteArray(), data);
}

void TestQCopChannel::qcopPressesAndReleasesAKey()
{
    QProcess qcop;
    const QStringList args{QStringLiteral("--key"), QStringLiteral("4171")};
    // With nobody listening the key is lost, and the command says so.
    qcop.start(TestEnv::path(QStringLiteral("qcop")), args);
    QVERIFY(qcop.waitForFinished(5000));
    QCOMPARE(qcop.exitCode(), 3);
    QCOMPARE(qcop.readAllStandardError(), QByteArray("qcop: nobody listens on /hardkey/bc; the key is lost\n"));

    QCopChannel channel("/hardkey/bc");
    QSignalSpy spy(&channel, &QCopChannel::received);
    qcop.start(TestEnv::path(QStringLiteral("qcop")), args);
    QVERIFY(qcop.waitForFinished(5000));
    QCOMPARE(qcop.exitCode(), 0);
    QTRY_COMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("keyMsg(int,int)"));
    QCOMPARE(spy.at(0).at(1).toByteArray(), ints({4171, 1}));
    QCOMPARE(spy.at(1).at(1).toByteArray(), ints({4171, 2}));
}

QUILLORA_TEST_MAIN(TestQCopChannel)
#include "tst_qcopchannel.moc"
