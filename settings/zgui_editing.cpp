// Theme editing on the working copy, preview, and the link that publishes the theme folder.

#include "zgui.h"

#include "device.h"
#include "themefile.h"
#include "langtext.h"
#include "preview.h"
#include "settingsfile.h"
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

bool ZGui::copyTheme(const QString &from, const QString &to)
{
    // A folder in the target's place would take the copy inside it: refused instead.
    if (QFileInfo(to).isDir())
        return false;
    QDir().mkpath(QFileInfo(to).absolutePath());
    if (!ProcessControl::run(QStringLiteral("cp -f ") + Platform::shellQuote(from) + QLatin1Char(' ')
                             + Platform::shellQuote(to)))
        return false;
    QFile a(from);
    QFile b(to);
    return a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && a.readAll() == b.readAll();
}

void ZGui::edittheme()
{
    // Starting again copies the theme over the working copy: unsaved edits are asked about.
    if (!mayDropEdits())
        return;
    dropWorkingCopy();
    // Only a plain file name of theme/ is copied; a name that would reach outside it (a "/"
    // in the stored name) leaves no working copy.
    const QString source = themeFile(m_currentTheme);
    if (ThemeFile::isName(m_currentTheme) && QFileInfo(source).isFile()
        && !copyTheme(source, workingCopy())) {
        // Editing needs its working copy; without one nothing would be kept.
        writeFailed("EditFailedText", "The theme could not be copied for editing.");
        return;
    }
    m_tabWidget->setTabEnabled(TabItems, true);
    m_tabWidget->setCurrentPage(TabItems);
    m_theme = std::make_unique<ZConfig>(workingCopy());
    m_unsavedEdits = false;
    if (m_themeSelector)
        m_themeSelector->setEnabled(false);
    // The editor shows the working copy's values of the item it shows.
    if (m_itemSelector)
        optActivated(m_itemSelector->currentItem());
}

void ZGui::savetheme()
{
    if (!workingCopyExists()) {
        notice(::getText(m_lang.get(), QStringLiteral("SaveText"),
                         QStringLiteral("Start editing a theme before saving it")),
               1, 0);
        return;
    }
    // A stored name reaching out of theme/ is never written over: the save fails and says so.
    if (!ThemeFile::isName(m_currentTheme) || !copyTheme(workingCopy(), themeFile(m_currentTheme))) {
        writeFailed("ThemeSaveFailedText", "The theme could not be saved.");
        return;
    }
    m_unsavedEdits = false;
    notice(::getText(m_lang.get(), QStringLiteral("ThemeSavedText"), QStringLiteral("The theme is saved.")), 0, 500);
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
        const QString fileName = name + QStringLiteral(".theme");
        if (QFileInfo::exists(themeFile(fileName))) {
            notice(getText(QStringLiteral("ThemeExistText")), 1, 0);
            continue;
        }
        dlg->hide();
        if (!copyTheme(workingCopy(), themeFile(fileName))) {
            // No new theme: the selector and the theme saved to stay as they were.
            QFile::remove(themeFile(fileName));
            writeFailed("ThemeSaveFailedText", "The theme could not be saved.");
            break;
        }
        m_currentTheme = fileName;
        m_unsavedEdits = false;
        if (m_themeSelector) {
            // Shown like the names the selector lists: up to the last ".", so that choosing
            // the entry later opens this very file.
            m_themeSelector->addItem(ThemeFiles::displayName(m_currentTheme));
            m_themeSelector->setCurrentItem(m_themeSelector->count() - 1);
        }
        notice(::getText(m_lang.get(), QStringLiteral("ThemeSavedAsText"),
                         QStringLiteral("The theme is saved as \"%1\"."))
                   .arg(ThemeFiles::displayName(m_currentTheme)),
               0, 500);
        break;
    }
    delete dlg;
}

void ZGui::endedit()
{
    if (!mayDropEdits())
        return;
    dropWorkingCopy();
    if (m_themeSelector)
        m_themeSelector->setEnabled(true);
    m_tabWidget->setTabEnabled(TabItems, false);
    const int current = m_tabWidget->currentPageIndex();
    m_tabWidget->setCurrentPage(current == TabWeather ? TabSettings : current);
}

void ZGui::preview()
{
    m_settings = SettingsFile::open(m_programDir);
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
    // The new state is stored first: when it cannot be, the link stays as it is.
    if (!writeSetting(QStringLiteral("Linked"), !m_linked))
        return;
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
}
