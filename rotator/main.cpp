// morvessa: the wallpaper rotator. Runs without a window until it is killed, or ends at once
// when the wallpaper list holds fewer than two images.
#include "morvessa.h"
#include "zmyapp.h"

int main(int argc, char **argv)
{
    ZMyApp a(argc, argv);
    // Destroyed before the application object, whichever way the program ends.
    Morvessa rotator;
    if (!rotator.isListening())
        return 1;
    rotator.Start();
    return a.exec();
}
