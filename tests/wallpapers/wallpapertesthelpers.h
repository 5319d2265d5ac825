#pragma once
// Helpers of the wallpaper dialog tests: pictures, key presses, and answers to nested dialogs.

#include "langtext.h"
#include "testenv.h"
#include "zconfig.h"
#include "zdialogmonitor.h"

#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <functional>

namespace WallpaperTest {

// A picture of one colour.
inline QString makeImage(const QString &relative, const QSize &size, const QColor &colour,
                         const char *format = nullptr)
{
    const QString path = TestEnv::path(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path, format);
    return path;
}

// The English text of a key, as the dialogs under test read it.
inline QString text(const char *key)
{
    static ZConfig english(TestEnv::path(QStringLiteral("resource/language/English.lng")));
    return getText(&english, QString::fromLatin1(key));
}

// Sends a phone key to a widget as the keypad does; an ignored key travels up to the window.
inline void press(QWidget *target, int code)
{
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Answers every modal dialog shown while it lives; a dialog the answer left open is closed.
class OnDialog
{
public:
    explicit OnDialog(std::function<void(QWidget *)> answer)
    {
        m_connection = QObject::connect(ZDialogMonitor::instance(), &ZDialogMonitor::dialogShown,
                                        [this, answer](QWidget *dialog) {
                                            ++shown;
                                            answer(dialog);
                                            // A failed check leaves the dialog open: close it,
                                            // so the test ends instead of waiting.
                                            if (dialog->isVisible())
                                                dialog->close();
                                        });
    }
    ~OnDialog() { QObject::disconnect(m_connection); }
    int shown = 0;

private:
    QMetaObject::Connection m_connection;
};

} // namespace WallpaperTest
