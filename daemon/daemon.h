#pragma once
// The theme daemon: keeps the phone's desktop current.
//
// While the idle screen is in front it has the desktop redrawn as soon as the minute changes,
// redraws when the display is switched on, and steps through the list of themes with the two
// theme keys. It never draws itself: every redraw is a run of the program "show" of the program
// directory, which the daemon waits for, up to a time limit.

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QStringList>

#include <functional>

class QTimer;
class SessionWatch;
class ZConfig;

class Daemon : public QObject
{
    Q_OBJECT
public:
    // Key codes and key states of the theme keys on the channel "/hardkey/bc".
    enum { NextThemeKey = 4171, PreviousThemeKey = 4172 };
    enum { KeyPressed = 1, KeyReleased = 2, KeyCancelled = 0x10000001 };

    // Reads the settings once. With "Refresh" off it has the desktop drawn once, pauses 2000
    // seconds and asks the application to quit.
    Daemon();
    ~Daemon() override;

    // False when the daemon cannot listen on its channels (it then said so on standard error
    // and read no settings); the program ends with a failure.
    bool isListening() const { return m_listening; }

    // Starts the tick: every 500 ms, repeating.
    void Start();
    QString getProgramDir() const;

    // The clock the minute check reads; the system clock unless replaced.
    using Clock = std::function<QDateTime()>;
    void setClock(Clock clock) { m_clock = std::move(clock); }

private slots:
    void updateTheme();
    // Puts the waiting picture in place once its minute has begun (again later when early).
    void commitWaiting();
    void LCDChanged(const QByteArray &msg, const QByteArray &data);
    void KeyChanged(const QByteArray &msg, const QByteArray &data);
    // On a real desktop: the screen hidden (locked, blanked, asleep) counts as the display
    // switched off with the idle screen not in front; visible again, as the display switched on,
    // with a redraw at once.
    void SessionChanged(bool visible);

private:
    void redraw();
    // Has the coming minute drawn ahead when it begins within the next check.
    void prepareComing(const QDateTime &now);
    void dropWaiting();
    // Hands the new theme's clock over to the phone when the clock follows the theme.
    void followThemeClock(const QString &theme);

    QTimer *m_timer;
    QTimer *m_commitTimer;
    // The minute of the waiting picture (a running count as m_lastMinute), -1 when none; its
    // start; and the desktop picture's stamp when it was drawn, to see a redraw by another.
    qint64 m_waitingMinute = -1;
    QDateTime m_waitingStart;
    QByteArray m_desktopStamp;
    int m_themeIndex = 0;
    // Minute of the latest redraw as a running count of minutes (date and time together),
    // -1 before the first one; the minute of the hour alone would take a redraw exactly whole
    // hours later for no change.
    qint64 m_lastMinute = -1;
    qint64 m_currentMinute = -1;
    bool m_armed = false;
    bool m_unIdleRefresh = false;
    QString m_programDir;
    QStringList m_themeList;
    ZConfig *m_config = nullptr;
    Clock m_clock;
    bool m_listening = false;
    SessionWatch *m_session = nullptr;
};
