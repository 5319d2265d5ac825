#include "phoneenv.h"

#include <QFont>
#include <QStringList>
#include <QtGlobal>

namespace PhoneEnv {

void chooseHeadlessPlatform()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void substitutePhoneFont()
{
    // Latin letters, digits and symbols come from DejaVu Sans; Chinese characters, which it
    // lacks, fall back to the CJK font. (WenQuanYi Micro Hei has an empty glyph for "℃", so
    // it must not come first.)
    QFont::insertSubstitutions(QStringLiteral("AMCSL"),
                               {QStringLiteral("DejaVu Sans"),
                                QStringLiteral("WenQuanYi Micro Hei"),
                                QStringLiteral("Noto Sans CJK SC")});
}

} // namespace PhoneEnv
