#pragma once
// The background mode of fetchweather: keeps the weather file current without the user. Once a
// minute it updates the file when the coordinates are set and the file is older than the update
// interval or holds the forecast of other coordinates, or when the last attempt failed (the next
// minute is the next opportunity).

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

private slots:
    void check();
    void updateFinished(bool ok, const QString &message);

private:
    QTimer *m_timer;
    Update *m_update = nullptr;
    bool m_lastFailed = false;
};

} // namespace Weather
