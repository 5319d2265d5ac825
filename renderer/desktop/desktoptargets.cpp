#include "desktoptargets.h"

#include "atomicfile.h"
#include "device.h"
#include "processgroup.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <QUrl>

#include <csignal>
#include <sys/types.h>

namespace Desktop::Targets {

namespace {

int g_timeLimitMs = 10000;
const QString kGnomeSchema = QStringLiteral("org.gnome.desktop.background");

} // namespace

void setProgramTimeLimitMs(int ms)
{
    g_timeLimitMs = ms;
}

bool runProgram(const QString &program, const QStringList &args, QString *error, QByteArray *output)
{
    QProcess process;
    // A user's command line that hangs in a program it started leaves nothing behind when it
    // is ended.
    ProcessGroup::startOwn(process);
    process.start(program, args);
    if (!process.waitForStarted(g_timeLimitMs)) {
        *error = QStringLiteral("cannot start %1").arg(program);
        return false;
    }
    if (!process.waitForFinished(g_timeLimitMs)) {
        ProcessGroup::end(process);
        *error = QStringLiteral("%1 did not end within %2 seconds").arg(program).arg(g_timeLimitMs / 1000.0);
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(process.readAllStandardError()).simplified();
        *error = QStringLiteral("%1 failed (status %2)%3")
                     .arg(program)
                     .arg(process.exitCode())
                     .arg(said.isEmpty() ? QString() : QStringLiteral(": ") + said);
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

namespace {

bool gsettingsSet(const QString &key, const QString &value, QString *error)
{
    return runProgram(QStringLiteral("gsettings"), {QStringLiteral("set"), kGnomeSchema, key, value}, error);
}

} // namespace

QString expandCommand(const QString &commandLine, const QString &path)
{
    QString line = commandLine;
    return line.replace(QStringLiteral("%1"), Platform::shellQuote(path));
}

bool runCommand(const QString &commandLine, const QString &path, QString *error)
{
    if (commandLine.trimmed().isEmpty()) {
        *error = QStringLiteral("no command is set");
        return false;
    }
    return runProgram(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), expandCommand(commandLine, path)}, error);
}

QStringList gnomeKeys()
{
    return {QStringLiteral("picture-uri-dark"), QStringLiteral("picture-uri"), QStringLiteral("picture-options")};
}

bool setGnome(const QString &path, QString *error)
{
    // gsettings takes a value in its own text form: a quoted string.
    const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    const QString value = QLatin1Char('\'') + uri + QLatin1Char('\'');
    return gsettingsSet(QStringLiteral("picture-uri-dark"), value, error)
        && gsettingsSet(QStringLiteral("picture-uri"), value, error)
        && gsettingsSet(QStringLiteral("picture-options"), QStringLiteral("'zoom'"), error);
}

QStringList readGnome(QString *error)
{
    QStringList values;
    for (const QString &key : gnomeKeys()) {
        QByteArray output;
        if (!runProgram(QStringLiteral("gsettings"), {QStringLiteral("get"), kGnomeSchema, key}, error, &output))
            return {};
        values << QString::fromUtf8(output).trimmed();
    }
    return values;
}

bool writeGnome(const QStringList &values, QString *error)
{
    const QStringList keys = gnomeKeys();
    for (int i = 0; i < keys.size() && i < values.size(); ++i) {
        if (!gsettingsSet(keys.at(i), values.at(i), error))
            return false;
    }
    return true;
}

namespace {

const QString kPlasmaImageGroup = QStringLiteral("d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];");

// A JSON value as a script literal: JSON's quoting is the script's.
QString scriptLiteral(const QJsonValue &value)
{
    const QByteArray quoted = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(quoted.mid(1, quoted.size() - 2));
}

// The shell runs `script`; what it prints comes back in `output`, as busctl's JSON. Every call
// to the shell goes through this one client.
bool evaluatePlasmaScript(const QString &script, QString *error, QByteArray *output = nullptr)
{
    return runProgram(QStringLiteral("busctl"),
                      {QStringLiteral("--user"), QStringLiteral("--json=short"), QStringLiteral("call"), QStringLiteral("org.kde.plasmashell"),
                       QStringLiteral("/PlasmaShell"), QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"),
                       QStringLiteral("s"), script},
                      error, output);
}

} // namespace

QString plasmaScript(const QString &path)
{
    return QStringLiteral("desktops().forEach(function (d) {"
                          " if (d.wallpaperPlugin != \"org.kde.image\") return; %1"
                          " d.writeConfig(\"Image\", %2); });")
        .arg(kPlasmaImageGroup, scriptLiteral(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)));
}

bool setPlasma(const QString &path, QString *error)
{
    return evaluatePlasmaScript(plasmaScript(path), error);
}

QString readPlasma(QString *error)
{
    // What the script prints comes back as the call's answer.
    const QString script = QStringLiteral("var images = {}; desktops().forEach(function (d) {"
                                          " if (d.wallpaperPlugin != \"org.kde.image\") return; %1"
                                          " var image = d.readConfig(\"Image\"); images[d.id] = image ? String(image) : \"\"; });"
                                          " print(JSON.stringify(images));")
                               .arg(kPlasmaImageGroup);
    QByteArray output;
    if (!evaluatePlasmaScript(script, error, &output))
        return QString();
    // {"type": "s", "data": ["what the script printed"]}
    const QString printed = QJsonDocument::fromJson(output).object().value(QLatin1String("data")).toArray().at(0).toString();
    const QJsonDocument images = QJsonDocument::fromJson(printed.trimmed().toUtf8());
    if (!images.isObject()) {
        *error = QStringLiteral("the shell did not list its desktops' images");
        return QString();
    }
    return QString::fromUtf8(images.toJson(QJsonDocument::Compact));
}

namespace {

QString plasmaRestoreScript(const QString &images)
{
    // Only text values reach the script, whatever the saved setting holds.
    QJsonObject known;
    const QJsonObject saved = QJsonDocument::fromJson(images.toUtf8()).object();
    for (auto it = saved.begin(); it != saved.end(); ++it) {
        if (it.value().isString())
            known.insert(it.key(), it.value());
    }
    return QStringLiteral("var images = %1; desktops().forEach(function (d) {"
                          " if (!images.hasOwnProperty(String(d.id))) return; %2"
                          " d.writeConfig(\"Image\", images[String(d.id)]); });")
        .arg(scriptLiteral(known), kPlasmaImageGroup);
}

} // namespace

bool restorePlasma(const QString &images, QString *error)
{
    return evaluatePlasmaScript(plasmaRestoreScript(images), error);
}

namespace {

// The background program named by the file, when that process is still one.
qint64 runningSwaybg(const QString &pidFile)
{
    QFile file(pidFile);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const qint64 pid = file.readAll().trimmed().toLongLong();
    if (pid <= 0)
        return 0;
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "swaybg")
        return 0;
    return pid;
}

} // namespace

void stopSway(const QString &pidFile)
{
    if (const qint64 pid = runningSwaybg(pidFile))
        ::kill(pid_t(pid), SIGTERM);
    QFile::remove(pidFile);
}

bool setSway(const QString &path, const QString &pidFile, QString *error)
{
    const qint64 previous = runningSwaybg(pidFile);
    qint64 pid = 0;
    if (!QProcess::startDetached(QStringLiteral("swaybg"),
                                 {QStringLiteral("-o"), QStringLiteral("*"), QStringLiteral("-i"), path,
                                  QStringLiteral("-m"), QStringLiteral("fill")},
                                 QString(), &pid)) {
        *error = QStringLiteral("cannot start swaybg");
        return false;
    }
    if (!AtomicFile::replace(pidFile, QByteArray::number(pid) + '\n')) {
        *error = QStringLiteral("cannot write %1").arg(pidFile);
        return false;
    }
    if (previous) {
        // The new picture is drawn within a frame or two of the start; the old one covers the
        // screen until then.
        QThread::msleep(200);
        ::kill(pid_t(previous), SIGTERM);
    }
    return true;
}

} // namespace Desktop::Targets
