#pragma once
// A program run with a time limit is started in a process group of its own, so that ending it
// at the limit ends whatever it started as well (a shell's programs, a helper it forked).

#include <QStringList>

class QProcess;
class QString;

namespace ProcessGroup {

// Call before start(): the process begins a group of its own.
void startOwn(QProcess &process);
// Ends the process and every process of its group, and waits (at most two seconds) until it
// has ended.
void end(QProcess &process);

// Runs the program at `path` (never one found on the search path) with `arguments` in a group
// of its own, its output sent nowhere when `quiet`, and waits for it. It is spawned, so the
// caller's memory is neither copied nor marked for copying. At `limitMs` the whole group is
// ended. True when the program ended by itself with status 0.
bool run(const QString &path, const QStringList &arguments, bool quiet, int limitMs);

} // namespace ProcessGroup
