#include "langtext.h"

#include "zconfig.h"
#include "zsoftkey.h"


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
