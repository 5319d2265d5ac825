#include "daemon.h"

#include "desktoppicture.h"
#include "desktoprefresh.h"
#include "configsnapshot.h"
#include "desktopconfig.h"
#include "themefile.h"
#include "device.h"
#include "idleclock.h"
#include "idlefocus.h"
#include "processcontrol.h"
#include "settingsfile.h"
#include "sessionwatch.h"
#include "setuptheme.h"
#include "qcopchannel.h"
#include "zconfig.h"
#include "zmyapp.h"
#include "zsoftkey.h"

#include <QTimer>
#include <cstdio>

#include <unistd.h>

namespace {

const QString kGroup = QStringLiteral("Quillora");
const int kTickMs = 500;
// The coming minute is drawn ahead at the check that falls this close before it: one check
// of every 500 ms lands between 400 and 900 ms ahead, time enough for "show".
const qint64 kAheadMs = 900;
// With "Refresh" off the daemon draws once and stays, doing nothing, for this many seconds
// before it ends.
const unsigned kPauseSeconds = 2000;

// The local time. Every local time Qt gives looks at the system's time zone file anew; the
// checks ask twice a second, so the zone's offset is taken once a minute (a zone's offset changes
// only at a minute's start) and the time is given with it.
QDateTime localNow()
{
    static qint64 knownMinute = -1;
    static int offset = 0;
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    const qint64 minute = ms / 60000;
    if (minute != knownMinute) {
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms);
        knownMinute = minute;
        offset = local.offsetFromUtc();
        return local;
    }
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, offset);
}

qint64 minuteCount(const QDateTime &t)
{
    const QTime time = t.time();
    return t.date().toJulianDay() * 1440 + time.hour() * 60 + time.minute();
}

} // namespace

Daemon::Daemon()
    : m_timer(new QTimer)
    , m_commitTimer(new QTimer)
    , m_clock(&localNow)
{
    connect(m_timer, &QTimer::timeout, this, &Daemon::updateTheme);
    m_commitTimer->setSingleShot(true);
    m_commitTimer->setTimerType(Qt::PreciseTimer);
    connect(m_commitTimer, &QTimer::timeout, this, &Daemon::commitWaiting);

    auto *system = new QCopChannel("EZX/System", this);
    connect(system, &QCopChannel::received, this, &Daemon::LCDChanged);
    auto *keys = new QCopChannel("/hardkey/bc", this);
    connect(keys, &QCopChannel::received, this, &Daemon::KeyChanged);
    // Deaf, the daemon would run without display or key events: it says so and does nothing.
    m_listening = QCopChannel::checkListening({system, keys});
    if (!m_listening)
        return;

    m_programDir = getProgramDir();
    m_config = SettingsFile::open(m_programDir).release();

    m_unIdleRefresh = m_config->readBoolEntry(kGroup, QStringLiteral("UnIdleRefresh"), false);
    if (!m_config->readBoolEntry(kGroup, QStringLiteral("Refresh"), false)) {
        redraw();
        ::sleep(kPauseSeconds);
        ZMyApp::quit();
    }

    m_themeList = m_config->readListEntry(kGroup, ThemeFile::kThemeList, ThemeFile::kThemeListSeparator);
    const QString current = m_config->readEntry(kGroup, ThemeFile::kCurrentTheme, QString());
    if (m_themeList.isEmpty())
        m_themeList.append(current);
    m_themeIndex = qMax(0, m_themeList.indexOf(current));

    // On a real desktop the session's lock and blank state stands for the display.
    if (Desktop::readConfig(SettingsFile::snapshot(m_programDir)).target != Desktop::Target::Phone) {
        m_session = new SessionWatch(this);
        connect(m_session, &SessionWatch::visibilityChanged, this, &Daemon::SessionChanged);
        if (!m_session->isVisible())
            SessionChanged(false);
    }
}

Daemon::~Daemon()
{
    delete m_timer;
    delete m_commitTimer;
    delete m_config;
}

void Daemon::Start()
{
    // A session that starts locked ticks from its unlock on.
    if (!m_session || m_session->isVisible())
        m_timer->start(kTickMs);
}

QString Daemon::getProgramDir() const
{
    return Platform::programDir();
}

void Daemon::redraw()
{
    dropWaiting();
    // The result is not looked at: a missing "show" only means the desktop stays as it is, and
    // one that hangs is ended at its time limit.
    Platform::runShow(m_programDir);
}

void Daemon::updateTheme()
{
    if (UTIL_GetIdleFocus() == 0 && !m_unIdleRefresh) {
        dropWaiting();
        return;
    }
    const QDateTime now = m_clock();
    m_currentMinute = minuteCount(now);
    if (m_currentMinute != m_lastMinute) {
        if (m_waitingMinute == m_currentMinute)
            commitWaiting();
        if (m_currentMinute != m_lastMinute) {
            redraw();
            m_lastMinute = m_currentMinute;
        }
    }
    prepareComing(now);
}

void Daemon::prepareComing(const QDateTime &now)
{
    // A real desktop takes its picture at the minute itself (show refuses to draw it ahead), so
    // only the phone's picture is drawn ahead.
    if (m_session)
        return;
    // Most checks are far from the minute's end: told by the local time's seconds alone, with
    // no further conversion between local time and the clock (each one asks the time zone).
    const QTime time = now.time();
    if (60000 - (time.second() * 1000 + time.msec()) > kAheadMs)
        return;
    const QDateTime start = QDateTime(now.date(), QTime(time.hour(), time.minute())).addSecs(60);
    const qint64 coming = minuteCount(start);
    if (m_waitingMinute == coming || now.msecsTo(start) > kAheadMs || coming != m_currentMinute + 1)
        return;
    dropWaiting();
    if (!Platform::prepareShow(m_programDir, start))
        return;
    m_waitingMinute = coming;
    m_waitingStart = start;
    m_desktopStamp = DesktopPicture::stamp();
    m_commitTimer->start(int(qBound<qint64>(0, m_clock().msecsTo(start), kAheadMs)));
}

void Daemon::commitWaiting()
{
    if (m_waitingMinute < 0)
        return;
    const QDateTime now = m_clock();
    const qint64 early = now.msecsTo(m_waitingStart);
    if (early > 0 && early <= kAheadMs) {
        m_commitTimer->start(int(early));
        return;
    }
    // The clock jumped, another window came in front or another program drew the desktop
    // since: the waiting picture would be wrong.
    const bool valid = minuteCount(now) == m_waitingMinute && (UTIL_GetIdleFocus() != 0 || m_unIdleRefresh)
        && DesktopPicture::stamp() == m_desktopStamp;
    if (valid && DesktopPicture::commitWaiting()) {
        m_lastMinute = m_waitingMinute;
        m_waitingMinute = -1;
    } else {
        dropWaiting();
    }
}

void Daemon::dropWaiting()
{
    m_commitTimer->stop();
    if (m_waitingMinute < 0)
        return;
    m_waitingMinute = -1;
    DesktopPicture::discardWaiting();
}

void Daemon::LCDChanged(const QByteArray &msg, const QByteArray &)
{
    if (msg == "LCDOn") {
        updateTheme();
        m_timer->start(kTickMs);
    } else if (msg == "LCDOff") {
        m_timer->stop();
        dropWaiting();
    }
}

void Daemon::SessionChanged(bool visible)
{
    Platform::setIdleFocus(visible);
    if (visible)
        m_lastMinute = -1; // the minute shown may be long gone
    LCDChanged(visible ? QByteArrayLiteral("LCDOn") : QByteArrayLiteral("LCDOff"), QByteArray());
}

void Daemon::KeyChanged(const QByteArray &msg, const QByteArray &data)
{
    qint32 code = 0;
    qint32 state = 0;
    if (!decodeKeyMsg(msg, data, &code, &state))
        return;
    if (UTIL_GetIdleFocus() == 0)
        return;

    if (code != NextThemeKey && code != PreviousThemeKey)
        return;
    if (state == KeyCancelled) {
        m_armed = false;
        return;
    }
    if (state == KeyPressed) {
        m_armed = true;
        return;
    }
    if (state != KeyReleased || !m_armed)
        return;

    const int count = int(m_themeList.size());
    m_themeIndex = code == NextThemeKey ? (m_themeIndex + 1) % count
                                        : (m_themeIndex + count - 1) % count;
    const QString theme = m_themeList.at(m_themeIndex);
    m_config->writeEntry(kGroup, ThemeFile::kCurrentTheme, theme);
    followThemeClock(theme);
    redraw();
    m_armed = false;
}

void Daemon::followThemeClock(const QString &theme)
{
    // Once the user handed the clock over, the phone's clock moves with every theme; the phone
    // rereads its clock settings when restarted.
    const IdleClock::Outcome done = IdleClock::followTheme(
        *m_config, ThemeFile::path(m_programDir, theme),
        SETUP_THEME::getThemeValue(SETUP_THEME::IdleClockDir), ZSoftKey::BarHeight);
    if (done == IdleClock::Outcome::Written)
        ProcessControl(m_programDir).restartPhone();
    else if (done == IdleClock::Outcome::Failed)
        std::fprintf(stderr, "tarnwick: the phone's clock settings could not be written\n");
}
