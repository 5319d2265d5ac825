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
// For a check that nothing was started or stopped: starts the stand-in show the way the settings
// program starts programs, after whatever the test did before, and waits for its line. What the
// program started or stopped before has logged by then; the follow-up's own line is taken out of
// the log again. False when the follow-up never logged.
bool followUp(const QString &dir);
// Stops what the stubs of the test's directory still run.
void stopAll();

} // namespace Stubs
