#pragma once
// The emulated phone's 240 x 320 screen: the idle screen's desktop picture
// ("device/idle/desktop.png") with the phone's own digital clock over it.
//
// The picture is shown anew whenever it is replaced (the folder is watched; nothing polls).
// The clock's settings are read once, when the screen is made, as the phone's idle-screen
// program does; a restarted phone reads them again. The screen goes dark on "LCDOff" and
// lights up on "LCDOn" of the channel "EZX/System" (a restarted phone keeps the state: it lies in
// "device/idle/display", "0" or "1"), and shows a plain window in place of the desktop while
// another window is in front.

#include "phoneclock.h"

#include <QDateTime>
#include <QImage>
#include <QWidget>

class QFileSystemWatcher;
class QTimer;

class PhoneScreen : public QWidget
{
    Q_OBJECT
public:
    explicit PhoneScreen(QWidget *parent = nullptr);

    bool displayOn() const { return m_displayOn; }
    bool idleInFront() const { return m_idleInFront; }
    // When the picture on screen was drawn; invalid while there is none.
    QDateTime desktopTime() const { return m_desktopTime; }
    const PhoneClock::Settings &clockSettings() const { return m_clock; }
    QRect clockRect() const { return m_clockRect; }

    static QString desktopPath();
    // Where the display's state outlives a restart of the phone: "0" off, anything else on.
    static QString displayStatePath();

    QSize sizeHint() const override;

signals:
    void desktopChanged();
    void stateChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void folderChanged();
    void reloadDesktop();
    void displayMessage(const QByteArray &msg);
    void scheduleClock();

    QImage m_desktop;
    QDateTime m_desktopTime;
    qint64 m_desktopSize = -1;
    QFileSystemWatcher *m_watcher;
    QTimer *m_clockTimer;
    PhoneClock::Settings m_clock;
    QFont m_clockFont;
    QRect m_clockRect;
    bool m_displayOn = true;
    bool m_idleInFront = true;
};
