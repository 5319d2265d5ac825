#include "testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace TestEnv {
namespace {

QString g_dir;

const QStringList kDataEntries = {
    QStringLiteral("resource"), QStringLiteral("theme"), QStringLiteral("device"),
    QStringLiteral("settings.ini"), QStringLiteral("notify.db"), QStringLiteral("wallpaper.list"),
    QStringLiteral("tarnwick.lin"), QStringLiteral("morvessa.lin"), QStringLiteral("show.png")};

void copyTree(const QString &from, const QString &to)
{
    const QFileInfo info(from);
    if (info.isDir()) {
        QDir().mkpath(to);
        const QStringList names = QDir(from).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString &name : names)
            copyTree(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
    } else if (info.exists()) {
        QFile::remove(to);
        QFile::copy(from, to);
        QFile(to).setPermissions(info.permissions() | QFile::WriteOwner);
    }
}

} // namespace

QString assembledDir()
{
    return QString::fromLocal8Bit(qgetenv("QUILLORA_PROGDIR"));
}

QString dir() { return g_dir; }

QString path(const QString &relative) { return g_dir + relative; }

void writeFile(const QString &relative, const QByteArray &bytes)
{
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(p));
    f.write(bytes);
}

QByteArray readFile(const QString &relative)
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void removeFile(const QString &relative)
{
    QFile::remove(path(relative));
}

void resetData()
{
    for (const QString &entry : kDataEntries) {
        const QString target = path(entry);
        if (QFileInfo(target).isDir())
            QDir(target).removeRecursively();
        else
            QFile::remove(target);
        copyTree(assembledDir() + QLatin1Char('/') + entry, target);
    }
    QDir(path(QStringLiteral("device/run"))).removeRecursively();
    QFile::remove(path(QStringLiteral("device/idle/desktop.png")));
}

QString installProgram(const QString &name)
{
    const QString target = path(name);
    copyTree(assembledDir() + QLatin1Char('/') + name, target);
    return target;
}

int run(QObject *test, int argc, char **argv)
{
    QTemporaryDir tmp;
    if (!tmp.isValid())
        return 2;
    g_dir = tmp.path() + QLatin1Char('/');
    resetData();

    // The application is started by a path inside the temporary program directory, so every
    // relative file of the suite, and the device root, lie there.
    QByteArray argv0 = (g_dir + QStringLiteral("quillora")).toLocal8Bit();
    int appArgc = 1;
    char *appArgv[] = {argv0.data(), nullptr};
    ZApplication application(appArgc, appArgv);
    return QTest::qExec(test, argc, argv);
}

} // namespace TestEnv
