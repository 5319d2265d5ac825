#include "sessionwatch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

namespace {

// A service that is missing or stuck must not hold up the daemon's start.
constexpr int kCallTimeoutMs = 1000;

const QString kLogin = QStringLiteral("org.freedesktop.login1");
const QString kLoginPath = QStringLiteral("/org/freedesktop/login1");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

struct Saver
{
    QString service;
    QString path;
};

const Saver kSavers[] = {
    {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver")},
    {QStringLiteral("org.gnome.ScreenSaver"), QStringLiteral("/org/gnome/ScreenSaver")},
};

QDBusMessage call(const QDBusConnection &bus, const QString &service, const QString &path, const QString &interface,
                  const QString &method, const QVariantList &args = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(args);
    return bus.call(message, QDBus::Block, kCallTimeoutMs);
}

} // namespace

SessionWatch::SessionWatch(QObject *parent)
    : QObject(parent)
{
    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected()) {
        for (const Saver &saver : kSavers) {
            session.connect(saver.service, saver.path, saver.service, QStringLiteral("ActiveChanged"), this,
                            SLOT(saverChanged(bool)));
            const QDBusMessage reply = call(session, saver.service, saver.path, saver.service, QStringLiteral("GetActive"));
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                m_saverActive = m_saverActive || reply.arguments().first().toBool();
        }
    }

    QDBusConnection system = QDBusConnection::systemBus();
    if (!system.isConnected())
        return;
    system.connect(kLogin, kLoginPath, kLogin + QStringLiteral(".Manager"), QStringLiteral("PrepareForSleep"), this,
                   SLOT(sleepChanged(bool)));
    // The session of this process; its signals come from its own path, not from "auto".
    const QDBusReply<QDBusObjectPath> sessionPath =
        call(system, kLogin, kLoginPath, kLogin + QStringLiteral(".Manager"), QStringLiteral("GetSession"), {QStringLiteral("auto")});
    if (!sessionPath.isValid())
        return;
    m_sessionPath = sessionPath.value().path();
    system.connect(kLogin, m_sessionPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                   SLOT(sessionPropertiesChanged(QString, QVariantMap, QStringList)));
    const QDBusReply<QDBusVariant> locked = call(system, kLogin, m_sessionPath, kProperties, QStringLiteral("Get"),
                                                 {kLogin + QStringLiteral(".Session"), QStringLiteral("LockedHint")});
    if (locked.isValid())
        m_locked = locked.value().variant().toBool();
}

void SessionWatch::set(bool *flag, bool value)
{
    const bool before = isVisible();
    *flag = value;
    if (isVisible() != before)
        emit visibilityChanged(isVisible());
}

void SessionWatch::saverChanged(bool active) { set(&m_saverActive, active); }

void SessionWatch::sleepChanged(bool sleeping) { set(&m_sleeping, sleeping); }

void SessionWatch::sessionPropertiesChanged(const QString &, const QVariantMap &changed, const QStringList &)
{
    const auto locked = changed.constFind(QStringLiteral("LockedHint"));
    if (locked != changed.constEnd())
        set(&m_locked, locked->toBool());
}
