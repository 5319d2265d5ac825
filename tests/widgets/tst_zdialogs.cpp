#include "phonekey.h"
#include "testenv.h"
#include "zdialogmonitor.h"
#include "zkeys.h"
#include "zlineedit.h"
#include "zlistbox.h"
#include "zmessagedlg.h"
#include "zmultiselectdlg.h"
#include "znoticedlg.h"
#include "zsinglecapturedlg.h"
#include "zsoftkey.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <functional>

namespace {

// Runs an answer for the next dialog that starts its modal loop.
class Answer : public QObject
{
public:
    explicit Answer(std::function<void(QWidget *)> f)
        : m_f(std::move(f))
    {
        connect(ZDialogMonitor::instance(), &ZDialogMonitor::dialogShown, this, [this](QWidget *dlg) {
            ++shown;
            if (m_f)
                m_f(dlg);
        });
    }
    int shown = 0;

private:
    std::function<void(QWidget *)> m_f;
};

} // namespace

class TestZDialogs : public QObject
{
    Q_OBJECT
private slots:
    void noticeClosesByItself_data();
    void noticeClosesByItself();
    void noticeWithoutTimeWaits();
    void noticeKeys_data();
    void noticeKeys();
    void messageAnswers_data();
    void messageAnswers();
    void captureKeepsItsText();
    void multiSelect();
    void monitorReportsEachRun();
};

void TestZDialogs::noticeClosesByItself_data()
{
    QTest::addColumn<int>("time");
    QTest::newRow("100 ms") << 100;
    QTest::newRow("500 ms") << 500;
}

void TestZDialogs::noticeClosesByItself()
{
    QFETCH(int, time);
    ZNoticeDlg notice(ZNoticeDlg::Attention, time, QString(), QStringLiteral("Saved"));
    QCOMPARE(notice.text(), QStringLiteral("Saved"));
    QCOMPARE(notice.timeValue(), time);
    QElapsedTimer clock;
    clock.start();
    const int result = notice.exec(); // nobody answers: only its own time can end it
    QCOMPARE(result, 1);
    QVERIFY2(clock.elapsed() >= time - 5, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(clock.elapsed() < time + 3000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!notice.isVisible());
}

void TestZDialogs::noticeWithoutTimeWaits()
{
    ZNoticeDlg notice(ZNoticeDlg::Information, 0, QString(), QStringLiteral("Linked"));
    bool stillOpen = false;
    Answer answer([&](QWidget *dlg) {
        QTimer::singleShot(400, dlg, [&, dlg] {
            stillOpen = dlg->isVisible();
            static_cast<ZNoticeDlg *>(dlg)->softKey()->click(ZSoftKey::LEFT);
        });
    });
    QCOMPARE(notice.exec(), 1);
    QVERIFY(stillOpen);
}

void TestZDialogs::noticeKeys_data()
{
    QTest::addColumn<bool>("question");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    for (bool question : {false, true}) {
        const QByteArray kind = question ? "question, " : "notice, ";
        QTest::newRow(kind + "back") << question << ZKey::Back << 0;
        QTest::newRow(kind + "escape") << question << int(Qt::Key_Escape) << 0;
        QTest::newRow(kind + "left soft key") << question << ZKey::Add << 1;
        QTest::newRow(kind + "return") << question << int(Qt::Key_Return) << 1;
        QTest::newRow(kind + "enter") << question << int(Qt::Key_Enter) << 1;
        QTest::newRow(kind + "select") << question << ZKey::Select << 1;
    }
    QTest::newRow("question, right soft key") << true << int(Qt::Key_F4) << 0;
}

void TestZDialogs::noticeKeys()
{
    QFETCH(bool, question);
    QFETCH(int, key);
    // Keys as the keyboard sends them: to the dialog's focus widget, or the dialog itself.
    auto press = [key](QWidget *dlg) {
        QWidget *target = dlg->focusWidget() ? dlg->focusWidget() : dlg;
        sendPhoneKey(target, key);
    };
    Answer answer(press);
    if (question) {
        ZMessageDlg dlg(QStringLiteral("Caution"), QStringLiteral("Sure?"), ZMessageDlg::Question);
        QTEST(dlg.exec(), "result");
    } else {
        ZNoticeDlg notice(ZNoticeDlg::Error, 0, QString(), QStringLiteral("No"));
        QTEST(notice.exec(), "result");
    }
    QCOMPARE(answer.shown, 1);
}

void TestZDialogs::messageAnswers_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("softKey");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("stillOpen");
    QTest::newRow("question, OK") << int(ZMessageDlg::Question) << int(ZSoftKey::LEFT) << 1 << false;
    QTest::newRow("question, Cancel") << int(ZMessageDlg::Question) << int(ZSoftKey::RIGHT) << 0 << false;
    QTest::newRow("message, OK") << int(ZMessageDlg::Message) << int(ZSoftKey::LEFT) << 1 << false;
    // A message has no right key: clicking its empty place does nothing.
    QTest::newRow("message, empty right key") << int(ZMessageDlg::Message) << int(ZSoftKey::RIGHT) << 0 << true;
}

void TestZDialogs::messageAnswers()
{
    QFETCH(int, type);
    QFETCH(int, softKey);
    ZMessageDlg dlg(QStringLiteral("Caution"), QStringLiteral("Restart the phone?"), type);
    QCOMPARE(dlg.title(), QStringLiteral("Caution"));
    bool open = false;
    Answer answer([&](QWidget *) {
        dlg.softKey()->click(softKey);
        open = dlg.isVisible();
        if (open)
            sendPhoneKey(&dlg, ZKey::Back);
    });
    QTEST(dlg.exec(), "result");
    QTEST(open, "stillOpen");
}

void TestZDialogs::captureKeepsItsText()
{
    ZSingleCaptureDlg dlg(QStringLiteral("Save as"), QStringLiteral("File name"));
    QCOMPARE(dlg.objectName(), QStringLiteral("ZSingleCaptureDlg"));
    QCOMPARE(dlg.prompt(), QStringLiteral("File name"));

    QStringList seen;
    int run = 0;
    Answer answer([&](QWidget *) {
        seen << dlg.text();
        ++run;
        if (run == 1) {
            QTest::keyClicks(dlg.lineEdit(), QStringLiteral("night"));
            QTest::keyClick(dlg.lineEdit(), Qt::Key_Return);
        } else if (run == 2) {
            QTest::keyClicks(dlg.lineEdit(), QStringLiteral("2"));
            dlg.softKey()->click(ZSoftKey::LEFT);
        } else {
            dlg.softKey()->click(ZSoftKey::RIGHT);
        }
    });
    QCOMPARE(dlg.exec(), 1);
    QCOMPARE(dlg.text(), QStringLiteral("night"));
    // Shown again, the field still holds the last answer, which the user can extend.
    dlg.lineEdit()->end(false);
    QCOMPARE(dlg.exec(), 1);
    QCOMPARE(seen.value(1), QStringLiteral("night"));
    QCOMPARE(dlg.exec(), 0);
    QCOMPARE(dlg.text(), seen.value(2));
}

void TestZDialogs::multiSelect()
{
    ZMultiSelectDlg dlg(QStringLiteral("Themes"), {QStringLiteral("_"), QStringLiteral("blue.theme"), QStringLiteral("night.theme"), QStringLiteral("Red.theme")});
    QCOMPARE(dlg.count(), 4);
    QCOMPARE(dlg.itemText(2), QStringLiteral("night.theme"));
    dlg.setChecked(0, true);
    dlg.setChecked(2, true);

    Answer answer([&](QWidget *) {
        // The user moves to "Red.theme", checks it, unchecks "_" and confirms.
        ZListBox *list = dlg.listBox();
        list->setCurrentItem(3);
        sendPhoneKey(list, ZKey::Select);
        list->setCurrentItem(0);
        sendPhoneKey(list, ZKey::Select);
        dlg.softKey()->click(ZSoftKey::LEFT);
    });
    QCOMPARE(dlg.exec(), 1);
    QCOMPARE(dlg.checkedIndexes(), (QList<int>{2, 3}));
    QCOMPARE(dlg.checkedTexts(), (QStringList{QStringLiteral("night.theme"), QStringLiteral("Red.theme")}));

    // New entries start unchecked.
    dlg.setItems({QStringLiteral("a"), QStringLiteral("b")});
    QVERIFY(dlg.checkedIndexes().isEmpty());
}

void TestZDialogs::monitorReportsEachRun()
{
    ZNoticeDlg first(0, 0, QString(), QStringLiteral("one"));
    ZMessageDlg second(QString(), QStringLiteral("two"), ZMessageDlg::Question);
    QStringList texts;
    Answer answer([&](QWidget *dlg) {
        if (auto *n = qobject_cast<ZNoticeDlg *>(dlg))
            texts << n->text();
        else if (auto *m = qobject_cast<ZMessageDlg *>(dlg))
            texts << m->text();
        static_cast<QDialog *>(dlg)->accept();
    });
    first.exec();
    second.exec();
    first.exec();
    QCOMPARE(texts, (QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("one")}));
}

QUILLORA_TEST_MAIN(TestZDialogs)
#include "tst_zdialogs.moc"
