#include "zapplication.h"

#include "phoneenv.h"

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
    PhoneEnv::chooseHeadlessPlatform();
}

void ZApplication::substitutePhoneFont()
{
    PhoneEnv::substitutePhoneFont();
}
