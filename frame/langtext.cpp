#include "langtext.h"

#include "zconfig.h"
#include "zsoftkey.h"

#include <QFileInfo>

QString getText(const ZConfig *lang, const QString &key)
{
    return getText(lang, key, key);
}

QString getText(const ZConfig *lang, const QString &key, const QString &def)
{
    return lang ? lang->readEntry(QStringLiteral("Quillora"), key, def) : def;
}

void applyStandardTexts(const ZConfig *lang)
{
    ZSoftKey::setStandardTexts(getText(lang, QStringLiteral("OK")), getText(lang, QStringLiteral("Cancel")));
}

QString languageFileFor(const QString &languageDir, const QString &stored, const QLocale &locale)
{
    const QString dir = languageDir.endsWith(QLatin1Char('/')) ? languageDir : languageDir + QLatin1Char('/');
    if (!stored.isEmpty() && QFileInfo(dir + stored).isFile())
        return stored;
    return locale.language() == QLocale::Chinese ? QStringLiteral("简体中文.lng") : QStringLiteral("English.lng");
}
