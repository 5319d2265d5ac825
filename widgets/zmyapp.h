#pragma once
// The application object of the two background programs, the theme daemon and the wallpaper
// rotator. They have no window; the phone's requests to shut down, quit quickly, raise the
// program or return to the idle screen have no effect on them.
//
// A quit asked for while the program is still starting (before exec()) stands: exec() then
// returns at once, so a program that finds nothing to do ends instead of idling.

#include "zapplication.h"

class ZMyApp : public ZApplication
{
    Q_OBJECT
public:
    ZMyApp(int &argc, char **argv);
    ~ZMyApp() override;

    // Runs the event loop until quit(); returns at once when a quit was asked for before.
    static int exec();

public slots:
    // Ends the event loop, or, before it runs, makes the coming exec() return at once.
    static void quit();

protected slots:
    void slotShutdown();
    void slotQuickQuit();
    void slotRaise();
    void slotReturnToIdle(int);

private:
    static bool s_quitRequested;
    static bool s_running;
};
