#include "themefile.h"

#include "device.h"

namespace ThemeFile {

bool isName(const QString &fileName)
{
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String(".."))
        return false;
    for (const QChar c : fileName) {
        if (c == QLatin1Char('/') || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

QString dir(const QString &programDir)
{
    return programDir + QStringLiteral("theme/");
}

QString imagesDir(const QString &programDir)
{
    return dir(programDir) + QStringLiteral("images/");
}

QString path(const QString &programDir, const QString &fileName)
{
    return isName(fileName) ? dir(programDir) + fileName : QString();
}

QString imagePath(const QString &programDir, const QString &image)
{
    return imagesDir(programDir) + image;
}

QString workingCopy()
{
    return Platform::phonePath(QStringLiteral("/tmp/tmp.theme"));
}

} // namespace ThemeFile
