#include "device.h"

#include <QCoreApplication>
#include <QStringList>

namespace Platform {

QString programDirOf(const QString &startPath)
{
    const int slash = startPath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : startPath.left(slash + 1);
}

QString programDir()
{
    const QStringList args = QCoreApplication::arguments();
    return args.isEmpty() ? QString() : programDirOf(args.first());
}

QString deviceRoot()
{
    return programDir() + QStringLiteral("device/");
}

QString phonePath(const QString &phoneAbsolutePath)
{
    QString rel = phoneAbsolutePath;
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    return deviceRoot() + rel;
}

QString shellQuote(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace Platform
