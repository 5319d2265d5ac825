#include "qcopchannel.h"
#include "testenv.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>

#include <csignal>

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
    void halfSentMessageDoesNotHoldUpTheRest();
    void closedChannelLeavesNoSocket();
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
    // A subscriber that is busy (here: stopped) neither blocks the sender nor loses messages.
    const QByteArray channel("/hardkey/bc");
    QProcess *busy = startListener({QString::fromUtf8(channel)});
    QProcess *idle = startListener({QString::fromUtf8(channel)});
    waitForSubscribers(channel, 2);
    QCOMPARE(::kill(pid_t(busy->processId()), SIGSTOP), 0);

    QElapsedTimer clock;
    clock.start();
    for (int state : {1, 2, 0x10000001})
        QVERIFY(QCopChannel::send(channel, "keyMsg(int,int)", ints({4171, state})));
    QVERIFY(clock.elapsed() < 2000);
    QTRY_COMPARE_WITH_TIMEOUT(lines(idle).size(), 3, 5000);
    QVERIFY(lines(busy).isEmpty());

    QCOMPARE(::kill(pid_t(busy->processId()), SIGCONT), 0);
    QTRY_COMPARE_WITH_TIMEOUT(lines(busy).size(), 3, 5000);
    QCOMPARE(lines(busy), lines(idle));
    QCOMPARE(lines(busy).at(2),
             QStringLiteral("/hardkey/bc keyMsg(int,int) ") + QString::fromLatin1(ints({4171, 0x10000001}).toHex()));
}

void TestQCopChannel::halfSentMessageDoesNotHoldUpTheRest()
{
    QCopChannel channel("half");
    QSignalSpy spy(&channel, &QCopChannel::received);
    const QStringList sockets = QDir(QCopChannel::runDirectory())
                                    .entryList(QDir::System)
                                    .filter(QString::number(QCoreApplication::applicationPid()));
    QCOMPARE(sockets.size(), 1);

    // A sender that connects, writes a few bytes and then hangs.
    QLocalSocket stuck;
    stuck.connectToServer(QCopChannel::runDirectory() + sockets.first());
    QVERIFY(stuck.waitForConnected(1000));
    stuck.write("QCP");
    QVERIFY(stuck.waitForBytesWritten(1000));

    QVERIFY(QCopChannel::send("half", "after"));
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("after"));
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

void TestQCopChannel::qcopCommand_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("msg");
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("key press") << QStringList{"/hardkey/bc", "keyMsg(int,int)", "4171", "1"} << 0
                               << QByteArray("keyMsg(int,int)") << ints({4171, 1});
    QTest::newRow("hex state") << QStringList{"/hardkey/bc", "keyMsg(int,int)", "4172", "0x10000001"}
                               << 0 << QByteArray("keyMsg(int,int)") << ints({4172, 0x10000001});
    QTest::newRow("negative") << QStringList{"/hardkey/bc", "m", "-5"} << 0 << QByteArray("m")
                              << ints({-5});
    QTest::newRow("no data") << QStringList{"/hardkey/bc", "LCDOn"} << 0 << QByteArray("LCDOn")
                             << QByteArray();
    QTest::newRow("no message") << QStringList{"/hardkey/bc"} << 2 << QByteArray() << QByteArray();
    QTest::newRow("not a number") << QStringList{"/hardkey/bc", "keyMsg(int,int)", "41x"} << 2
                                  << QByteArray() << QByteArray();
    QTest::newRow("too big") << QStringList{"/hardkey/bc", "keyMsg(int,int)", "4294967296"} << 2
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
        // Whatever it could not parse, it sent nothing.
        QVERIFY(!spy.wait(300));
        return;
    }
    QVERIFY(spy.wait(3000));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toByteArray(), msg);
    QCOMPARE(spy.at(0).at(1).toByteArray(), data);
}

QUILLORA_TEST_MAIN(TestQCopChannel)
#include "tst_qcopchannel.moc"
