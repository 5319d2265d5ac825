#include "phonekey.h"
#include "testenv.h"
#include "zkeys.h"
#include "zlistbox.h"

#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

// A window that records the keys its list box leaves to it.
class Holder : public QWidget
{
public:
    QList<int> keys;
protected:
    void keyPressEvent(QKeyEvent *e) override { keys.append(ZKey::code(e)); }
};

void fill(ZListBox *box, const QStringList &names, const QString &format = QStringLiteral("%I%M"))
{
    for (const QString &name : names) {
        auto *row = new ZListBoxItem(format);
        QPixmap pix(32, 24);
        pix.fill(Qt::darkCyan);
        row->setPixmap(0, pix);
        row->appendSubItem(1, name);
        row->appendSubItem(1, QStringLiteral("/pictures/") + name);
        box->insertItem(row);
    }
}

QStringList names(const ZListBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->item(i)->subItemText(1, 0);
    return out;
}

} // namespace

class TestZListBox : public QObject
{
    Q_OBJECT
private slots:
    void rowsKeepTheirColumns();
    void keys_data();
    void keys();
    void otherKeysGoToTheWindow();
    void selectTogglesOnlyCheckRows_data();
    void selectTogglesOnlyCheckRows();
    void checkState();
    void moveItem_data();
    void moveItem();
    void setCurrentItemReportsOnce();
    void clearLeavesNoCurrentRow();
    void removingTheCurrentRow();
    void visibleRows();
    void mouse();
    void longListWork_data();
    void longListWork();
    void longListKeys();
    void rowAboveTheScreenGrows();
};

void TestZListBox::rowsKeepTheirColumns()
{
    ZListBox box;
    fill(&box, {QStringLiteral("a.png")});
    const ZListBoxItem *row = box.item(0);
    QCOMPARE(row->subItemText(1, 0), QStringLiteral("a.png"));
    QCOMPARE(row->subItemText(1, 1), QStringLiteral("/pictures/a.png"));
    QCOMPARE(row->subItemText(1, 2), QString());
    QCOMPARE(row->subItemCount(1), 2);
    QCOMPARE(row->pixmap(0).width(), 32);
    QVERIFY(!row->hasCheckBox());
    QVERIFY(ZListBoxItem(QStringLiteral("%C%M")).hasCheckBox());
    QCOMPARE(box.index(row), 0);
}

void TestZListBox::keys_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("highlights");
    QTest::addColumn<int>("selections");

    QTest::newRow("down") << 1 << int(Qt::Key_Down) << 2 << 1 << 0;
    QTest::newRow("up") << 2 << int(Qt::Key_Up) << 1 << 1 << 0;
    QTest::newRow("phone down") << 0 << ZKey::Down << 1 << 1 << 0;
    QTest::newRow("up from the first row wraps") << 0 << int(Qt::Key_Up) << 4 << 1 << 0;
    QTest::newRow("down from the last row wraps") << 4 << int(Qt::Key_Down) << 0 << 1 << 0;
    QTest::newRow("home") << 3 << int(Qt::Key_Home) << 0 << 1 << 0;
    QTest::newRow("end") << 1 << int(Qt::Key_End) << 4 << 1 << 0;
    QTest::newRow("return selects") << 2 << int(Qt::Key_Return) << 2 << 0 << 1;
    QTest::newRow("phone select") << 3 << ZKey::Select << 3 << 0 << 1;
}

void TestZListBox::keys()
{
    QFETCH(int, start);
    QFETCH(int, key);
    ZListBox box;
    fill(&box, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e")});
    box.setCurrentItem(start);
    QSignalSpy highlighted(&box, &ZListBox::highlighted);
    QSignalSpy selected(&box, &ZListBox::selected);

    sendPhoneKey(&box, key);

    QTEST(box.currentItem(), "current");
    QTEST(int(highlighted.count()), "highlights");
    QTEST(int(selected.count()), "selections");
    if (!highlighted.isEmpty())
        QCOMPARE(highlighted.first().first().toInt(), box.currentItem());
    if (!selected.isEmpty())
        QCOMPARE(selected.first().first().toInt(), start);
}

void TestZListBox::otherKeysGoToTheWindow()
{
    Holder holder;
    auto *box = new ZListBox(QString(), &holder);
    fill(box, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    box->setCurrentItem(1);
    for (int key : {int(Qt::Key_2), int(Qt::Key_8), int(Qt::Key_5), ZKey::Add, ZKey::Back, ZKey::Delete})
        sendPhoneKey(box, key);
    QCOMPARE(holder.keys, (QList<int>{'2', '8', '5', ZKey::Add, ZKey::Back, ZKey::Delete}));
    QCOMPARE(box->currentItem(), 1);

    // An empty list hands on even its own keys.
    box->clear();
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(holder.keys.last(), ZKey::Down);
}

void TestZListBox::selectTogglesOnlyCheckRows_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("checkedAfter");
    QTest::newRow("check row") << QStringLiteral("%C%M") << true;
    QTest::newRow("picture row") << QStringLiteral("%I%M") << false;
}

void TestZListBox::selectTogglesOnlyCheckRows()
{
    QFETCH(QString, format);
    ZListBox box;
    fill(&box, {QStringLiteral("a"), QStringLiteral("b")}, format);
    box.setCurrentItem(1);
    QSignalSpy selected(&box, &ZListBox::selected);
    QTest::keyClick(&box, Qt::Key_Return);
    QTEST(box.itemChecked(1), "checkedAfter");
    QVERIFY(!box.itemChecked(0));
    QCOMPARE(selected.count(), 1);
    QTest::keyClick(&box, Qt::Key_Space);
    QVERIFY(!box.itemChecked(1));
    QCOMPARE(selected.count(), 1);
}

void TestZListBox::checkState()
{
    ZListBox box;
    fill(&box, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, QStringLiteral("%C%M"));
    QSignalSpy toggled(&box, &ZListBox::checkToggled);
    box.checkItem(0, true);
    box.checkItem(2, true);
    box.checkItem(2, true); // no change, no signal
    QCOMPARE(toggled.count(), 2);
    QVERIFY(box.itemChecked(0) && !box.itemChecked(1) && box.itemChecked(2));
    QVERIFY(box.item(2)->isChecked());
    QVERIFY(!box.itemChecked(7));
    box.checkItem(0, false);
    QVERIFY(!box.itemChecked(0));

    // Check marks travel with their rows.
    box.moveItem(2, 0);
    QVERIFY(box.itemChecked(0));
    QVERIFY(!box.itemChecked(2));
}

void TestZListBox::moveItem_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("one down") << 0 << 1 << QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D")};
    QTest::newRow("one up") << 2 << 1 << QStringList{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("D")};
    QTest::newRow("first to last") << 0 << 3 << QStringList{QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("A")};
    QTest::newRow("last to first") << 3 << 0 << QStringList{QStringLiteral("D"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    QTest::newRow("same place") << 2 << 2 << QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
    QTest::newRow("out of range") << 1 << 9 << QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
}

void TestZListBox::moveItem()
{
    QFETCH(int, from);
    QFETCH(int, to);
    ZListBox box;
    fill(&box, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    box.setCurrentItem(1);
    QSignalSpy highlighted(&box, &ZListBox::highlighted);
    box.moveItem(from, to);
    QTEST(names(&box), "order");
    QCOMPARE(box.currentItem(), 1);
    QCOMPARE(highlighted.count(), 0);
}

void TestZListBox::setCurrentItemReportsOnce()
{
    ZListBox box;
    fill(&box, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    QSignalSpy highlighted(&box, &ZListBox::highlighted);
    box.setCurrentItem(2);
    box.setCurrentItem(2);
    box.setCurrentItem(5); // no such row: nothing changes
    QCOMPARE(highlighted.count(), 1);
    QCOMPARE(highlighted.first().first().toInt(), 2);
    QCOMPARE(box.currentItem(), 2);
}

void TestZListBox::clearLeavesNoCurrentRow()
{
    ZListBox box;
    fill(&box, {QStringLiteral("a"), QStringLiteral("b")});
    box.setCurrentItem(1);
    QSignalSpy highlighted(&box, &ZListBox::highlighted);
    box.clear();
    QCOMPARE(box.count(), 0);
    QCOMPARE(box.currentItem(), -1);
    QCOMPARE(highlighted.count(), 0);
    fill(&box, {QStringLiteral("c")});
    QCOMPARE(box.currentItem(), -1);
}

void TestZListBox::removingTheCurrentRow()
{
    ZListBox box;
    fill(&box, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    box.setCurrentItem(2);
    box.removeItem(2);
    QCOMPARE(box.currentItem(), 1);
    QCOMPARE(names(&box), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    box.setCurrentItem(1);
    box.removeItem(0); // a row above the current one: the current row stays on "b"
    QCOMPARE(box.currentItem(), 0);
    QCOMPARE(box.item(0)->subItemText(1, 0), QStringLiteral("b"));

    // A row deleted by its owner leaves the list.
    ZListBoxItem *row = box.item(0);
    delete row;
    QCOMPARE(box.count(), 0);
}

void TestZListBox::visibleRows()
{
    ZListBox box;
    QStringList many;
    for (int i = 0; i < 30; ++i)
        many << QStringLiteral("row%1").arg(i);
    fill(&box, many);
    box.resize(240, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    const int visible = box.numItemsVisible();
    QVERIFY2(visible >= 2 && visible < 30, qPrintable(QString::number(visible)));
    QVERIFY(box.itemVisible(0));
    QVERIFY(!box.itemVisible(29));
    QCOMPARE(box.topItem(), 0);

    box.setBottomItem(20);
    QVERIFY(box.itemVisible(20));
    QVERIFY(!box.itemVisible(21));
    QVERIFY(!box.itemVisible(0));
    QCOMPARE(box.numItemsVisible(), visible);

    // Moving the current row keeps it in view.
    box.setCurrentItem(0);
    QVERIFY(box.itemVisible(0));
    QTest::keyClick(&box, Qt::Key_Up); // wraps to the last row
    QVERIFY(box.itemVisible(29));
}

void TestZListBox::mouse()
{
    ZListBox box;
    fill(&box, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, QStringLiteral("%C%M"));
    box.resize(240, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy selected(&box, &ZListBox::selected);

    // A click on the text of a row makes it current without checking it.
    const int rowY = box.viewport()->height() > 0 ? 10 : 0;
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(150, rowY));
    QCOMPARE(box.currentItem(), 0);
    QVERIFY(!box.itemChecked(0));

    // A click on its box checks it.
    int secondRowY = -1;
    for (int y = 0; y < 200 && secondRowY < 0; ++y) {
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(150, y));
        if (box.currentItem() == 1)
            secondRowY = y;
    }
    QVERIFY(secondRowY > rowY);
    QVERIFY(!box.itemChecked(1));
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(11, secondRowY + 6));
    QVERIFY(box.itemChecked(1));

    // A double click on the text chooses the row (and toggles its box).
    QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, QPoint(150, rowY));
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.first().first().toInt(), 0);
    QVERIFY(box.itemChecked(0));
    QCOMPARE(selected.count(), 1);
}

// A list of 10,000 rows on screen, laid out once.
static void showLongList(ZListBox *box, int rows = 10000)
{
    QStringList many;
    many.reserve(rows);
    for (int i = 0; i < rows; ++i)
        many << QStringLiteral("row%1").arg(i);
    fill(box, many);
    box->resize(240, 300);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QCOMPARE(box->layoutPasses(), 1);
    QCOMPARE(box->rowsMeasured(), rows);
}

void TestZListBox::longListWork_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("passes");   // layout passes the change costs
    QTest::addColumn<int>("measured"); // rows it measures

    QTest::newRow("thumbnail of the same size") << "same" << 0 << 1;
    QTest::newRow("taller thumbnail") << "taller" << 1 << 1;
    QTest::newRow("remove a row") << "remove" << 1 << 0;
    QTest::newRow("insert a row") << "insert" << 1 << 1;
    QTest::newRow("move a row") << "move" << 1 << 0;
    QTest::newRow("check every row") << "checkall" << 0 << 10000;
    QTest::newRow("clear and fill again") << "refill" << 1 << 10000;
}

void TestZListBox::longListWork()
{
    QFETCH(QString, change);
    ZListBox box;
    showLongList(&box);
    const int passes = box.layoutPasses();
    const int measured = box.rowsMeasured();

    QPixmap same(32, 24), taller(32, 40);
    same.fill(Qt::red);
    taller.fill(Qt::blue);
    if (change == QLatin1String("same")) {
        box.item(5000)->setPixmap(0, same);
    } else if (change == QLatin1String("taller")) {
        box.item(5000)->setPixmap(0, taller);
    } else if (change == QLatin1String("remove")) {
        box.removeItem(5000);
    } else if (change == QLatin1String("insert")) {
        fill(&box, {QStringLiteral("new")});
    } else if (change == QLatin1String("move")) {
        box.moveItem(9999, 0);
    } else if (change == QLatin1String("checkall")) {
        for (int i = 0; i < box.count(); ++i)
            box.item(i)->setChecked(true);
    } else {
        QStringList many;
        for (int i = 0; i < 10000; ++i)
            many << QStringLiteral("again%1").arg(i);
        box.clear();
        fill(&box, many);
    }
    box.setCurrentItem(box.count() - 1); // asks for the layout, as drawing does
    box.repaint();

    QTEST(box.layoutPasses() - passes, "passes");
    QTEST(box.rowsMeasured() - measured, "measured");
    QVERIFY(box.itemVisible(box.count() - 1));
}

void TestZListBox::longListKeys()
{
    ZListBox box;
    showLongList(&box);
    box.setCurrentItem(0);
    const int page = box.numItemsVisible() - 1;
    QVERIFY(page >= 3);
    QTest::keyClick(&box, Qt::Key_PageDown);
    QCOMPARE(box.currentItem(), page);
    QTest::keyClick(&box, Qt::Key_End);
    QCOMPARE(box.currentItem(), 9999);
    QVERIFY(box.itemVisible(9999));
    QCOMPARE(box.numItemsVisible(), page + 1);
    QTest::keyClick(&box, Qt::Key_Down); // wraps to the first row
    QCOMPARE(box.currentItem(), 0);
    QCOMPARE(box.topItem(), 0);
    QTest::keyClick(&box, Qt::Key_Up);
    QCOMPARE(box.currentItem(), 9999);
    QCOMPARE(box.layoutPasses(), 1);
}

void TestZListBox::rowAboveTheScreenGrows()
{
    ZListBox box;
    showLongList(&box, 200);
    box.setTopItem(100);
    QPixmap taller(32, 48);
    taller.fill(Qt::blue);
    box.item(10)->setPixmap(0, taller);   // above the screen: the rows in view stay
    QCOMPARE(box.topItem(), 100);
    QVERIFY(box.itemVisible(100));
    box.item(150)->setPixmap(0, taller);  // below the top row: nothing above it moves
    QCOMPARE(box.topItem(), 100);
}

QUILLORA_TEST_MAIN(TestZListBox)
#include "tst_zlistbox.moc"
