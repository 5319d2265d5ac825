#pragma once
// The ways a picture file becomes a real desktop's wallpaper. Each returns false with a
// one-line reason when the desktop did not take it.

#include <QString>
#include <QStringList>

namespace Desktop::Targets {

// Runs a program to its end, within ten seconds; false with the reason unless it ends with
// status 0. What it printed goes to `output`. A program still running at the limit is ended
// together with every process it started (its process group).
bool runProgram(const QString &program, const QStringList &args, QString *error, QByteArray *output = nullptr);

// The limit of runProgram (ten seconds unless set; for tests).
void setProgramTimeLimitMs(int ms);

// Runs `commandLine` through the shell, every %1 replaced by `path` quoted for the shell; it
// succeeds when the command ends with status 0 within ten seconds.
bool runCommand(const QString &commandLine, const QString &path, QString *error);
// The command line that runCommand() hands to the shell.
QString expandCommand(const QString &commandLine, const QString &path);

// GNOME's wallpaper settings (org.gnome.desktop.background), through gsettings: the dark
// picture first, then the light one, then how the picture is fitted.
bool setGnome(const QString &path, QString *error);
// The keys setGnome() changes, and their values as gsettings prints them.
QStringList gnomeKeys();
QStringList readGnome(QString *error);
bool writeGnome(const QStringList &values, QString *error);

// Every Plasma desktop whose wallpaper plugin shows a picture file, through the shell's
// script interface on the session bus.
bool setPlasma(const QString &path, QString *error);
// The script setPlasma() sends.
QString plasmaScript(const QString &path);
// The image of every such desktop, by its number, as a JSON object (busctl reads the answer).
QString readPlasma(QString *error);
// Gives each desktop named in `images` (as readPlasma() returned them) its image back.
bool restorePlasma(const QString &images, QString *error);

// An own background program of sway for every output: the new one starts before the one it
// replaces ends. Its process number is kept in `pidFile`.
bool setSway(const QString &path, const QString &pidFile, QString *error);
// Ends the background program named by `pidFile`, when it still runs.
void stopSway(const QString &pidFile);

} // namespace Desktop::Targets
