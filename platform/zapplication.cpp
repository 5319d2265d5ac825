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
    QFont::insertSubstitutions(QStringLiteral("AMCSL"),
                               {QStringLiteral("WenQuanYi Micro Hei"),
                                QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("DejaVu Sans")});
}
