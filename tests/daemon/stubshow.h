#pragma once
// A stand-in for the desktop refresh program in the test's program directory. Each run appends
// one line to "show.log": the time it ran, the CurrentTheme of settings.ini and the wallpaper
// (element 9 of the phone's theme settings) it saw, and its arguments, separated by "|". A plain
// run replaces the desktop picture with the text "drawn"; "--at MINUTE" writes MINUTE into the
// waiting picture.

#include "testenv.h"

#include <QFile>
#include <QStringList>

namespace StubShow {

inline void install()
{
    TestEnv::writeFile(QStringLiteral("show"),
                       "#!/bin/sh\n"
                       "t=$(date +%H:%M:%S)\n" // first, so a busy machine delays it least
                       "d=$(dirname \"$0\")\n"
                       "theme=$(sed -n 's/^CurrentTheme = //p' \"$d/settings.ini\" | head -n 1)\n"
                       "wallpaper=$(sed -n 's/^9 = //p' \"$d/device/setup.ini\" 2>/dev/null | head -n 1)\n"
                       "printf '%s|%s|%s|%s\\n' \"$t\" \"$theme\" \"$wallpaper\" \"$*\" >> \"$d/show.log\"\n"
                       "mkdir -p \"$d/device/idle/cache\"\n"
                       "if [ \"$1\" = --at ]; then printf %s \"$2\" > \"$d/device/idle/cache/desktop.next.png\"\n"
                       "else echo drawn > \"$d/device/idle/new\" && mv \"$d/device/idle/new\" \"$d/device/idle/desktop.png\"; fi\n");
    QFile(TestEnv::path(QStringLiteral("show")))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TestEnv::removeFile(QStringLiteral("show.log"));
}

// One entry per run of "show", oldest first.
inline QStringList calls()
{
    return QString::fromUtf8(TestEnv::readFile(QStringLiteral("show.log")))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

inline int count() { return int(calls().size()); }

// Field of a call: 0 the time, 1 the theme, 2 the wallpaper, 3 the arguments.
inline QString field(int call, int which)
{
    const QStringList all = calls();
    if (call < 0)
        call += int(all.size());
    if (call < 0 || call >= all.size())
        return QStringLiteral("<no call %1>").arg(call);
    return all.at(call).section(QLatin1Char('|'), which, which);
}

} // namespace StubShow
