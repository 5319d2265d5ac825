// phone: the emulated phone's idle screen. Start it through phone.sh, which starts it again
// whenever it is killed, so that it rereads its clock settings as the phone's own does.
#include "phonewindow.h"
#include "zapplication.h"

int main(int argc, char **argv)
{
    ZApplication a(argc, argv);
    PhoneWindow window;
    window.show();
    return a.exec();
}
