#pragma once
// The wallpaper rotator: makes the next image of the wallpaper list the phone's wallpaper every
// ChangeTime seconds while the idle screen is in front, in list order or at random; the two
// hard keys step to the next or the previous image at once. With Refresh on it has the desktop
// redrawn (the program "show") after each change.
//
// A ChangeTime that is missing or not above 0 means no timed changes at all: the keys and the
// display coming on still change the wallpaper. (A zero interval would change it on every pass
// of the event loop.)

#include <QByteArray>
#include <QObject>
#include <QStringList>

class QTimer;

class Morvessa : public QObject
{
    Q_OBJECT
public:
    enum { NextKey = 4171, PreviousKey = 4172, KeyPressed = 1 };

    // Reads the settings and the list once; with fewer than two images it asks the application
    // to quit.
    Morvessa();
    ~Morvessa() override;

    // False when the rotator cannot listen on its channels (it then said so on standard error
    // and read nothing); the program ends with a failure.
    bool isListening() const { return m_listening; }

    // Starts the interval timer, repeating.
    void Start();
    QString getProgramDir() const;

public slots:
    void updateTime();
    void systemStatusChanged(const QByteArray &msg, const QByteArray &data);
    void KeyChanged(const QByteArray &msg, const QByteArray &data);

private:
    void startTimer();
    void randomStep();
    void refreshDesktop();
    static void showMomentaryWindow();

    QTimer *m_timer;
    QStringList m_list;
    QString m_programDir;
    int m_position = 0;
    int m_changeTime = -1;
    bool m_randomMode = false;
    bool m_refresh = false;
    bool m_listening = false;
};
