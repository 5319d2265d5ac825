#include "langtext.h"
#include "mybasedlg.h"
#include "phonekey.h"
#include "testenv.h"
#include "zconfig.h"
#include "zdialogmonitor.h"
#include "zkeys.h"

#include <QEventLoop>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>
#include <functional>

namespace {

// A dialog of the program: closes with reject() on the back key, like the About dialog.
class BackDlg : public MyBaseDlg
{
protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (ZKey::code(e) == ZKey::Back)
            reject();
        else
            MyBaseDlg::keyPressEvent(e);
    }
};

// Runs f once, for the next dialog that starts its modal loop.
void onNextDialog(std::function<void(QWidget *)> f)
{
    auto *conn = new QMetaObject::Connection;
    *conn = QObject::connect(ZDialogMonitor::instance(), &ZDialogMonitor::dialogShown,
                             [conn, f](QWidget *dlg) {
                                 QObject::disconnect(*conn);
                                 delete conn;
                                 f(dlg);
                             });
}

} // namespace

class TestMyBaseDlg : public QObject
{
    Q_OBJECT
private slots:
    void execReturnsTheResult_data();
    void execReturnsTheResult();
    void doneWithoutExec();
    void nestedDialogs();
    void mainWidgetQuits();
    void keypadReturnsToTheMainWindow_data();
    void keypadReturnsToTheMainWindow();
    void deletedWhileRunning();
    void programDir();
    void getText_data();
    void getText();
};

void TestMyBaseDlg::execReturnsTheResult_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("accept") << "accept" << 1;
    QTest::newRow("reject") << "reject" << 0;
    QTest::newRow("done(7)") << "done7" << 7;
    QTest::newRow("key 4145") << "back" << 0;
    QTest::newRow("window closed") << "close" << 0;
}

void TestMyBaseDlg::execReturnsTheResult()
{
    QFETCH(QString, how);
    BackDlg dlg;
    QCOMPARE(dlg.objectName(), QStringLiteral("ZMainWidget"));
    QVERIFY(dlg.isWindow());
    QCOMPARE(dlg.size(), QSize(240, 320));
    QVERIFY(!dlg.loopStarted());

    bool visibleInLoop = false;
    const auto finish = [&](QWidget *w) {
        visibleInLoop = w->isVisible() && dlg.loopStarted();
        if (how == QStringLiteral("accept"))
            dlg.accept();
        else if (how == QStringLiteral("reject"))
            dlg.reject();
        else if (how == QStringLiteral("done7"))
            dlg.done(7);
        else if (how == QStringLiteral("back"))
            sendPhoneKey(&dlg, ZKey::Back);
        else
            dlg.close();
    };
    onNextDialog(finish);
    QTEST(dlg.exec(), "result");
    QVERIFY(visibleInLoop);
    QVERIFY(!dlg.isVisible());
    QVERIFY(dlg.loopStarted()); // never cleared

    // The dialog can run again, and ends the same way.
    visibleInLoop = false;
    onNextDialog(finish);
    QTEST(dlg.exec(), "result");
    QVERIFY(visibleInLoop);
}

void TestMyBaseDlg::doneWithoutExec()
{
    BackDlg dlg;
    dlg.show();
    // An event loop that belongs to somebody else must go on running.
    QEventLoop outer;
    bool outerStillRunning = false;
    QTimer::singleShot(0, &dlg, [&] {
        dlg.done(5);
        QTimer::singleShot(50, &outer, [&] {
            outerStillRunning = true;
            outer.quit();
        });
    });
    outer.exec();
    QVERIFY(outerStillRunning);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), 5);
    QVERIFY(!dlg.loopStarted());
}

void TestMyBaseDlg::nestedDialogs()
{
    BackDlg outer;
    BackDlg inner;
    int innerResult = -1;
    onNextDialog([&](QWidget *) {
        onNextDialog([&](QWidget *) { inner.accept(); });
        innerResult = inner.exec();
        // Back in the outer dialog's loop, which is still running.
        QVERIFY(outer.isVisible());
        outer.reject();
    });
    QCOMPARE(outer.exec(), 0);
    QCOMPARE(innerResult, 1);
}

void TestMyBaseDlg::mainWidgetQuits()
{
    auto *main = new BackDlg;
    app->showMainWidget(main);
    BackDlg dialog;
    // The back key on the main window, even while a dialog of it runs, ends the application.
    QTimer::singleShot(0, main, [&] {
        onNextDialog([&](QWidget *) { sendPhoneKey(main, ZKey::Back); });
        dialog.exec();
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, app, [] { QCoreApplication::exit(99); });
    failsafe.start(5000);
    QCOMPARE(app->exec(), 0);
    QVERIFY(!main->isVisible());
    app->setMainWidget(nullptr);
    delete main;
}

void TestMyBaseDlg::keypadReturnsToTheMainWindow_data()
{
    QTest::addColumn<bool>("insideADialog");
    QTest::newRow("main window") << false;
    QTest::newRow("a dialog still open") << true;
}

void TestMyBaseDlg::keypadReturnsToTheMainWindow()
{
    QFETCH(bool, insideADialog);
    auto *main = new BackDlg;
    app->showMainWidget(main);
    const auto done = qScopeGuard([main] {
        app->setMainWidget(nullptr);
        delete main;
    });
    QTRY_COMPARE(QApplication::activeWindow(), main);
    // Each dialog takes the keys while it runs, then `during` runs and the dialog ends.
    const auto runActive = [](BackDlg &dialog, const std::function<void()> &during) {
        onNextDialog([&dialog, during](QWidget *) {
            const auto end = qScopeGuard([&dialog] { dialog.accept(); });
            dialog.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), &dialog);
            during();
        });
        dialog.exec();
    };
    // A dialog ends, and the next opens at once, before the window under them is active again
    // (the notice after "Save" in the preview): the window active before the second is gone
    // when the second ends. The keys go to the window under them.
    const auto twoInARow = [&runActive] {
        BackDlg first;
        runActive(first, [] {});
        BackDlg second;
        runActive(second, [] {});
    };
    if (!insideADialog) {
        twoInARow();
        QTRY_COMPARE(QApplication::activeWindow(), main);
        return;
    }
    BackDlg outer;
    runActive(outer, [&] {
        twoInARow();
        QTRY_COMPARE(QApplication::activeWindow(), &outer);
    });
}

void TestMyBaseDlg::deletedWhileRunning()
{
    QPointer<BackDlg> dlg = new BackDlg;
    onNextDialog([&](QWidget *) { delete dlg.data(); });
    QCOMPARE(dlg->exec(), 0);
    QVERIFY(!dlg);
}

void TestMyBaseDlg::programDir()
{
    QCOMPARE(MyBaseDlg::getProgramDir(), TestEnv::dir());
    QVERIFY(MyBaseDlg::getProgramDir().endsWith(QLatin1Char('/')));
}

void TestMyBaseDlg::getText_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file at all
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    const QByteArray english = "[Quillora]\nOptions = Options\nSave = Keep\nInitText = Welcome back\n";
    QTest::newRow("present") << english << "Save" << "Keep";
    QTest::newRow("missing key") << english << "Back" << "Back";
    QTest::newRow("missing file") << QByteArray() << "Save" << "Save";
    QTest::newRow("other group name") << QByteArray("[Chinese]\nSave = Keep\n") << "Save" << "Save";
    QTest::newRow("case matters") << english << "save" << "save";
    QTest::newRow("UTF-8 text") << QByteArray("[Quillora]\nSave = \xe4\xbf\x9d\xe5\xad\x98\n") << "Save"
                                << QString::fromUtf8("\xe4\xbf\x9d\xe5\xad\x98");
}

void TestMyBaseDlg::getText()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    const QString rel = QStringLiteral("resource/language/test.lng");
    TestEnv::removeFile(rel);
    if (!file.isEmpty())
        TestEnv::writeFile(rel, file);
    ZConfig lang(TestEnv::path(rel));
    QTEST(::getText(&lang, key), "text");
    QCOMPARE(::getText(nullptr, key), key);
    TestEnv::removeFile(rel);
}

QUILLORA_TEST_MAIN(TestMyBaseDlg)
#include "tst_mybasedlg.moc"
