// fetchweather: fetches the five-day forecast for the coordinates of settings.ini's group
// "Weather" and writes the phone's weather file; with "--background" it stays and keeps the
// file current. Exit status 0 after a written file (and the desktop redrawn when that is on),
// 1 after a failure (one line on stderr), 2 for a wrong command line, 3 when the file was
// written but the redraw failed (one line on stderr).

#include "updateloop.h"
#include "weatherupdate.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args == QStringList{QStringLiteral("--background")}) {
        Weather::UpdateLoop loop;
        loop.start();
        return app.exec();
    }
    if (!args.isEmpty()) {
        std::fprintf(stderr, "usage: fetchweather [--background]\n");
        return 2;
    }
    Weather::Update update;
    QObject::connect(&update, &Weather::Update::finished, &app, [&update](bool ok, const QString &message) {
        if (!ok)
            std::fprintf(stderr, "%s\n", qPrintable(message));
        else if (update.redrawFailed())
            std::fprintf(stderr, "fetchweather: the forecast is written, but show did not redraw the desktop\n");
        QCoreApplication::exit(!ok ? 1 : update.redrawFailed() ? 3 : 0);
    });
    update.start();
    return app.exec();
}
