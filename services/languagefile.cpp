#include "languagefile.h"

#include "readlog.h"

#include <QFileInfo>

QString languageFileFor(const QString &languageDir, const QString &stored, const QLocale &locale)
{
    const QString dir = languageDir.endsWith(QLatin1Char('/')) ? languageDir : languageDir + QLatin1Char('/');
    if (!stored.isEmpty())
        ReadLog::note(dir + stored);
    if (!stored.isEmpty() && QFileInfo(dir + stored).isFile())
        return stored;
    return locale.language() == QLocale::Chinese ? QStringLiteral("简体中文.lng") : QStringLiteral("English.lng");
}
