#include "zmyapp.h"

bool ZMyApp::s_quitRequested = false;
bool ZMyApp::s_running = false;

ZMyApp::ZMyApp(int &argc, char **argv)
    : ZApplication(argc, argv, ZApplication::GUI_CLIENT)
{
    // The rotator's momentary window comes and goes; its closing must not end the program.
    setQuitOnLastWindowClosed(false);
}

ZMyApp::~ZMyApp() = default;

int ZMyApp::exec()
{
    // The toolkit forgets a quit asked for while no event loop runs; this object keeps it.
    if (s_quitRequested)
        return 0;
    s_running = true;
    const int code = ZApplication::exec();
    s_running = false;
    return code;
}

void ZMyApp::quit()
{
    s_quitRequested = true;
    if (s_running)
        ZApplication::quit();
}

void ZMyApp::slotShutdown() {}

void ZMyApp::slotQuickQuit() {}

void ZMyApp::slotRaise() {}

void ZMyApp::slotReturnToIdle(int) {}
