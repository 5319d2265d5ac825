#include "desktopscreen.h"

#include "desktoptargets.h"
#include "rootwindow.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>

namespace Desktop {

namespace {

const QSize kFallbackScreen(1920, 1080);

// A mode of `width` x `height` shown turned by a quarter: the picture is the other way round.
QSize turned(int width, int height, bool quarterTurn)
{
    return quarterTurn ? QSize(height, width) : QSize(width, height);
}

// busctl's JSON of one value: {"type": "...", "data": ...}.
QJsonValue dataOf(const QJsonValue &value) { return value.toObject().value(QLatin1String("data")); }

} // namespace

Screen Screen::single(QSize size, double scale)
{
    return {size, QRect(QPoint(0, 0), size), scale};
}

Screen parseSwayOutputs(const QByteArray &json)
{
    const QJsonArray outputs = QJsonDocument::fromJson(json).array();
    QJsonObject chosen;
    for (const QJsonValue &value : outputs) {
        const QJsonObject output = value.toObject();
        if (!output.value(QLatin1String("active")).toBool())
            continue;
        if (chosen.isEmpty() || output.value(QLatin1String("focused")).toBool())
            chosen = output;
        if (output.value(QLatin1String("focused")).toBool())
            break;
    }
    const QJsonObject mode = chosen.value(QLatin1String("current_mode")).toObject();
    const QString transform = chosen.value(QLatin1String("transform")).toString();
    const bool quarter = transform.endsWith(QLatin1String("90")) || transform.endsWith(QLatin1String("270"));
    const QSize size = turned(mode.value(QLatin1String("width")).toInt(), mode.value(QLatin1String("height")).toInt(), quarter);
    const Screen screen = Screen::single(size, chosen.value(QLatin1String("scale")).toDouble(1));
    return screen.isValid() ? screen : Screen();
}

Screen parseMutterState(const QByteArray &json)
{
    // (serial, monitors a((ssss)a(siiddada{sv})a{sv}), logical monitors a(iiduba(ssss)a{sv}), a{sv})
    const QJsonArray state = QJsonDocument::fromJson(json).object().value(QLatin1String("data")).toArray();
    const QJsonArray monitors = state.at(1).toArray();
    const QJsonArray logicals = state.at(2).toArray();
    QJsonArray logical;
    for (const QJsonValue &value : logicals) {
        if (logical.isEmpty() || value.toArray().at(4).toBool())
            logical = value.toArray();
    }
    const QJsonValue connector = logical.at(5).toArray().at(0).toArray().at(0);
    for (const QJsonValue &value : monitors) {
        const QJsonArray monitor = value.toArray();
        if (monitor.at(0).toArray().at(0) != connector)
            continue;
        for (const QJsonValue &modeValue : monitor.at(1).toArray()) {
            const QJsonArray mode = modeValue.toArray();
            if (!dataOf(mode.at(6).toObject().value(QLatin1String("is-current"))).toBool())
                continue;
            // Transforms 1, 3, 5 and 7 turn the monitor by a quarter.
            const bool quarter = logical.at(3).toInt() % 2 == 1;
            const Screen screen = Screen::single(turned(mode.at(1).toInt(), mode.at(2).toInt(), quarter), logical.at(2).toDouble());
            return screen.isValid() ? screen : Screen();
        }
    }
    return Screen();
}

double parseXftScale(const QByteArray &resources)
{
    for (const QByteArray &line : resources.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed() != "Xft.dpi")
            continue;
        bool ok = false;
        const double dpi = line.mid(colon + 1).trimmed().toDouble(&ok);
        if (ok && dpi >= 24 && dpi <= 960)
            return dpi / 96;
    }
    return 1;
}

Screen screenFor(Target target)
{
    QString error;
    QByteArray reply;
    Screen screen;
    if (target == Target::Gnome
        && Targets::runProgram(QStringLiteral("busctl"),
                               {QStringLiteral("--user"), QStringLiteral("--json=short"), QStringLiteral("--timeout=3"),
                                QStringLiteral("call"), QStringLiteral("org.gnome.Mutter.DisplayConfig"),
                                QStringLiteral("/org/gnome/Mutter/DisplayConfig"), QStringLiteral("org.gnome.Mutter.DisplayConfig"),
                                QStringLiteral("GetCurrentState")},
                               &error, &reply))
        screen = parseMutterState(reply);
    else if (target == Target::Sway
             && Targets::runProgram(QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_outputs"), QStringLiteral("-r")},
                                    &error, &reply))
        screen = parseSwayOutputs(reply);
    if (!screen.isValid()) {
        // The X server's root spans every monitor: only x11 draws on the whole of it, the
        // others take the primary monitor's picture and fit it to each monitor themselves.
        screen = RootWindow::screen();
        if (target != Target::X11 && screen.isValid())
            screen = Screen::single(screen.primary.size(), screen.scale);
    }
    return screen.isValid() ? screen : Screen::single(kFallbackScreen, 1);
}

} // namespace Desktop
