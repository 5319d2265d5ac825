#include "renderfixture.h"

#include "zapplication.h"

#include <QDir>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QProcess>

namespace RenderFixture {

ShowRun runShow(const QStringList &arguments, const QStringList &environment, const QStringList &prefix)
{
    const QString show = TestEnv::installProgram(QStringLiteral("show"));
    QProcess process;
    process.setWorkingDirectory(QDir::rootPath());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "XDG_CURRENT_DESKTOP",
                             "DBUS_SESSION_BUS_ADDRESS"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("NO_FAKE_STAT"), QStringLiteral("1"));
    for (const QString &variable : environment)
        env.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    if (prefix.isEmpty())
        process.start(show, arguments);
    else
        process.start(prefix.first(), prefix.mid(1) + QStringList{show} + arguments);
    ShowRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void setUp(const QByteArray &theme, const QByteArray &settings)
{
    QImage wall(DrawImg::Width, DrawImg::Height, QImage::Format_RGB32);
    wall.fill(wallColour());
    QVERIFY(wall.save(TestEnv::path(QStringLiteral("wall.png"))));
    TestEnv::writeFile(QStringLiteral("device/setup.ini"),
                       "[SETUP_THEME]\n9 = " + TestEnv::path(QStringLiteral("wall.png")).toUtf8() + "\n");
    TestEnv::writeFile(QStringLiteral("theme/t.theme"), theme);
    TestEnv::writeFile(QStringLiteral("settings.ini"), "[Quillora]\nCurrentTheme = t.theme\n" + settings);
    TestEnv::writeFile(QStringLiteral("notify.db"), QByteArray());
    TestEnv::removeFile(QStringLiteral("device/ezxlocal/.weather"));
    TestEnv::removeFile(QStringLiteral("device/tmp/tmp.theme"));
}

QImage render(const QDateTime &at)
{
    RenderClock::setFixed(at);
    DrawImg renderer;
    RenderClock::clearFixed();
    return renderer.getPixmap()->toImage().convertToFormat(QImage::Format_RGB32);
}

QImage expectedText(const QString &text, int pointSize, int x, int y, const QColor &colour)
{
    QPixmap pixmap(DrawImg::Width, DrawImg::Height);
    pixmap.fill(wallColour());
    QPainter painter(&pixmap);
    QFont font(QStringLiteral("AMCSL"));
    font.setPointSize(pointSize);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(x, y, DrawImg::Width, DrawImg::Height), Qt::AlignLeft | Qt::AlignTop, text);
    painter.end();
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

QByteArray textItem(const QByteArray &group, int fontSize, int x, int y, const QColor &colour,
                    const QByteArray &extra)
{
    QByteArray s = "[" + group + "]\nEnable = true\nFontSize = " + QByteArray::number(fontSize)
        + "\nPosition_X = " + QByteArray::number(x) + "\nPosition_Y = " + QByteArray::number(y)
        + "\nFontColor_R = " + QByteArray::number(colour.red())
        + "\nFontColor_G = " + QByteArray::number(colour.green())
        + "\nFontColor_B = " + QByteArray::number(colour.blue()) + "\n";
    return s + extra;
}

} // namespace RenderFixture
