// The general tab: language, theme, the theme cycle list, autostart and the daemon's refresh
// switches.

#include "zgui.h"
#include "themefile.h"

#include "formrows.h"
#include "langtext.h"
#include "themefiles.h"
#include "zcheckbox.h"
#include "zcombobox.h"
#include "zconfig.h"
#include "zmultiselectdlg.h"
#include "znavtabwidget.h"
#include "zpressbutton.h"
#include "zscrollpanel.h"

#include <QSignalBlocker>

namespace {
const QString kGroup = QStringLiteral("Quillora");
}

void ZGui::connectCheck(ZCheckBox *box, const char *slot)
{
    connect(box, SIGNAL(toggled(bool)), this, slot);
}

void ZGui::setCheckQuietly(ZCheckBox *box, bool checked)
{
    if (!box)
        return;
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
}

void ZGui::createTab1()
{
    ZScrollPanel *page = newPage();
    page->setObjectName(QStringLiteral("settingsPage"));

    m_languageSelector = new ZComboBox(nullptr, QStringLiteral("languageSelector"));

    FormRows::narrow(m_languageSelector);
    const QStringList languages = ThemeFiles::languageFiles(m_programDir);
    m_languageSelector->addItems(ThemeFiles::displayNames(languages));
    const int lang = ThemeFiles::indexOfFile(languages, m_language);
    m_languageIndex = lang < 0 ? 0 : lang;
    m_languageSelector->setCurrentItem(m_languageIndex);

    m_themeSelector = new ZComboBox(nullptr, QStringLiteral("themeSelector"));

    FormRows::narrow(m_themeSelector);
    const QStringList themes = ThemeFiles::themeFiles(m_programDir);
    m_themeSelector->addItems(ThemeFiles::displayNames(themes));
    const int theme = ThemeFiles::indexOfFile(themes, m_currentTheme);
    if (theme >= 0)
        m_themeIndex = theme;
    m_themeSelector->setCurrentItem(m_themeIndex);

    m_themeListButton = new ZPressButton(icon(QStringLiteral("themelist.png")),
                                         getText(QStringLiteral("SwitchThemeList")));
    m_themeListButton->setObjectName(QStringLiteral("themeListButton"));
    FormRows::fitCaption(m_themeListButton.data(), 190);

    m_autorunBox = new ZCheckBox(icon(QStringLiteral("autorun.png")), getText(QStringLiteral("AutoRun")));
    m_autorunBox->setObjectName(QStringLiteral("autorunBox"));
    FormRows::fitCaption(m_autorunBox.data());
    m_refreshBox = new ZCheckBox(icon(QStringLiteral("refresh.png")), getText(QStringLiteral("EnableRefresh")));
    m_refreshBox->setObjectName(QStringLiteral("refreshBox"));
    FormRows::fitCaption(m_refreshBox.data());
    m_idleRefreshBox = new ZCheckBox(icon(QStringLiteral("idlerefresh.png")),
                                     getText(QStringLiteral("UnIdleRefresh")));
    m_idleRefreshBox->setObjectName(QStringLiteral("idleRefreshBox"));
    FormRows::fitCaption(m_idleRefreshBox.data());

    page->addWidget(FormRows::caption(getText(QStringLiteral("Language"))));
    page->addWidget(m_languageSelector);
    page->addWidget(FormRows::caption(getText(QStringLiteral("Theme"))));
    page->addWidget(m_themeSelector);
    page->addWidget(m_themeListButton);
    page->addWidget(m_autorunBox);
    page->addWidget(m_refreshBox);
    page->addWidget(m_idleRefreshBox);
    addDesktopRows(page);
    page->contents()->layout()->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));

    // Checked from the settings before the signals are connected: building writes nothing.
    m_autorunBox->setChecked(m_settings->readBoolEntry(kGroup, QStringLiteral("AutoRun"), false));
    m_refreshBox->setChecked(m_settings->readBoolEntry(kGroup, QStringLiteral("Refresh"), false));
    m_idleRefreshBox->setChecked(m_settings->readBoolEntry(kGroup, QStringLiteral("UnIdleRefresh"), false));

    connect(m_languageSelector, SIGNAL(activated(int)), this, SLOT(lngActivated(int)));
    connect(m_themeSelector, SIGNAL(activated(int)), this, SLOT(themeActivated(int)));
    connect(m_themeListButton, SIGNAL(clicked()), this, SLOT(swichlistclicked()));
    connectCheck(m_autorunBox, SLOT(autorunToggled(bool)));
    connectCheck(m_refreshBox, SLOT(refreshToggled(bool)));
    connectCheck(m_idleRefreshBox, SLOT(idlerefreshToggled(bool)));

    m_tabWidget->addTab(page, QIcon(icon(QStringLiteral("setting.png"))), QString());
}

void ZGui::lngActivated(int index)
{
    if (!m_languageSelector)
        return;
    // Leaving the working copy (the window is built anew) asks about unsaved edits first; a
    // language that cannot be stored is not taken either. The selector then shows the language
    // still in use.
    const QString language = m_languageSelector->text(index) + QStringLiteral(".lng");
    if (!mayDropEdits() || !writeSetting(QStringLiteral("Language"), language)) {
        m_languageSelector->setCurrentItem(m_languageIndex);
        return;
    }
    m_language = language;
    m_lang = std::make_unique<ZConfig>(m_programDir + QStringLiteral("resource/language/") + m_language);
    initApp();
    CreateControls();
}

void ZGui::themeActivated(int index)
{
    if (!m_themeSelector)
        return;
    const QString theme = m_themeSelector->text(index) + QStringLiteral(".theme");
    if (!writeSetting(ThemeFile::kCurrentTheme, theme)) {
        m_themeSelector->setCurrentItem(qMax(0, ThemeFiles::indexOfFile(ThemeFiles::themeFiles(m_programDir),
                                                                        m_currentTheme)));
        return;
    }
    m_currentTheme = theme;
    m_theme = std::make_unique<ZConfig>(themeFile(m_currentTheme));
    if (m_itemSelector)
        m_itemSelector->setCurrentItem(0);
    optActivated(0);
    followThemeClock();
}

void ZGui::refreshToggled(bool on)
{
    // The daemon reads the switch from the file: it is started or stopped only when the file
    // holds the new value.
    if (!writeSetting(QStringLiteral("Refresh"), on)) {
        setCheckQuietly(m_refreshBox, !on);
        return;
    }
    if (on)
        rundaemon();
    else
        kill();
}

void ZGui::idlerefreshToggled(bool on)
{
    if (!writeSetting(QStringLiteral("UnIdleRefresh"), on)) {
        setCheckQuietly(m_idleRefreshBox, !on);
        return;
    }
    m_proc.stopDaemon();
    m_proc.startDaemon();
}

void ZGui::swichlistclicked()
{
    const QStringList entries = ThemeFiles::cycleEntries(m_programDir);
    const QString noTheme = ::getText(m_lang.get(), QStringLiteral("NoThemeEntry"), QStringLiteral("No theme"));
    ZMultiSelectDlg *dlg = new ZMultiSelectDlg(getText(QStringLiteral("SwitchThemeList")),
                                               ThemeFiles::cycleTexts(entries, noTheme), this);
    const QStringList stored = m_settings->readListEntry(kGroup, ThemeFile::kThemeList, ThemeFile::kThemeListSeparator);
    const QList<bool> checks = ThemeFiles::cycleChecks(entries, stored);
    for (int i = 0; i < checks.size(); ++i)
        dlg->setChecked(i, checks.at(i));
    if (dlg->exec() == 1) {
        QList<bool> checked;
        for (int i = 0; i < entries.size(); ++i)
            checked << dlg->isChecked(i);
        if (writeSetting(ThemeFile::kThemeList, ThemeFiles::checkedEntries(entries, checked))) {
            m_proc.stopDaemon();
            m_proc.startDaemon();
        }
    }
    delete dlg;
}
