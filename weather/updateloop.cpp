#include "updateloop.h"

#include "device.h"
#include "weatherupdate.h"
#include "settingsfile.h"
#include "zconfig.h"

#include <QTimer>
#include <cstdio>

namespace Weather {

UpdateLoop::UpdateLoop(QObject *parent) : QObject(parent), m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &UpdateLoop::check);
}

void UpdateLoop::start(int periodMs)
{
    m_timer->start(periodMs);
    check();
}

void UpdateLoop::check()
{
    if (!m_update)
        checkSettings();
    emit checked();
}

void UpdateLoop::checkSettings()
{
    const auto settings = SettingsFile::open(Platform::programDir());
    Request request;
    QString error;
    if (!readRequest(*settings, &request, &error)) {
        // No place chosen yet is nothing to keep current. A place that is set but cannot be
        // used is said once, until the reason changes or the settings are mended.
        const QString refused = placeChosen(*settings) ? error : QString();
        if (!refused.isEmpty() && refused != m_refused) {
            std::fprintf(stderr, "fetchweather: %s\n", qPrintable(refused));
            emit settingsRefused(refused);
        }
        m_refused = refused;
        return;
    }
    m_refused.clear();
    // A new place chosen in the settings makes the file stale at once.
    if (!m_lastFailed && weatherFileIsFor(request)
        && !updateDue(weatherFileTime(), QDateTime::currentDateTime(), updateInterval(*settings)))
        return;
    m_update = new Update(this);
    connect(m_update, &Update::finished, this, &UpdateLoop::updateFinished);
    m_update->start();
}

void UpdateLoop::updateFinished(bool ok, const QString &message)
{
    m_lastFailed = !ok;
    if (!ok)
        std::fprintf(stderr, "%s\n", qPrintable(message));
    m_update->deleteLater();
    m_update = nullptr;
    emit attempted(ok, message);
}

} // namespace Weather
