#pragma once
// The background mode of fetchweather: keeps the weather file current without the user. Once a
// minute it updates the file when the coordinates are set and the file is older than the update
// interval or holds the forecast of other coordinates, or when the last attempt failed (the next
// minute is the next opportunity). With no place chosen it waits quietly.

#include <QObject>

class QTimer;

namespace Weather {

class Update;

class UpdateLoop : public QObject
{
    Q_OBJECT
public:
    explicit UpdateLoop(QObject *parent = nullptr);

    // Checks at once, then every periodMs.
    void start(int periodMs = 60 * 1000);

signals:
    // After every attempt, with the outcome of Update::finished.
    void attempted(bool ok, const QString &message);
    // When the settings name a place the loop cannot use (coordinates out of range, a URL that
    // is not an http one), once for each new reason; it is also written to standard error.
    void settingsRefused(const QString &message);
    // After every check, whatever it found.
    void checked();

private slots:
    void check();
    void updateFinished(bool ok, const QString &message);

private:
    // Starts an update when the settings name a usable place and the file is due for one.
    void checkSettings();

    QTimer *m_timer;
    Update *m_update = nullptr;
    bool m_lastFailed = false;
    QString m_refused; // the reason last said for unusable settings
};

} // namespace Weather
