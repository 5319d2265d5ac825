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
#include "zmessagedlg.h"
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
    if (!ScriptEdits::updateAutorun(autorunFile(), m_programDir, on)) {
        // The autorun file was left as it was: the switch and the stored setting keep telling
        // what the phone will do at start-up.
        if (m_autorunBox) {
            const QSignalBlocker quiet(m_autorunBox.data());
            m_autorunBox->setChecked(!on);
        }
        notice(::getText(m_lang.get(), QStringLiteral("AutoRunFailedText"),
                         QStringLiteral("The autorun file could not be changed.")),
               1, 0);
        return;
    }
    notice(getText(on ? QStringLiteral("AutoRunEnabled") : QStringLiteral("AutoRunCanceled")), 0, 500);
    m_settings->writeEntry(kGroup, QStringLiteral("AutoRun"), on);
}

void ZGui::changetimeChanged(int seconds)
{
    if (seconds == m_settings->readNumEntry(kGroup, QStringLiteral("ChangeTime"), -1))
        return;
    ScriptEdits::updateInterval(m_programDir + QStringLiteral("morvessa.lin"), seconds);
    m_settings->writeEntry(kGroup, QStringLiteral("ChangeTime"), seconds);
}

void ZGui::modeActivated(int index)
{
    m_settings->writeEntry(kGroup, QStringLiteral("ChangeMode"), index);
}

void ZGui::randimgclicked()
{
    QStringList wallpapers;
    WallpaperList::readList(m_programDir + QStringLiteral("wallpaper.list"), wallpapers);
    if (wallpapers.size() < 2) {
        notice(getText(QStringLiteral("AddWallpaperText")), 1, 0);
        return;
    }
    if (m_settings->readBoolEntry(kGroup, QStringLiteral("DynamicDesktop"), false)) {
        m_proc.stopRotator();
        m_settings->writeEntry(kGroup, QStringLiteral("DynamicDesktop"), false);
        if (m_rotatorButton) {
            m_rotatorButton->setText(getText(QStringLiteral("RunWallpaperChange")));
            FormRows::fitCaption(m_rotatorButton.data(), 190);
        }
        if (m_settings->readBoolEntry(kGroup, QStringLiteral("Refresh"), false))
            m_proc.startDaemon();
        notice(getText(QStringLiteral("StopWallpaperChange")), 0, 500);
    } else {
        m_proc.stopDaemon();
        m_proc.startRotator();
        m_settings->writeEntry(kGroup, QStringLiteral("DynamicDesktop"), true);
        quitApplication();
    }
}

void ZGui::refresh()
{
    ZMessageDlg *ask = new ZMessageDlg(getText(QStringLiteral("Caution")),
                                       getText(QStringLiteral("RefreshSysTimeText")), ZMessageDlg::Question);
    const bool accepted = ask->exec() == 1;
    delete ask;
    if (!accepted)
        return;
    m_currentGroup = QStringLiteral("SysTime");

    const IdleClock::Item item = IdleClock::readItem(*m_theme);
    const QString dir = SETUP_THEME::getThemeValue(SETUP_THEME::IdleClockDir);
    if (!IdleClock::canHandOver(item, dir)) {
        notice(getText(QStringLiteral("RefreshSysTimeText1")), 1, 500);
        return;
    }
    int width = 0;
    int height = 0;
    IdleClock::measure(item.fontSize, &width, &height);
    const int barHeight = (m_softKey && m_softKey->isVisible()) ? m_softKey->height() : ZSoftKey::BarHeight;
    if (!IdleClock::write(dir + QStringLiteral("/phone_p.ini"), IdleClock::compute(item, width, height, barHeight))) {
        // The phone would restart into its old clock: it is left running and told nothing new.
        notice(::getText(m_lang.get(), QStringLiteral("ClockWriteFailedText"),
                         QStringLiteral("The phone's clock settings could not be written.")),
               1, 500);
        return;
    }

    m_proc.restartPhone();
    notice(getText(QStringLiteral("RefreshSysTimeText2")), 0, 0);
    quitApplication();
}
