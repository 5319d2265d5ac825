// The yardstick for the theme daemon's idle cost: a Qt program whose 500 ms timer does
// nothing. With the argument "gui" it runs a full widget application object on the offscreen
// platform, as the daemon does.
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    const bool gui = argc > 1 && std::strcmp(argv[1], "gui") == 0;
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(gui ? new QApplication(argc, argv)
                                              : new QCoreApplication(argc, argv));
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [] {});
    timer.start(500);
    return app->exec();
}
