#pragma once
// The stand-in programs of the settings tests: copies of the stub program named like the
// suite's programs, placed in a program directory, and what they logged.

#include <QString>
#include <QStringList>

namespace Stubs {

// Copies the stub into dir (with trailing "/") under name, executable.
void install(const QString &dir, const QString &name);
// Installs tarnwick, morvessa, show and phone into the test's program directory.
void installAll();
// The lines of dir + "stub.log" ("started NAME ...", "stopped NAME").
QStringList log(const QString &dir);
void clearLog(const QString &dir);
// Waits (a few seconds at most) until the log holds the line.
bool waitFor(const QString &dir, const QString &line);
// Stops what the stubs of the test's directory still run.
void stopAll();

} // namespace Stubs
