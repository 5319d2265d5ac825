// The notice and festival managers and their add and edit dialogs, driven with the phone's keys
// in a private program directory.

#include "dialogscript.h"
#include "festivaldlg.h"
#include "langtext.h"
#include "noticelistmng.h"
#include "notifydlg.h"
#include "testenv.h"
#include "zcheckbox.h"
#include "zconfig.h"
#include "zdatemodule.h"
#include "zkeys.h"
#include "zlineedit.h"
#include "zlistbox.h"
#include "zmessagedlg.h"
#include "znoticedlg.h"
#include "znumpicker.h"
#include "zoptionsmenu.h"
#include "zsoftkey.h"

#include <memory>

namespace {

enum Kind { Notices, Festivals };

// Other groups before and after the user's entries; the Chinese text must survive byte for byte.
const QByteArray kFestivalHead = "[FestivalNotify]\n01/01 = New Year\n08$15 = Mid-Autumn\n";
const QByteArray kNotices = "[CustomNotify]\n"
                            "2009/05/01 = Labour: day = off\n"
                            "2009/06/01 = \xe5\x84\xbf\xe7\xab\xa5\xe8\x8a\x82 party\n"
                            "2009/07/01 = see 2009/05/01\n";
const QByteArray kFestivals = "[CustomFestival]\n05/01 = mum\n12/25 = \xe5\x9c\xa3\xe8\xaf\x9e\n02/31 = quiet day\n";
const QByteArray kFile = kFestivalHead + kNotices + kFestivals;
// What a hand-edited file may hold: a blank line and a stray line inside the group, and a second
// header of the group, which the store and the desktop do not read.
const QByteArray kOddTail = "stray line\n[FestivalNotify]\n01/01 = New Year\n[CustomNotify]\n2026/01/03 = hidden\n";
const QByteArray kOdd = "[CustomNotify]\n2026/01/01 = a\n\n2026/01/02 = b\n" + kOddTail;

std::unique_ptr<NoticeListMng> makeManager(Kind kind, ZConfig *lang)
{
    if (kind == Notices)
        return std::make_unique<NotifyMng>(lang);
    return std::make_unique<FestivalMng>(lang);
}

QStringList rows(const ZListBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->subItemText(1, 0) + QLatin1Char('|') + list->item(i)->subItemText(1, 1);
    return out;
}

// A phone key as the keypad sends it; a key the widget leaves goes on to its parents.
void press(QWidget *w, int code)
{
    QKeyEvent down(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, code, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}

// Sets the date controls of an add or edit dialog to a key of its group.
void setKey(QWidget *dlg, const QString &key)
{
    const QStringList p = key.split(QLatin1Char('/'));
    if (auto n = qobject_cast<NotifyDlg *>(dlg)) {
        n->dateModule()->setDate(QDate(p[0].toInt(), p[1].toInt(), p[2].toInt()));
    } else if (auto f = qobject_cast<FestivalDlg *>(dlg)) {
        f->monthPicker()->setValue(p[0].toInt());
        f->dayPicker()->setValue(p[1].toInt());
    }
}

QString keyOf(QWidget *dlg)
{
    if (auto n = qobject_cast<NotifyDlg *>(dlg))
        return n->noticeKey();
    if (auto f = qobject_cast<FestivalDlg *>(dlg))
        return f->festivalKey();
    return QString();
}

// A desktop key sent where the dialog's focus is.
void key(QWidget *dlg, Qt::Key k)
{
    QTest::keyClick(dlg->focusWidget() ? dlg->focusWidget() : dlg, k);
}

// Walks the focus up to a control with the navigation keys.
bool focusUpTo(QWidget *dlg, QWidget *target)
{
    for (int i = 0; i < 8 && dlg->focusWidget() != target; ++i)
        key(dlg, Qt::Key_Up);
    return dlg->focusWidget() == target;
}

// Steps the focused picker to a value with left and right.
void stepTo(QWidget *dlg, ZNumPicker *picker, int value)
{
    for (int i = 0; i < 40 && picker->value() != value; ++i)
        key(dlg, picker->value() < value ? Qt::Key_Right : Qt::Key_Left);
}

ZLineEdit *textOf(QWidget *dlg)
{
    auto e = qobject_cast<EntryDlg *>(dlg);
    return e ? e->textField() : nullptr;
}

} // namespace

class TestNoticeMng : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { delete m_lang; }

    void listing_data();
    void listing();
    void deleteEntry_data();
    void deleteEntry();
    void editEntry_data();
    void editEntry();
    void addEntry_data();
    void addEntry();
    void takenDateAsks_data();
    void takenDateAsks();
    void addByKeys_data();
    void addByKeys();
    void emptyTextRefused_data();
    void emptyTextRefused();
    void cancelWritesNothing_data();
    void cancelWritesNothing();
    void failedWriteKeepsDialogOpen();
    void managerCloses_data();
    void managerCloses();
    void optionsMenu();
    void lunarFestivalDialogs_data();
    void lunarFestivalDialogs();
    void lunarFestivalList_data();
    void lunarFestivalList();

private:
    QByteArray db() const { return TestEnv::readFile(QStringLiteral("notify.db")); }
    ZConfig *m_lang = nullptr;
};

void TestNoticeMng::initTestCase()
{
    m_lang = new ZConfig(TestEnv::path(QStringLiteral("resource/language/English.lng")));
}

void TestNoticeMng::init()
{
    TestEnv::writeFile(QStringLiteral("notify.db"), kFile);
}

void TestNoticeMng::listing_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    const QStringList notices = {QStringLiteral("Labour: day = off|2009/05/01"),
                                 QStringLiteral("儿童节 party|2009/06/01"),
                                 QStringLiteral("see 2009/05/01|2009/07/01")};
    const QStringList festivals = {QStringLiteral("mum|05/01"), QStringLiteral("圣诞|12/25"),
                                   QStringLiteral("quiet day|Fallback")};
    QTest::newRow("notices between other groups") << int(Notices) << kFile << notices;
    QTest::newRow("festivals after other groups") << int(Festivals) << kFile << festivals;
    QTest::newRow("note and countdown under their purpose")
        << int(Notices) << QByteArray("[CustomNotify]\n1901/01/01 = milk|call home\n1901/01/02 = 2030|1|1|launch\n"
                                      "1901/01/03 = old\n")
        << QStringList{QStringLiteral("milk / call home|Note"), QStringLiteral("launch (2030/1/1)|Countdown"),
                       QStringLiteral("old|1901/01/03")};
    QTest::newRow("only other groups") << int(Notices) << kFestivalHead + kFestivals << QStringList();
    QTest::newRow("missing file") << int(Festivals) << QByteArray() << QStringList();
    QTest::newRow("comment inside the group does not end it")
        << int(Notices) << QByteArray("[CustomNotify]\n2009/05/01 = a\n# later\n2009/05/02 = b\n")
        << QStringList{QStringLiteral("a|2009/05/01"), QStringLiteral("b|2009/05/02")};
    QTest::newRow("blank and stray lines, second header: what the store reads")
        << int(Notices) << kOdd << QStringList{QStringLiteral("a|2026/01/01"), QStringLiteral("b|2026/01/02")};
}

void TestNoticeMng::listing()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    if (file.isNull())
        TestEnv::removeFile(QStringLiteral("notify.db"));
    else
        TestEnv::writeFile(QStringLiteral("notify.db"), file);

    auto mng = makeManager(Kind(kind), m_lang);
    QCOMPARE(rows(mng->listBox()), expected);
    QCOMPARE(mng->windowTitle(),
             getText(m_lang, kind == Notices ? QStringLiteral("CusNoticeMng") : QStringLiteral("CusFestivalMng")));
    for (int i = 0; i < mng->listBox()->count(); ++i)
        QCOMPARE(mng->listBox()->item(i)->format(), QStringLiteral("%I%M"));
    // Listing never writes.
    QCOMPARE(QFile::exists(TestEnv::path(QStringLiteral("notify.db"))), !file.isNull());
}

void TestNoticeMng::deleteEntry_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("question"); // what the question names
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("first notice; Chinese text and other groups kept byte for byte")
        << int(Notices) << kFile << 0 << true << "\"Labour: day = off\" (2009/05/01)"
        << kFestivalHead + "[CustomNotify]\n2009/06/01 = \xe5\x84\xbf\xe7\xab\xa5\xe8\x8a\x82 party\n"
                           "2009/07/01 = see 2009/05/01\n" + kFestivals;
    QTest::newRow("festival in the middle")
        << int(Festivals) << kFile << 1 << true << QString::fromUtf8("\"\xe5\x9c\xa3\xe8\xaf\x9e\" (12/25)")
        << kFestivalHead + kNotices + "[CustomFestival]\n05/01 = mum\n02/31 = quiet day\n";
    QTest::newRow("last entry leaves the header")
        << int(Notices) << QByteArray("[CustomNotify]\n2009/05/01 = a\n[X]\ny = 1") << 0 << true << "\"a\""
        << QByteArray("[CustomNotify]\n[X]\ny = 1\n");
    QTest::newRow("text holding the deleted date stays")
        << int(Notices) << QByteArray("[CustomNotify]\n2009/07/01 = see 2009/05/01\n2009/05/01 = a\n") << 1 << true
        << "(2009/05/01)" << QByteArray("[CustomNotify]\n2009/07/01 = see 2009/05/01\n");
    QTest::newRow("entry after a blank line; the second header's entry stays")
        << int(Notices) << kOdd << 1 << true << "\"b\"" << "[CustomNotify]\n2026/01/01 = a\n\n" + kOddTail;
    QTest::newRow("cancelled: nothing goes") << int(Festivals) << kFile << 0 << false << "\"mum\"" << kFile;
    QTest::newRow("empty list: nothing happens, nothing asked")
        << int(Notices) << QByteArray("[CustomNotify]") << -1 << false << QString() << QByteArray("[CustomNotify]");
}

void TestNoticeMng::deleteEntry()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(int, row);
    QFETCH(bool, confirmed);
    QFETCH(QString, question);
    QFETCH(QByteArray, after);
    TestEnv::writeFile(QStringLiteral("notify.db"), file);

    auto mng = makeManager(Kind(kind), m_lang);
    mng->show();
    ZListBox *list = mng->listBox();
    QStringList expectedRows = rows(list);
    if (row >= 0) {
        list->setCurrentItem(row);
        if (confirmed)
            expectedRows.removeAt(row);
    }
    QString asked;
    DialogScript script;
    if (row >= 0) {
        script.then([&](QWidget *dlg) {
            auto *ask = qobject_cast<ZMessageDlg *>(dlg);
            QVERIFY(ask);
            asked = ask->title() + QLatin1Char('|') + ask->text();
            press(dlg, confirmed ? int(Qt::Key_Return) : int(Qt::Key_Escape));
        });
    }
    press(list, int(Qt::Key_Delete));
    QCOMPARE(db(), after);
    QCOMPARE(rows(list), expectedRows);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(script.pending(), 0);
    if (row >= 0) {
        QVERIFY2(asked.startsWith(getText(m_lang, QStringLiteral("Delete")) + QLatin1Char('|')), qPrintable(asked));
        QVERIFY2(asked.contains(question), qPrintable(asked));
    }
}

void TestNoticeMng::editEntry_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("oldKey");
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("newKey");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("notice, same date: text replaced in place")
        << int(Notices) << 1 << "2009/06/01" << "儿童节 party" << "2009/06/01" << "kids"
        << kFestivalHead + "[CustomNotify]\n2009/05/01 = Labour: day = off\n2009/06/01 = kids\n"
                           "2009/07/01 = see 2009/05/01\n" + kFestivals << kFile;
    QTest::newRow("notice to a free date: one entry, under the new date")
        << int(Notices) << 0 << "2009/05/01" << "Labour: day = off" << "2009/05/02" << "moved"
        << kFestivalHead + "[CustomNotify]\n2009/06/01 = \xe5\x84\xbf\xe7\xab\xa5\xe8\x8a\x82 party\n"
                           "2009/07/01 = see 2009/05/01\n2009/05/02 = moved\n" + kFestivals << kFile;
    QTest::newRow("festival to a free date")
        << int(Festivals) << 1 << "12/25" << "圣诞" << "12/24" << "eve"
        << kFestivalHead + kNotices + "[CustomFestival]\n05/01 = mum\n02/31 = quiet day\n12/24 = eve\n" << kFile;
    QTest::newRow("notice after a blank line to a free date: no copy left")
        << int(Notices) << 0 << "2026/01/01" << "a" << "2026/01/04" << "moved"
        << "[CustomNotify]\n\n2026/01/02 = b\n2026/01/04 = moved\n" + kOddTail << kOdd;
    QTest::newRow("festival, same day")
        << int(Festivals) << 2 << "02/31" << "quiet day" << "02/31" << "calm"
        << kFestivalHead + kNotices + "[CustomFestival]\n05/01 = mum\n12/25 = \xe5\x9c\xa3\xe8\xaf\x9e\n02/31 = calm\n" << kFile;
}

void TestNoticeMng::editEntry()
{
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(QString, oldKey);
    QFETCH(QString, oldText);
    QFETCH(QString, newKey);
    QFETCH(QString, newText);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, file);
    TestEnv::writeFile(QStringLiteral("notify.db"), file);

    auto mng = makeManager(Kind(kind), m_lang);
    mng->show();
    ZListBox *list = mng->listBox();
    list->setCurrentItem(row);

    QString shownKey, shownText, title;
    DialogScript script;
    script.then([&](QWidget *dlg) {
        title = dlg->windowTitle();
        shownKey = keyOf(dlg);
        shownText = textOf(dlg)->text();
        setKey(dlg, newKey);
        textOf(dlg)->setText(newText);
        press(textOf(dlg), ZKey::Add); // the left soft key: OK
    });
    press(list, ZKey::Select);

    QCOMPARE(script.shown, 1);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(title, getText(m_lang, kind == Notices ? QStringLiteral("EditCusNotice") : QStringLiteral("EditCusFestival")));
    QCOMPARE(shownKey, oldKey);
    QCOMPARE(shownText, oldText);
    QCOMPARE(db(), after);
    // The list is rebuilt from the file.
    auto fresh = makeManager(Kind(kind), m_lang);
    QCOMPARE(rows(list), rows(fresh->listBox()));
}

void TestNoticeMng::addEntry_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("listedAs"); // the new row, text|date

    QTest::newRow("notice on a free date")
        << int(Notices) << kFile << "2010/01/31" << "Pay rent"
        << kFestivalHead + kNotices + "2010/01/31 = Pay rent\n" + kFestivals << "Pay rent|2010/01/31";
    QTest::newRow("note entry 1901/01/01")
        << int(Notices) << kFestivals << "1901/01/01" << "buy milk|call home"
        << kFestivals + "[CustomNotify]\n1901/01/01 = buy milk|call home\n" << "buy milk / call home|Note";
    QTest::newRow("countdown entry 1901/01/02")
        << int(Notices) << QByteArray("[CustomNotify]\n") << "1901/01/02" << "2030|1|1|launch"
        << QByteArray("[CustomNotify]\n1901/01/02 = 2030|1|1|launch\n") << "launch (2030/1/1)|Countdown";
    QTest::newRow("notice into a group with a blank line and a second header")
        << int(Notices) << kOdd << "2026/01/05" << "c"
        << "[CustomNotify]\n2026/01/01 = a\n\n2026/01/02 = b\n2026/01/05 = c\n" + kOddTail << "c|2026/01/05";
    QTest::newRow("festival fallback 02/31")
        << int(Festivals) << QByteArray() << "02/31" << "nothing today"
        << QByteArray("[CustomFestival]\n02/31 = nothing today\n") << "nothing today|Fallback";
    QTest::newRow("festival text of blanks is kept as typed")
        << int(Festivals) << kFile << "03/08" << "   "
        << kFestivalHead + kNotices + kFestivals + "03/08 =    \n" << "   |03/08";
}

void TestNoticeMng::addEntry()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QByteArray, after);
    QFETCH(QString, listedAs);
    if (file.isNull())
        TestEnv::removeFile(QStringLiteral("notify.db"));
    else
        TestEnv::writeFile(QStringLiteral("notify.db"), file);

    auto mng = makeManager(Kind(kind), m_lang);
    mng->show();
    const int before = mng->listBox()->count();

    QString initialKey, initialText, title;
    int result = -1;
    DialogScript script;
    script.then([&](QWidget *dlg) {
        title = dlg->windowTitle();
        initialKey = keyOf(dlg);
        initialText = textOf(dlg)->text();
        setKey(dlg, key);
        QTest::keyClicks(textOf(dlg), text);
        static_cast<EntryDlg *>(dlg)->softKeyBar()->click(ZSoftKey::LEFT);
        result = static_cast<EntryDlg *>(dlg)->result();
    });
    press(mng->listBox(), ZKey::Add);

    QCOMPARE(script.shown, 1);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(result, 1);
    QCOMPARE(title, getText(m_lang, kind == Notices ? QStringLiteral("AddCusNotice") : QStringLiteral("AddCusFestival")));
    const QDate today = QDate::currentDate();
    QCOMPARE(initialKey, kind == Notices ? today.toString(QStringLiteral("yyyy/MM/dd"))
                                         : today.toString(QStringLiteral("MM/dd")));
    QCOMPARE(initialText, QString());
    QCOMPARE(db(), after);
    const QStringList listed = rows(mng->listBox());
    QCOMPARE(listed.count(listedAs), 1);
    QCOMPARE(listed.size(), before + 1);
}

// Adding on a date that has an entry, or moving an entry there, replaces that entry only when
// the user agrees; a moved entry then leaves its old date.
void TestNoticeMng::takenDateAsks_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row"); // the entry edited; -1 adds
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("add on a taken date, replaced")
        << int(Notices) << -1 << "2009/06/01" << true << QString::fromUtf8("2009/06/01 already has \"儿童节 party\".")
        << kFestivalHead + "[CustomNotify]\n2009/05/01 = Labour: day = off\n2009/06/01 = new\n"
                           "2009/07/01 = see 2009/05/01\n" + kFestivals;
    QTest::newRow("add on a taken date, kept") << int(Notices) << -1 << "2009/06/01" << false
                                               << QString::fromUtf8("儿童节 party") << kFile;
    QTest::newRow("add on the fallback, named by its purpose")
        << int(Festivals) << -1 << "02/31" << true << "Fallback already has \"quiet day\"."
        << kFestivalHead + kNotices + "[CustomFestival]\n05/01 = mum\n12/25 = \xe5\x9c\xa3\xe8\xaf\x9e\n02/31 = new\n";
    QTest::newRow("move onto a taken date, replaced: the entry leaves its old date")
        << int(Notices) << 0 << "2009/07/01" << true << "\"see 2009/05/01\""
        << kFestivalHead + "[CustomNotify]\n2009/06/01 = \xe5\x84\xbf\xe7\xab\xa5\xe8\x8a\x82 party\n"
                           "2009/07/01 = new\n" + kFestivals;
    QTest::newRow("move onto a taken date, kept") << int(Notices) << 0 << "2009/07/01" << false
                                                  << "\"see 2009/05/01\"" << kFile;
}

void TestNoticeMng::takenDateAsks()
{
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(QString, key);
    QFETCH(bool, replace);
    QFETCH(QString, question);
    QFETCH(QByteArray, after);
    auto mng = makeManager(Kind(kind), m_lang);
    mng->show();
    ZListBox *list = mng->listBox();

    QString asked;
    bool stayedOpen = false;
    DialogScript script;
    script
        .then([&](QWidget *dlg) {
            setKey(dlg, key);
            textOf(dlg)->setText(QStringLiteral("new"));
            press(textOf(dlg), ZKey::Add); // OK
            stayedOpen = dlg->isVisible();
            if (stayedOpen)
                press(textOf(dlg), ZKey::Back);
        })
        .then([&](QWidget *dlg) {
            auto *ask = qobject_cast<ZMessageDlg *>(dlg);
            QVERIFY(ask);
            asked = ask->text();
            press(dlg, replace ? int(Qt::Key_Return) : int(Qt::Key_Escape));
        });
    if (row >= 0) {
        list->setCurrentItem(row);
        press(list, ZKey::Select);
    } else {
        press(list, ZKey::Add);
    }
    QCOMPARE(script.pending(), 0);
    QCOMPARE(script.unexpected, 0);
    QVERIFY2(asked.contains(question), qPrintable(asked));
    QCOMPARE(stayedOpen, !replace); // declined: the user may choose another date
    QCOMPARE(db(), after);
    auto fresh = makeManager(Kind(kind), m_lang);
    QCOMPARE(rows(list), rows(fresh->listBox()));
}

void TestNoticeMng::addByKeys_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("keys"); // in the dialog, which starts in its text field
    QTest::addColumn<QString>("key");
    const QDate today = QDate::currentDate();
    const QDate tomorrow = today.addDays(1);
    // Up reaches the date control (its day field); select starts stepping, up steps the day,
    // select stops; down goes back to the text; F1 is the left soft key (OK).
    QTest::newRow("notice, a day later")
        << int(Notices)
        << QList<int>{Qt::Key_Up, Qt::Key_Return, Qt::Key_Up, Qt::Key_Return, Qt::Key_Down, Qt::Key_X, Qt::Key_F1}
        << tomorrow.toString(QStringLiteral("yyyy/MM/dd"));
    // Return in the text field, or on a number picker, saves as OK does.
    QTest::newRow("notice, arrows move past the date when not stepping; Return saves")
        << int(Notices) << QList<int>{Qt::Key_Up, Qt::Key_Down, Qt::Key_X, Qt::Key_Return}
        << today.toString(QStringLiteral("yyyy/MM/dd"));
    QTest::newRow("festival, Return on the day picker saves")
        << int(Festivals) << QList<int>{Qt::Key_X, Qt::Key_Up, Qt::Key_Up, Qt::Key_Return}
        << QString::asprintf("%02d/%02d", today.month(), today.day());
    // The calendar choice ("Lunar date") sits between the day picker and the text.
    QTest::newRow("festival, the day picker takes left and right")
        << int(Festivals) << QList<int>{Qt::Key_Up, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_X, Qt::Key_F1}
        << QString::asprintf("%02d/%02d", today.month(), qMin(31, today.day() + 1));
}

void TestNoticeMng::addByKeys()
{
    QFETCH(int, kind);
    QFETCH(QList<int>, keys);
    auto mng = makeManager(Kind(kind), m_lang);
    mng->show();
    QString written;
    DialogScript script;
    script.then([&](QWidget *dlg) {
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        for (int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        written = keyOf(dlg);
    });
    press(mng->listBox(), int(Qt::Key_F1)); // add
    QCOMPARE(script.shown, 1);
    QCOMPARE(script.unexpected, 0);
    QTEST(written, "key");
    QVERIFY(db().contains(written.toUtf8() + " = x\n"));
}

void TestNoticeMng::emptyTextRefused_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("messageKey");

    QTest::newRow("AddNotify") << int(Notices) << false << "EditNoticeText";
    QTest::newRow("EditNotify") << int(Notices) << true << "AddNoticeText";
    QTest::newRow("AddFestival") << int(Festivals) << false << "EditFestivalText";
    QTest::newRow("EditFestival") << int(Festivals) << true << "EditFestivalText";
}

void TestNoticeMng::emptyTextRefused()
{
    QFETCH(int, kind);
    QFETCH(bool, edit);
    QFETCH(QString, messageKey);

    auto mng = makeManager(Kind(kind), m_lang);
    mng->show();
    QString message;
    int type = -1, time = -1;
    bool stayed = false;
    DialogScript script;
    script
        .then([&](QWidget *dlg) {
            textOf(dlg)->clear();
            static_cast<EntryDlg *>(dlg)->softKeyBar()->click(ZSoftKey::LEFT);
            stayed = dlg->isVisible();
            press(textOf(dlg), ZKey::Back);
        })
        .then([&](QWidget *dlg) {
            auto notice = qobject_cast<ZNoticeDlg *>(dlg);
            QVERIFY(notice);
            message = notice->text();
            type = notice->noticeType();
            time = notice->timeValue();
            notice->accept();
        });
    press(mng->listBox(), edit ? ZKey::Select : ZKey::Add);

    QCOMPARE(script.shown, 2);
    QCOMPARE(script.unexpected, 0);
    QCOMPARE(message, getText(m_lang, messageKey));
    QCOMPARE(type, 1);
    QCOMPARE(time, 500);
    QVERIFY(stayed);
    QCOMPARE(db(), kFile);
}

void TestNoticeMng::cancelWritesNothing_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("backKey");

    QTest::newRow("AddNotify, key 4145") << int(Notices) << false << true;
    QTest::newRow("EditNotify, Cancel") << int(Notices) << true << false;
    QTest::newRow("AddFestival, Cancel") << int(Festivals) << false << false;
    QTest::newRow("EditFestival, key 4145") << int(Festivals) << true << true;
}

void TestNoticeMng::cancelWritesNothing()
{
    QFETCH(int, kind);
    QFETCH(bool, edit);
    QFETCH(bool, backKey);

    auto mng = makeManager(Kind(kind), m_lang);
    mng->show();
    const QStringList before = rows(mng->listBox());
    int result = -1;
    DialogScript script;
    script.then([&](QWidget *dlg) {
        setKey(dlg, kind == Notices ? QStringLiteral("2011/11/11") : QStringLiteral("11/11"));
        textOf(dlg)->setText(QStringLiteral("never stored"));
        if (backKey)
            press(textOf(dlg), ZKey::Back);
        else
            static_cast<EntryDlg *>(dlg)->softKeyBar()->click(ZSoftKey::RIGHT);
        result = static_cast<EntryDlg *>(dlg)->result();
    });
    press(mng->listBox(), edit ? ZKey::Select : ZKey::Add);

    QCOMPARE(script.shown, 1);
    QCOMPARE(result, 0);
    QCOMPARE(db(), kFile);
    QCOMPARE(rows(mng->listBox()), before);
}

void TestNoticeMng::failedWriteKeepsDialogOpen()
{
    // A notify.db that cannot be replaced (here a directory in its place): OK must not close
    // the dialog as if the notice were kept.
    TestEnv::removeFile(QStringLiteral("notify.db"));
    QVERIFY(QDir().mkpath(TestEnv::path(QStringLiteral("notify.db"))));
    auto mng = makeManager(Notices, m_lang);
    mng->show();
    bool stayed = false;
    QString message;
    DialogScript script;
    script
        .then([&](QWidget *dlg) {
            textOf(dlg)->setText(QStringLiteral("lost?"));
            static_cast<EntryDlg *>(dlg)->softKeyBar()->click(ZSoftKey::LEFT);
            stayed = dlg->isVisible();
            QCOMPARE(textOf(dlg)->text(), QStringLiteral("lost?"));
            press(textOf(dlg), ZKey::Back);
        })
        .then([&](QWidget *dlg) {
            message = qobject_cast<ZNoticeDlg *>(dlg)->text();
            QMetaObject::invokeMethod(dlg, "accept");
        });
    press(mng->listBox(), ZKey::Add);
    QDir(TestEnv::path(QStringLiteral("notify.db"))).removeRecursively();
    QCOMPARE(script.shown, 2);
    QVERIFY(stayed);
    QVERIFY(!message.isEmpty());
}

void TestNoticeMng::managerCloses_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("key 4145") << 0;
    QTest::newRow("right soft key") << 1;
    QTest::newRow("menu entry Back") << 2;
}

void TestNoticeMng::managerCloses()
{
    QFETCH(int, how);
    auto mng = makeManager(Festivals, m_lang);
    DialogScript script;
    script.then([&](QWidget *dlg) {
        QCOMPARE(dlg, mng.get());
        if (how == 0)
            press(mng->listBox(), ZKey::Back);
        else if (how == 1)
            mng->softKey()->click(ZSoftKey::RIGHT);
        else
            mng->optionsMenu()->activateItem(3);
        // Whatever happened above, the dialog must not stay open.
        if (mng->isVisible())
            mng->done(-1);
    });
    QCOMPARE(mng->exec(), 0);
    QCOMPARE(script.shown, 1);
    QCOMPARE(db(), kFile);
}

void TestNoticeMng::optionsMenu()
{
    auto mng = makeManager(Notices, m_lang);
    mng->show();
    ZOptionsMenu *menu = mng->optionsMenu();
    QCOMPARE(mng->softKey()->optMenu(ZSoftKey::LEFT), menu);
    QCOMPARE(mng->softKey()->text(ZSoftKey::LEFT), getText(m_lang, QStringLiteral("Options")));
    QCOMPARE(mng->softKey()->text(ZSoftKey::RIGHT), getText(m_lang, QStringLiteral("Back")));
    const QStringList words = {QStringLiteral("Add"), QStringLiteral("Edit"), QStringLiteral("Delete"),
                               QStringLiteral("Back")};
    QCOMPARE(menu->count(), 4);
    for (int id = 0; id < 4; ++id) {
        QCOMPARE(menu->text(id), QStringLiteral("  ") + getText(m_lang, words[id]));
        QVERIFY2(!menu->itemIcon(id).isNull(), qPrintable(words[id]));
    }

    // Edit and Delete of the menu act on the current row.
    mng->listBox()->setCurrentItem(2);
    DialogScript script;
    script.then([&](QWidget *dlg) {
        QCOMPARE(keyOf(dlg), QStringLiteral("2009/07/01"));
        QMetaObject::invokeMethod(dlg, "reject");
    });
    menu->activateItem(1);
    QCOMPARE(script.shown, 1);
    script.then([](QWidget *dlg) { QMetaObject::invokeMethod(dlg, "accept"); }); // the question
    menu->activateItem(2);
    QCOMPARE(script.shown, 2);
    QCOMPARE(rows(mng->listBox()).size(), 2);
    QVERIFY(!db().contains("2009/07/01 ="));
    QCOMPARE(script.unexpected, 0);
}

// A festival by lunar date, entered with the keypad in the add or edit dialog: the choice of
// calendar, the pickers (by name in Chinese) and the leap month make the key.
void TestNoticeMng::lunarFestivalDialogs_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("editRow"); // -1: add
    QTest::addColumn<QString>("shownKey");
    QTest::addColumn<bool>("lunar");
    QTest::addColumn<int>("month");
    QTest::addColumn<bool>("leap");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("pickerText");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("row");

    const QString en = QStringLiteral("English.lng"), zh = QString::fromUtf8("简体中文.lng");
    const QByteArray leapFile = kFestivalHead + "[CustomFestival]\n05/01 = mum\n-4$01 = Leap\n";
    QTest::newRow("add on a lunar date") << en << kFile << -1 << QString() << true << 8 << false << 15 << "8 15"
                                         << kFile + "08$15 = New\n" << "New|Lunar 8-15";
    QTest::newRow("add on a lunar date in Chinese") << zh << kFile << -1 << QString() << true << 8 << false << 15
                                                    << "八月 十五" << kFile + "08$15 = New\n" << "New|八月十五";
    QTest::newRow("add in a leap month") << en << kFile << -1 << QString() << true << 4 << true << 1 << "4 1"
                                         << kFile + "-4$01 = New\n" << "New|Lunar leap 4-1";
    QTest::newRow("add on the 30th of the twelfth month") << zh << kFile << -1 << QString() << true << 12 << false << 30
                                                          << "腊月 三十" << kFile + "12$30 = New\n" << "New|腊月三十";
    QTest::newRow("edit a leap-month festival to its 2nd day")
        << en << leapFile << 1 << "-4$01" << true << 4 << true << 2 << "4 2"
        << kFestivalHead + "[CustomFestival]\n05/01 = mum\n-4$02 = Leap\n" << "Leap|Lunar leap 4-2";
    QTest::newRow("edit a leap-month festival to the ordinary month")
        << en << leapFile << 1 << "-4$01" << true << 4 << false << 1 << "4 1"
        << kFestivalHead + "[CustomFestival]\n05/01 = mum\n04$01 = Leap\n" << "Leap|Lunar 4-1";
    QTest::newRow("edit a lunar festival to a Gregorian date")
        << zh << leapFile << 1 << "-4$01" << false << 8 << false << 31 << "8 31"
        << kFestivalHead + "[CustomFestival]\n05/01 = mum\n08/31 = Leap\n" << "Leap|08/31";
}

void TestNoticeMng::lunarFestivalDialogs()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, file);
    QFETCH(int, editRow);
    QFETCH(QString, shownKey);
    QFETCH(bool, lunar);
    QFETCH(int, month);
    QFETCH(bool, leap);
    QFETCH(int, day);
    QFETCH(QString, pickerText);
    QFETCH(QByteArray, after);
    QFETCH(QString, row);
    TestEnv::writeFile(QStringLiteral("notify.db"), file);
    ZConfig lang(TestEnv::path(QStringLiteral("resource/language/") + language));

    FestivalMng mng(&lang);
    mng.show();
    QString initialKey, shownPickers;
    bool reached = false;
    DialogScript script;
    script.then([&](QWidget *w) {
        auto *dlg = qobject_cast<FestivalDlg *>(w);
        QVERIFY(dlg);
        initialKey = dlg->festivalKey();
        dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        // Up from the text: the calendar choice, then the day and month pickers above it.
        reached = focusUpTo(dlg, dlg->lunarBox());
        if (dlg->lunarBox()->isChecked() != lunar)
            key(dlg, Qt::Key_Return);
        key(dlg, Qt::Key_Up);
        stepTo(dlg, dlg->dayPicker(), day);
        key(dlg, Qt::Key_Up);
        stepTo(dlg, dlg->monthPicker(), month);
        key(dlg, Qt::Key_Down);
        key(dlg, Qt::Key_Down);
        key(dlg, Qt::Key_Down);
        if (lunar) { // the leap-month choice is there for lunar dates only
            if (dlg->leapBox()->isChecked() != leap)
                key(dlg, Qt::Key_Return);
            key(dlg, Qt::Key_Down);
        }
        if (editRow < 0)
            QTest::keyClicks(dlg->focusWidget(), QStringLiteral("New"));
        shownPickers = dlg->monthPicker()->text() + QLatin1Char(' ') + dlg->dayPicker()->text();
        key(dlg, Qt::Key_F1); // the left soft key: OK
    });
    if (editRow < 0) {
        QTest::keyClick(mng.listBox(), Qt::Key_F1);
    } else {
        mng.listBox()->setCurrentItem(editRow);
        QTest::keyClick(mng.listBox(), Qt::Key_Return);
    }

    QCOMPARE(script.shown, 1);
    QCOMPARE(script.unexpected, 0);
    QVERIFY(reached);
    if (editRow >= 0)
        QCOMPARE(initialKey, shownKey);
    QCOMPARE(shownPickers, pickerText);
    QCOMPARE(db(), after);
    QVERIFY2(rows(mng.listBox()).contains(row), qPrintable(rows(mng.listBox()).join(QLatin1Char(','))));
}

// The list shows lunar festivals by their lunar dates after the Gregorian ones, in calendar
// order, and deletes the one chosen.
void TestNoticeMng::lunarFestivalList_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("English") << "English.lng"
                             << QStringList{QStringLiteral("mum|05/01"), QStringLiteral("quiet|Fallback"), QStringLiteral("Four|Lunar 4-20"),
                                            QStringLiteral("Leap|Lunar leap 4-1"),
                                            QStringLiteral("Moon|Lunar 8-15")};
    QTest::newRow("Chinese") << QString::fromUtf8("简体中文.lng")
                             << QStringList{QStringLiteral("mum|05/01"), QStringLiteral("quiet|无安排时"), QStringLiteral("Four|四月二十"),
                                            QStringLiteral("Leap|闰四月初一"), QStringLiteral("Moon|八月十五")};
}

void TestNoticeMng::lunarFestivalList()
{
    QFETCH(QString, language);
    QFETCH(QStringList, expected);
    TestEnv::writeFile(QStringLiteral("notify.db"),
                       "[CustomFestival]\n08$15 = Moon\n05/01 = mum\n-4$01 = Leap\n04$20 = Four\n02/31 = quiet\n");
    ZConfig lang(TestEnv::path(QStringLiteral("resource/language/") + language));
    FestivalMng mng(&lang);
    mng.show();
    QCOMPARE(rows(mng.listBox()), expected);

    // Edit and delete act on the key of the row, whatever the list shows.
    const QStringList keys = {QStringLiteral("05/01"), QStringLiteral("02/31"), QStringLiteral("04$20"), QStringLiteral("-4$01"), QStringLiteral("08$15")};
    for (int row = 0; row < keys.size(); ++row)
        QCOMPARE(mng.keyOf(row), keys[row]);
}

QUILLORA_TEST_MAIN(TestNoticeMng)
#include "tst_noticemng.moc"
