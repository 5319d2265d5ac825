#pragma once
// The suite's settings file, settings.ini of the program directory. Until it exists it reads as
// the shipped defaults (resource/defaults.ini), and the first change writes it from them.

#include "configsnapshot.h"

#include <QString>

#include <memory>

class ZConfig;

namespace SettingsFile {

QString path(const QString &programDir);
QString defaultsPath(const QString &programDir);
// The store on settings.ini, seeded with the shipped defaults. Every reader and writer of the
// settings goes through one of these two, so that all programs see the same settings.
std::unique_ptr<ZConfig> open(const QString &programDir);
// A read-only view of it for one run (the defaults while settings.ini does not exist).
ConfigSnapshot snapshot(const QString &programDir);

} // namespace SettingsFile
