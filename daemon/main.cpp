// tarnwick: the theme daemon. Runs without a window until it is killed.
#include "daemon.h"
#include "zmyapp.h"

int main(int argc, char **argv)
{
    ZMyApp a(argc, argv);
    // Destroyed before the application object, whichever way the program ends.
    Daemon daemon;
    if (!daemon.isListening())
        return 1;
    daemon.Start();
    return a.exec();
}
