// Control of the background programs: desktop refresh, theme daemon, wallpaper rotator, the
// autorun file, the rotator's interval, and the hand-over of the clock to the phone's idle
// screen.

#include "zgui.h"

#include "formrows.h"
#include "idleclock.h"
#include "langtext.h"
#include "scriptedits.h"
#include "setuptheme.h"
#include "wallpaperlist.h"
#include "zcheckbox.h"
#include "zconfig.h"
#include "znumpicker.h"
#include "zcombobox.h"
#include "zpressbutton.h"
#include "zsoftkey.h"

#include <QSignalBlocker>

namespace {
const QString kGroup = QStringLiteral("Quillora");
}

void ZGui::run()
{
    m_proc.refreshDesktop();
    notice(getText(QStringLiteral("RefreshDesktopText")), 0, 500);
}

void ZGui::rundaemon()
{
    m_proc.stopRotator();
    m_proc.stopDaemon();
    m_proc.startDaemon();
    notice(getText(QStringLiteral("RunDeamonText")), 0, 500);
}

void ZGui::kill()
{
    m_proc.stopDaemon();
    notice(getText(QStringLiteral("StopDeamonText")), 0, 500);
}

void ZGui::autorunToggled(bool on)
{
    ScriptEdits::Message failed{};
    if (!ScriptEdits::updateStartup(autorunFile(), m_programDir, on, QStringLiteral("tarnwick"), &failed)) {
        // The autorun file (or autostart entry) was left as it was: the switch and the stored
        // setting keep telling what will happen at start-up.
        setCheckQuietly(m_autorunBox, !on);
        writeFailed(failed.key, failed.english);
        return;
    }
    if (!writeSetting(QStringLiteral("AutoRun"), on)) {
        // The setting keeps its old value: so does the autorun file.
        ScriptEdits::updateStartup(autorunFile(), m_programDir, !on);
        setCheckQuietly(m_autorunBox, !on);
        return;
    }
    notice(getText(on ? QStringLiteral("AutoRunEnabled") : QStringLiteral("AutoRunCanceled")), 0, 500);
}

void ZGui::changetimeChanged(int seconds)
{
    const int stored = m_settings->readNumEntry(kGroup, QStringLiteral("ChangeTime"), -1);
    if (seconds == stored)
        return;
    bool kept = ScriptEdits::updateInterval(m_programDir + QStringLiteral("morvessa.lin"), seconds);
    if (!kept)
        writeFailed("ScriptFailedText", "The rotator's start script could not be changed.");
    else
        kept = writeSetting(QStringLiteral("ChangeTime"), seconds);
    if (!kept && m_intervalPicker) {
        // The picker shows the interval that is stored.
        const QSignalBlocker quiet(m_intervalPicker.data());
        m_intervalPicker->setValue(stored);
    }
}

void ZGui::modeActivated(int index)
{
    if (!writeSetting(QStringLiteral("ChangeMode"), index) && m_modeSelector)
        m_modeSelector->setCurrentItem(qBound(0, m_settings->readNumEntry(kGroup, QStringLiteral("ChangeMode"), 0), 1));
}

void ZGui::randimgclicked()
{
    QStringList wallpapers;
    WallpaperList::readList(WallpaperList::listFile(m_programDir), wallpapers);
    if (wallpapers.size() < 2) {
        notice(getText(QStringLiteral("AddWallpaperText")), 1, 0);
        return;
    }
    // The flag is stored before the programs are switched: when it cannot be, nothing changes.
    if (m_settings->readBoolEntry(kGroup, QStringLiteral("DynamicDesktop"), false)) {
        if (!writeSetting(QStringLiteral("DynamicDesktop"), false))
            return;
        m_proc.stopRotator();
        if (m_rotatorButton) {
            m_rotatorButton->setText(getText(QStringLiteral("RunWallpaperChange")));
            FormRows::fitCaption(m_rotatorButton.data(), 190);
        }
        if (m_settings->readBoolEntry(kGroup, QStringLiteral("Refresh"), false))
            m_proc.startDaemon();
        notice(getText(QStringLiteral("StopWallpaperChange")), 0, 500);
    } else {
        if (!writeSetting(QStringLiteral("DynamicDesktop"), true))
            return;
        m_proc.stopDaemon();
        m_proc.startRotator();
        quitApplication();
    }
}

void ZGui::refresh()
{
    if (!confirm(getText(QStringLiteral("Caution")), getText(QStringLiteral("RefreshSysTimeText"))))
        return;
    m_currentGroup = QStringLiteral("SysTime");

    const IdleClock::Outcome done = IdleClock::handOver(IdleClock::readItem(*m_theme), phoneClockDir(), softKeyHeight());
    if (done == IdleClock::Outcome::Refused) {
        notice(getText(QStringLiteral("RefreshSysTimeText1")), 1, 500);
        return;
    }
    if (done == IdleClock::Outcome::Failed) {
        // The phone would restart into its old clock: it is left running and told nothing new.
        clockWriteFailed();
        return;
    }
    // From now on every change of the current theme hands its clock over as well.
    writeSetting(QLatin1String(IdleClock::FollowKey), true);

    m_proc.restartPhone();
    notice(getText(QStringLiteral("RefreshSysTimeText2")), 0, 0);
    quitApplication();
}

QString ZGui::phoneClockDir()
{
    return SETUP_THEME::getThemeValue(SETUP_THEME::IdleClockDir);
}

int ZGui::softKeyHeight() const
{
    return (m_softKey && m_softKey->isVisible()) ? m_softKey->height() : ZSoftKey::BarHeight;
}

void ZGui::clockWriteFailed()
{
    writeFailed("ClockWriteFailedText", "The phone's clock settings could not be written.", 500);
}

void ZGui::followThemeClock()
{
    switch (IdleClock::followTheme(*m_settings, themeFile(m_currentTheme), phoneClockDir(), softKeyHeight())) {
    case IdleClock::Outcome::Written:
        // The desktop drawn for the old theme may show a clock of its own, or none where the
        // phone's clock no longer stands: it is drawn again with the phone's new clock.
        m_proc.refreshDesktop();
        m_proc.restartPhone();
        break;
    case IdleClock::Outcome::Failed:
        clockWriteFailed();
        break;
    default:
        break;
    }
}
