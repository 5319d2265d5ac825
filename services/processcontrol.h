#pragma once
// The command lines by which the settings program starts and stops the background programs of
// the suite (theme daemon, wallpaper rotator, desktop refresh) and the phone's idle-screen
// program. Every path in them is quoted for the shell.
//
// A stop command signals only the program of this program directory: a process is stopped when
// its name is the program's name and its executable is this directory's file. Another phone's
// daemon (another program directory), or any other process of the machine that merely carries
// the name, is left alone.

#include <QString>

class ProcessControl
{
public:
    explicit ProcessControl(const QString &programDir);

    // "<dir>name &": starts a program of the program directory in the background.
    QString startCommand(const QString &program) const;
    // Signals every running instance of this directory's program; blocks until sent.
    QString stopCommand(const QString &program) const;

    // The program's file: the program directory followed by the name, "./name" when the
    // program directory is empty (the working directory then stands for it).
    QString programFile(const QString &program) const;

    // Runs a command line through the shell; true when it ended with status 0 (callers that
    // start programs in the background do not look).
    static bool run(const QString &commandLine);

    void refreshDesktop() const;   // show &
    void startDaemon() const;      // tarnwick &
    void stopDaemon() const;
    void startRotator() const;     // morvessa &
    void stopRotator() const;
    void restartPhone() const;     // the phone's idle screen rereads its settings when restarted

    static const char *const Daemon;
    static const char *const Rotator;
    static const char *const Show;
    static const char *const Phone;

private:
    QString m_dir;
};
