#pragma once
// A program run with a time limit is started in a process group of its own, so that ending it
// at the limit ends whatever it started as well (a shell's programs, a helper it forked).

class QProcess;

namespace ProcessGroup {

// Call before start(): the process begins a group of its own.
void startOwn(QProcess &process);
// Ends the process and every process of its group, and waits (at most two seconds) until it
// has ended.
void end(QProcess &process);

} // namespace ProcessGroup
