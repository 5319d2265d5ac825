// Pictures of the settings program for a person to look at: every tab, the options menu, the
// preview and the About box, in English and Simplified Chinese. Not part of the test run:
//   QUILLORA_SHOTS=<folder> QUILLORA_PROGDIR=<build>/Quillora shots_settings

#include "dialogscript.h"
#include "festivaldlg.h"
#include "guifixture.h"
#include "testenv.h"
#include "zaboutdialog.h"
#include "zkeys.h"
#include "znavtabwidget.h"
#include "zoptionsmenu.h"
#include "zsoftkey.h"

#include <QDir>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

using namespace GuiFixture;

class ScreenShots : public QObject
{
    Q_OBJECT
private slots:
    void capture_data();
    void capture();
};

void ScreenShots::capture_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("english") << "English";
    QTest::newRow("chinese") << "简体中文";
}

void ScreenShots::capture()
{
    QFETCH(QString, language);
    const QString out = qEnvironmentVariable("QUILLORA_SHOTS");
    if (out.isEmpty())
        QSKIP("QUILLORA_SHOTS names no folder");
    QDir().mkpath(out);
    prepare("Language = " + language.toUtf8() + ".lng\nCurrentTheme = Lantern.theme\nDynamicDesktop = false\n");
    DialogScript script;
    ZGui *gui = new ZGui(nullptr);
    flushDeletes();
    auto save = [&](const QPixmap &pix, const QString &name) {
        QVERIFY(pix.save(out + QLatin1Char('/') + language + QLatin1Char('-') + name + QStringLiteral(".png")));
    };

    gui->editMenu()->activateItem(ZGui::EditStart);
    for (int tab = 0; tab < 5; ++tab) {
        clickTab(gui, tab);
        QCoreApplication::processEvents();
        save(gui->grab(), QStringLiteral("tab%1").arg(tab));
    }
    // The item editor scrolled to its end.
    clickTab(gui, ZGui::TabItems);
    QCoreApplication::processEvents();
    auto *items = qobject_cast<QScrollArea *>(gui->tabWidget()->currentPage());
    items->verticalScrollBar()->setValue(items->verticalScrollBar()->maximum());
    save(gui->grab(), QStringLiteral("tab3-end"));
    clickTab(gui, 0);

    gui->softKeyBar()->click(ZSoftKey::LEFT);
    ZOptionsMenu *menu = gui->optionsMenu();
    QTRY_VERIFY(menu->isVisible());
    QPixmap withMenu = gui->grab();
    {
        QPainter p(&withMenu);
        p.drawPixmap(menu->pos() - gui->pos(), menu->grab());
    }
    save(withMenu, QStringLiteral("menu"));
    // The edit sub-menu, opened with the keys.
    for (int i = 0; i < ZGui::MenuEdit; ++i)
        phoneKey(menu, ZKey::Down);
    phoneKey(menu, ZKey::Right);
    ZOptionsMenu *sub = gui->editMenu();
    QTRY_VERIFY(sub->isVisible());
    {
        QPainter p(&withMenu);
        p.drawPixmap(sub->pos() - gui->pos(), sub->grab());
    }
    save(withMenu, QStringLiteral("submenu"));
    sub->close();
    menu->close();

    // The weather tab with its last control in focus.
    clickTab(gui, ZGui::TabWeather);
    QCoreApplication::processEvents();
    gui->findChild<QWidget *>(QStringLiteral("weatherUpdateNow"))->setFocus();
    QCoreApplication::processEvents();
    save(gui->grab(), QStringLiteral("tab4-end"));
    clickTab(gui, 0);

    script.expect([&](QWidget *w) {
        save(w->grab(), QStringLiteral("festival"));
        static_cast<MyBaseDlg *>(w)->reject();
    });
    AddFestival festival(gui->languageStore());
    festival.exec();

    script.expect([&](QWidget *w) {
        save(w->grab(), QStringLiteral("preview"));
        static_cast<MyBaseDlg *>(w)->reject();
    });
    gui->softKeyBar()->click(ZSoftKey::RIGHT);
    script.expect([&](QWidget *w) {
        save(w->grab(), QStringLiteral("about"));
        static_cast<MyBaseDlg *>(w)->reject();
    });
    gui->optionsMenu()->activateItem(ZGui::MenuAbout);
    QCOMPARE(script.pending(), 0);
    delete gui;
}

QUILLORA_TEST_MAIN(ScreenShots)
#include "shots_settings.moc"
