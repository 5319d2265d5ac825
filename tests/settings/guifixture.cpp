#include "guifixture.h"

#include "stubs.h"
#include "testenv.h"
#include "zconfig.h"
#include "znavtabwidget.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTabBar>
#include <QtTest/QtTest>

namespace GuiFixture {

QByteArray testTheme()
{
    return "[SysTime]\nEnable = true\nShadow = false\nFontSize = 18\nRotateAngle = 5\n"
           "FontColor_R = 10\nFontColor_G = 20\nFontColor_B = 30\nPosition_X = 100\nPosition_Y = 200\n"
           "BGImage = \nBGImage_X = 1\nBGImage_Y = 2\nBGImage_W = 3\nBGImage_H = 4\n"
           "[Notify]\nEnable = false\nShadow = true\nFontSize = 11\nPosition_X = 7\nPosition_Y = 8\n"
           "[Weather3_Wind]\nEnable = true\nShadow = true\nFontSize = 33\nPosition_X = 44\nPosition_Y = 55\n"
           "FontColor_R = 1\nFontColor_G = 2\nFontColor_B = 3\n";
}

namespace {
void copyTree(const QString &from, const QString &to)
{
    const QFileInfo info(from);
    if (info.isDir()) {
        QDir().mkpath(to);
        for (const QString &name : QDir(from).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            copyTree(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
    } else if (info.exists()) {
        QFile::copy(from, to);
        QFile(to).setPermissions(info.permissions() | QFile::WriteOwner);
    }
}
} // namespace

void prepare(const QByteArray &settingsLines)
{
    // The files the settings program changes are put back; resource/ stays as it is.
    for (const char *entry : {"theme", "device", "settings.ini", "wallpaper.list", "morvessa.lin", "tarnwick.lin",
                              "show.png", "stub.log"}) {
        const QString target = TestEnv::path(QLatin1String(entry));
        if (QFileInfo(target).isDir() && !QFileInfo(target).isSymLink())
            QDir(target).removeRecursively();
        else
            QFile::remove(target);
        copyTree(TestEnv::assembledDir() + QLatin1Char('/') + QLatin1String(entry), target);
    }
    QByteArray settings = "[Quillora]\n";
    if (!settingsLines.contains("Language"))
        settings += "Language = English.lng\n";
    if (!settingsLines.contains("CurrentTheme"))
        settings += "CurrentTheme = Test.theme\n";
    settings += settingsLines;
    TestEnv::writeFile(QStringLiteral("settings.ini"), settings);
    TestEnv::writeFile(QStringLiteral("theme/Test.theme"), testTheme());
    Stubs::installAll();
    Stubs::clearLog(TestEnv::dir());
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void choose(QComboBox *combo, int index)
{
    QVERIFY(combo);
    QVERIFY(combo->isEnabled());
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    view->setCurrentIndex(combo->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
}

void phoneKey(QWidget *widget, int code)
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

void click(QWidget *widget)
{
    QVERIFY(widget);
    // Near the left edge: a check box reacts on its box and caption, not on the empty room
    // its row gives it to the right.
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(qMin(10, widget->width() / 2), widget->height() / 2));
}

void clickTab(ZGui *gui, int index)
{
    QTabBar *bar = gui->tabWidget()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

QString en(const char *key)
{
    return ZConfig(TestEnv::path(QStringLiteral("resource/language/English.lng")))
        .readEntry(QStringLiteral("Quillora"), QLatin1String(key), QStringLiteral("<missing>"));
}

QString setting(const QString &key)
{
    return ZConfig(TestEnv::path(QStringLiteral("settings.ini"))).readEntry(QStringLiteral("Quillora"), key,
                                                                         QStringLiteral("<none>"));
}

QString themeEntry(const QString &file, const QString &group, const QString &key)
{
    return ZConfig(TestEnv::path(file)).readEntry(group, key, QStringLiteral("<none>"));
}

} // namespace GuiFixture
