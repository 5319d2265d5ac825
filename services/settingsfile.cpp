#include "settingsfile.h"

#include "zconfig.h"

namespace SettingsFile {

QString path(const QString &programDir)
{
    return programDir + QStringLiteral("settings.ini");
}

QString defaultsPath(const QString &programDir)
{
    return programDir + QStringLiteral("resource/defaults.ini");
}

std::unique_ptr<ZConfig> open(const QString &programDir)
{
    auto store = std::make_unique<ZConfig>(path(programDir));
    store->setSeed(defaultsPath(programDir));
    return store;
}

ConfigSnapshot snapshot(const QString &programDir)
{
    return ConfigSnapshot::seeded(path(programDir), defaultsPath(programDir));
}

} // namespace SettingsFile
