#include "zapplication.h"

#include <QFont>

ZApplication *app = nullptr;

namespace {
int &prepared(int &argc)
{
    ZApplication::chooseHeadlessPlatform();
    return argc;
}
} // namespace

ZApplication::ZApplication(int &argc, char **argv, Type)
    : QApplication(prepared(argc), argv)
{
    substitutePhoneFont();
    app = this;
}

ZApplication::~ZApplication()
{
    if (app == this)
        app = nullptr;
}

void ZApplication::chooseHeadlessPlatform()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void ZApplication::substitutePhoneFont()
{
    // Latin letters, digits and symbols come from DejaVu Sans; Chinese characters, which it
    // lacks, fall back to the CJK font. (WenQuanYi Micro Hei has an empty glyph for "℃", so
    // it must not come first.)
    QFont::insertSubstitutions(QStringLiteral("AMCSL"),
                               {QStringLiteral("DejaVu Sans"),
                                QStringLiteral("WenQuanYi Micro Hei"),
                                QStringLiteral("Noto Sans CJK SC")});
}
