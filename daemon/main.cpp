// tarnwick: the theme daemon. Runs without a window until it is killed.
#include "daemon.h"
#include "zmyapp.h"

int main(int argc, char **argv)
{
    ZMyApp a(argc, argv);
    Daemon *daemon = new Daemon;
    if (!daemon->isListening())
        return 1;
    daemon->Start();
    return a.exec();
}
