#include "zapplication.h"

#include "phoneenv.h"

#include <QContextMenuEvent>
#include <QEvent>
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

bool ZApplication::notify(QObject *receiver, QEvent *event)
{
    // The keypad's Menu key is the left soft key. The X platform follows it with a context menu
    // event, on which a text, number or date field would open the desktop's editing menu over
    // the soft key's options (and could empty the field): the phone has no such menu.
    if (event->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard)
        return true;
    // Qt marks the focus only once a key has moved it in the window, and forgets that again on
    // the way to becoming active.
    if (event->type() == QEvent::WindowActivate && receiver->isWidgetType()) {
        auto *window = static_cast<QWidget *>(receiver);
        if (window->isWindow() && !window->testAttribute(Qt::WA_KeyboardFocusChange)) {
            window->setAttribute(Qt::WA_KeyboardFocusChange);
            if (QWidget *focus = window->focusWidget())
                focus->update();
        }
    }
    return QApplication::notify(receiver, event);
}
