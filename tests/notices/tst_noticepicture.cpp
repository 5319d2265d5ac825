// A notice added through the manager and its dialog shows on the next desktop picture.

#include "dialogscript.h"
#include "drawimg.h"
#include "noticelistmng.h"
#include "notifydlg.h"
#include "renderclock.h"
#include "testenv.h"
#include "zconfig.h"
#include "zdatemodule.h"
#include "zkeys.h"
#include "zlineedit.h"
#include "zlistbox.h"
#include "zsoftkey.h"

#include <QPixmap>

namespace {

const QColor kInk(255, 0, 255);
// Where the "Notify" item of the test theme writes its text.
const QRect kBox(0, 90, 240, 70);

struct Count
{
    int inside = 0;
    int outside = 0;
};

Count inkPixels()
{
    DrawImg img;
    const QImage picture = img.getPixmap()->toImage().convertToFormat(QImage::Format_RGB32);
    Count c;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (QColor(picture.pixel(x, y)) == kInk)
                ++(kBox.contains(x, y) ? c.inside : c.outside);
        }
    }
    return c;
}

} // namespace

class TestNoticePicture : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { RenderClock::clearFixed(); }
    void noticeAddedThroughDialogsIsDrawn_data();
    void noticeAddedThroughDialogsIsDrawn();
};

void TestNoticePicture::initTestCase()
{
    TestEnv::writeFile(QStringLiteral("theme/notices-test.theme"),
                       "[Notify]\nEnable = true\nFontSize = 20\nFontColor_R = 255\nFontColor_G = 0\n"
                       "FontColor_B = 255\nPosition_X = 10\nPosition_Y = 100\n");
    TestEnv::removeFile(QStringLiteral("device/tmp/tmp.theme"));
    ZConfig settings(TestEnv::path(QStringLiteral("settings.ini")));
    QVERIFY(settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("CurrentTheme"),
                                QStringLiteral("notices-test.theme")));
    QVERIFY(settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("CustomNotify"), true));
    QVERIFY(settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("CustomFestival"), false));
    QVERIFY(settings.writeEntry(QStringLiteral("Quillora"), QStringLiteral("FestivalNotify"), false));
    RenderClock::setFixed(QDateTime(QDate(2030, 4, 15), QTime(9, 30)));
}

void TestNoticePicture::noticeAddedThroughDialogsIsDrawn_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("latin") << "HELLO WORLD";
    QTest::newRow("chinese") << QStringLiteral("交房租");
}

void TestNoticePicture::noticeAddedThroughDialogsIsDrawn()
{
    QFETCH(QString, text);
    TestEnv::writeFile(QStringLiteral("notify.db"), "[CustomNotify]\n2030/04/14 = yesterday\n");

    const Count before = inkPixels();
    QCOMPARE(before.inside, 0);

    NotifyMng mng(nullptr);
    mng.show();
    DialogScript script;
    script.then([&](QWidget *dlg) {
        auto add = qobject_cast<AddNotify *>(dlg);
        QVERIFY(add);
        add->dateModule()->setDate(QDate(2030, 4, 15));
        add->textField()->setText(text);
        add->softKeyBar()->click(ZSoftKey::LEFT);
    });
    QKeyEvent key(QEvent::KeyPress, ZKey::Add, Qt::NoModifier);
    QApplication::sendEvent(mng.listBox(), &key);
    QCOMPARE(script.shown, 1);
    QCOMPARE(mng.listBox()->count(), 2);

    const Count after = inkPixels();
    QVERIFY2(after.inside > 40, qPrintable(QString::number(after.inside)));
    QCOMPARE(after.outside, before.outside);
}

QUILLORA_TEST_MAIN(TestNoticePicture)
#include "tst_noticepicture.moc"
