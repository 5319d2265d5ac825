// The General tab's rows of the real desktop: where the picture goes besides the phone, at
// which scale and where on the screen (group "Desktop" of settings.ini).

#include "zgui.h"

#include "configsnapshot.h"
#include "desktopconfig.h"
#include "formrows.h"
#include "settingsfile.h"
#include "zcombobox.h"
#include "zconfig.h"
#include "zscrollpanel.h"

namespace {

constexpr int kScales = 4; // the scales offered besides the automatic one

// The language keys of the anchors, in the order of Desktop::Anchor.
const char *const kAnchorKeys[] = {"DesktopCenter", "DesktopLeft", "DesktopRight", "DesktopTopLeft",
                                   "DesktopTopRight", "DesktopBottomLeft", "DesktopBottomRight"};

ZComboBox *selector(const char *name)
{
    auto *combo = new ZComboBox(nullptr, QLatin1String(name));
    FormRows::narrow(combo);
    return combo;
}

} // namespace

void ZGui::addDesktopRows(ZScrollPanel *page)
{
    const Desktop::Config config = Desktop::readConfig(SettingsFile::snapshot(m_programDir));
    const Desktop::Detection found = Desktop::detect(Desktop::currentSession());

    // In the order of Desktop::Target; the desktops are named as they name themselves.
    m_desktopTarget = selector("desktopTargetSelector");
    m_desktopTarget->addItems({getText(QStringLiteral("DesktopPhone")),
                               getText(QStringLiteral("DesktopAuto"))
                                   .arg(found.target == Desktop::Target::Phone ? getText(QStringLiteral("DesktopNone"))
                                                                               : found.session),
                               QStringLiteral("GNOME"), QStringLiteral("Plasma"), QStringLiteral("X11"),
                               QStringLiteral("sway"), getText(QStringLiteral("DesktopCommand"))});
    m_desktopTarget->setCurrentItem(int(config.target));

    m_desktopScale = selector("desktopScaleSelector");
    m_desktopScale->addItem(getText(QStringLiteral("DesktopScaleAuto")));
    for (int k = 1; k <= kScales; ++k)
        m_desktopScale->addItem(QStringLiteral("%1×").arg(k));
    m_desktopScale->setCurrentItem(config.scale <= kScales ? config.scale : 0);

    m_desktopAnchor = selector("desktopAnchorSelector");
    for (const char *key : kAnchorKeys)
        m_desktopAnchor->addItem(getText(QLatin1String(key)));
    m_desktopAnchor->setCurrentItem(int(config.anchor));

    page->addWidget(FormRows::caption(getText(QStringLiteral("DesktopTarget"))));
    page->addWidget(m_desktopTarget);
    page->addWidget(FormRows::caption(getText(QStringLiteral("DesktopScale"))));
    page->addWidget(m_desktopScale);
    page->addWidget(FormRows::caption(getText(QStringLiteral("DesktopAnchor"))));
    page->addWidget(m_desktopAnchor);
    for (ZComboBox *combo : {m_desktopTarget.data(), m_desktopScale.data(), m_desktopAnchor.data()})
        connect(combo, SIGNAL(activated(int)), this, SLOT(desktopChosen(int)));
}

void ZGui::desktopChosen(int)
{
    if (!m_desktopTarget || !m_desktopScale || !m_desktopAnchor)
        return;
    const bool stored =
        m_settings->writeEntry(Desktop::kGroup, Desktop::kTargetKey, Desktop::targetName(Desktop::Target(m_desktopTarget->currentItem())))
        && m_settings->writeEntry(Desktop::kGroup, Desktop::kScaleKey, m_desktopScale->currentItem())
        && m_settings->writeEntry(Desktop::kGroup, Desktop::kAnchorKey, Desktop::anchorName(Desktop::Anchor(m_desktopAnchor->currentItem())));
    if (!stored) {
        m_settings->reload();
        writeFailed("SettingsFailedText", "The settings could not be saved.");
        return;
    }
    // The desktop follows at once: a new picture where it now goes, or the user's own wallpaper
    // back when the phone alone shows it.
    m_proc.refreshDesktop();
}
