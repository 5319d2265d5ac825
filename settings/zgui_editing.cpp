// Theme editing on the working copy, preview, and the link that publishes the theme folder.

#include "zgui.h"

#include "device.h"
#include "langtext.h"
#include "preview.h"
#include "themefiles.h"
#include "zcombobox.h"
#include "zconfig.h"
#include "znavtabwidget.h"
#include "zoptionsmenu.h"
#include "zsinglecapturedlg.h"
#include "zslider.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kGroup = QStringLiteral("Quillora");
}

void ZGui::edittheme()
{
    m_tabWidget->setTabEnabled(TabItems, true);
    m_tabWidget->setCurrentPage(TabItems);
    // Only a plain file name of theme/ is copied; a name that would reach outside it (a "/"
    // in the stored name) leaves no working copy.
    if (ThemeFiles::isSafeThemeFileName(m_currentTheme)) {
        QDir().mkpath(QFileInfo(workingCopy()).absolutePath());
        ProcessControl::run(QStringLiteral("cp ") + Platform::shellQuote(themeFile(m_currentTheme)) + QLatin1Char(' ')
                            + Platform::shellQuote(workingCopy()));
    }
    m_theme = std::make_unique<ZConfig>(workingCopy());
    if (m_themeSelector)
        m_themeSelector->setEnabled(false);
}

void ZGui::savetheme()
{
    if (!workingCopyExists() || !ThemeFiles::isSafeThemeFileName(m_currentTheme))
        return;
    ProcessControl::run(QStringLiteral("cp -f ") + Platform::shellQuote(workingCopy()) + QLatin1Char(' ')
                        + Platform::shellQuote(themeFile(m_currentTheme)));
}

void ZGui::saveastheme()
{
    if (!workingCopyExists()) {
        notice(getText(QStringLiteral("SaveAsText")), 1, 0);
        return;
    }
    ZSingleCaptureDlg *dlg = new ZSingleCaptureDlg(getText(QStringLiteral("SaveAs")),
                                                   getText(QStringLiteral("FileName")), this,
                                                   QStringLiteral("ZSingleCaptureDlg"));
    while (dlg->exec() == 1) {
        const QString name = dlg->text();
        if (!ThemeFiles::isValidSaveAsName(name)) {
            // An empty name, one that would leave theme/ or one the cycle list cannot hold is
            // refused; the dialog asks again.
            notice(::getText(m_lang.get(), QStringLiteral("ThemeNameText"),
                             QStringLiteral("A theme name must not be empty or contain \"/\" or \";\".")),
                   1, 0);
            continue;
        }
        if (QFile::exists(themeFile(name + QStringLiteral(".theme")))) {
            notice(getText(QStringLiteral("ThemeExistText")), 1, 0);
            continue;
        }
        m_currentTheme = name + QStringLiteral(".theme");
        dlg->hide();
        ProcessControl::run(QStringLiteral("cp -f ") + Platform::shellQuote(workingCopy()) + QLatin1Char(' ')
                            + Platform::shellQuote(themeFile(m_currentTheme)));
        if (m_themeSelector) {
            // Shown like the names the selector lists: up to the last ".", so that choosing
            // the entry later opens this very file.
            m_themeSelector->addItem(ThemeFiles::displayName(m_currentTheme));
            m_themeSelector->setCurrentItem(m_themeSelector->count() - 1);
        }
        break;
    }
    delete dlg;
}

void ZGui::endedit()
{
    ProcessControl::run(QStringLiteral("rm -f ") + Platform::shellQuote(workingCopy()));
    if (m_themeSelector)
        m_themeSelector->setEnabled(true);
    m_tabWidget->setTabEnabled(TabItems, false);
    const int current = m_tabWidget->currentPageIndex();
    m_tabWidget->setCurrentPage(current == TabWeather ? TabSettings : current);
}

void ZGui::preview()
{
    m_settings = std::make_unique<ZConfig>(m_programDir + QStringLiteral("settings.ini"));
    for (ZSlider *s : {m_redSlider.data(), m_greenSlider.data(), m_blueSlider.data()}) {
        if (s)
            s->clearSelection();
    }
    PreView *dlg = new PreView();
    if (dlg->exec() == 1)
        savetheme();
    delete dlg;
}

void ZGui::link()
{
    const QPixmap pix = icon(QStringLiteral("link.png"));
    const QString pad = QStringLiteral("  ");
    const QString dir = linkDir();
    if (m_linked) {
        ProcessControl::run(QStringLiteral("rm ") + Platform::shellQuote(dir + QStringLiteral("/theme")));
        m_menu->changeItem(MenuLink, pad + getText(QStringLiteral("LInkThemePath")), pix);
        notice(getText(QStringLiteral("RemoveThemePathText")), 0, 500);
    } else {
        if (!QFileInfo(dir).isDir())
            QDir().mkpath(dir);
        // The link names the theme folder by its absolute path, so it resolves from the link's
        // own folder whatever the working directory was.
        const QString target = QFileInfo(m_programDir + QStringLiteral("theme")).absoluteFilePath();
        ProcessControl::run(QStringLiteral("ln -s ") + Platform::shellQuote(target) + QLatin1Char(' ')
                            + Platform::shellQuote(dir));
        m_menu->changeItem(MenuLink, pad + getText(QStringLiteral("RemoveThemePath")), pix);
        notice(getText(QStringLiteral("LInkThemePathText")), 0, 0);
    }
    m_linked = !m_linked;
    m_settings->writeEntry(kGroup, QStringLiteral("Linked"), m_linked);
}
