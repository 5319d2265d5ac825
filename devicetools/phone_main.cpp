// phone: the emulated phone's idle screen. Start it through phone.sh, which starts it again
// whenever it is killed, so that it rereads its clock settings as the phone's own does.
#include "phonewindow.h"
#include "phonescreen.h"
#include "zapplication.h"

#include <QFile>

int main(int argc, char **argv)
{
    ZApplication a(argc, argv);
    PhoneWindow window;
    window.show();
    const int status = a.exec();
    // Closed by its user, the phone starts lit the next time; killed to be restarted, it keeps
    // the display as it was.
    QFile::remove(PhoneScreen::displayStatePath());
    return status;
}
