#include "langtext.h"

#include "zconfig.h"

QString getText(const ZConfig *lang, const QString &key)
{
    return getText(lang, key, key);
}

QString getText(const ZConfig *lang, const QString &key, const QString &def)
{
    return lang ? lang->readEntry(QStringLiteral("Quillora"), key, def) : def;
}
