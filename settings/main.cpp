// The settings program: the main window over the application's event loop.

#include "zapplication.h"
#include "zgui.h"

int main(int argc, char **argv)
{
    app = new ZApplication(argc, argv, ZApplication::GUI_CLIENT);
    ZGui *gui = new ZGui(nullptr);
    const int result = app->exec();
    delete gui;
    delete app;
    app = nullptr;
    return result;
}
