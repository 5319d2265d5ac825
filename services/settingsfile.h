#pragma once
// The suite's settings file, settings.ini of the program directory. Until it exists it reads as
// the shipped defaults (resource/defaults.ini), and the first change writes it from them.

#include <QString>

#include <memory>

class ZConfig;

namespace SettingsFile {

QString path(const QString &programDir);
QString defaultsPath(const QString &programDir);
// The store on settings.ini, seeded with the shipped defaults.
std::unique_ptr<ZConfig> open(const QString &programDir);

} // namespace SettingsFile
