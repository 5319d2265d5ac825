#pragma once
// The state of a real desktop session, for the daemon: whether the screen can be seen.
//
// The screen is out of sight while the screen saver is active (org.freedesktop.ScreenSaver or
// org.gnome.ScreenSaver on the session bus: ActiveChanged, GetActive), while logind says the
// session is locked (LockedHint) and while the machine goes to sleep (PrepareForSleep). The
// state is read once at the start and followed from then on; a service the session does not
// offer simply never reports.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class SessionWatch : public QObject
{
    Q_OBJECT
public:
    explicit SessionWatch(QObject *parent = nullptr);

    // True while nothing hides the screen.
    bool isVisible() const { return !m_saverActive && !m_locked && !m_sleeping; }

signals:
    // The screen became visible (unlock, wake, resume) or hidden (lock, blank, sleep).
    void visibilityChanged(bool visible);

private slots:
    void saverChanged(bool active);
    void sleepChanged(bool sleeping);
    void sessionPropertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    void set(bool *flag, bool value);

    bool m_saverActive = false;
    bool m_locked = false;
    bool m_sleeping = false;
    QString m_sessionPath;
};
