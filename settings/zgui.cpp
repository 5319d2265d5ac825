#include "zgui.h"

#include "device.h"
#include "themefile.h"
#include "langtext.h"
#include "settingsfile.h"
#include "themefiles.h"
#include "zaboutdialog.h"
#include "zappinfoarea.h"
#include "zapplication.h"
#include "zconfig.h"
#include "zkeys.h"
#include "znavtabwidget.h"
#include "znoticedlg.h"
#include "zoptionsmenu.h"
#include "zscrollpanel.h"
#include "zsoftkey.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>

namespace {
const QString kGroup = QStringLiteral("Quillora");
}

ZGui::ZGui(QWidget *parent)
    : MyBaseDlg()
    , m_proc(QString())
{
    Q_UNUSED(parent); // the main window is a top-level window of its own
    initApp();
    CreateControls();
    if (app)
        app->showMainWidget(this);
    else
        show();
}

ZGui::~ZGui() = default;

QString ZGui::workingCopy()
{
    return ThemeFile::workingCopy();
}

QString ZGui::linkDir()
{
    return Platform::phonePath(QStringLiteral("/ezxlocal/download/mystuff/QuilloraLink"));
}

QString ZGui::autorunFile()
{
    return Platform::phonePath(QStringLiteral("/ezxlocal/autorun.txt"));
}

QString ZGui::getText(const QString &key) const
{
    return ::getText(m_lang.get(), key);
}

QString ZGui::themeFile(const QString &name) const
{
    return ThemeFile::path(m_programDir, name);
}

bool ZGui::workingCopyExists() const
{
    return QFile::exists(workingCopy());
}

QPixmap ZGui::icon(const QString &name)
{
    m_icon.load(m_programDir + QStringLiteral("resource/icons/") + name);
    return m_icon;
}

void ZGui::notice(const QString &text, int type, int timeValue)
{
    ZNoticeDlg::inform(type, timeValue, text, this);
}

void ZGui::quitApplication()
{
    if (app)
        app->quit();
}

void ZGui::exitClicked()
{
    if (!mayDropEdits())
        return;
    dropWorkingCopy();
    quitApplication();
}

void ZGui::reject()
{
    if (!mayDropEdits())
        return;
    dropWorkingCopy();
    MyBaseDlg::reject();
}

void ZGui::dropWorkingCopy()
{
    m_unsavedEdits = false;
    if (!workingCopyExists())
        return;
    QFile::remove(workingCopy());
    // The desktop drew the working copy: it shows the current theme again at once.
    m_proc.refreshDesktop();
}

bool ZGui::mayDropEdits()
{
    if (!m_unsavedEdits || !workingCopyExists())
        return true;
    const bool drop = confirm(getText(QStringLiteral("Caution")),
                              ::getText(m_lang.get(), QStringLiteral("UnsavedEditsText"),
                                        QStringLiteral("The theme has changes that are not saved. Drop them?")));
    if (drop)
        m_unsavedEdits = false;
    return drop;
}

void ZGui::writeFailed(const char *key, const char *fallback, int timeValue)
{
    notice(::getText(m_lang.get(), QLatin1String(key), QLatin1String(fallback)), 1, timeValue);
}

bool ZGui::writeSetting(const QString &key, const QString &value)
{
    if (m_settings->writeEntry(kGroup, key, value))
        return true;
    m_settings->reload();
    writeFailed("SettingsFailedText", "The settings could not be saved.");
    return false;
}

bool ZGui::writeSetting(const QString &key, int value)
{
    return writeSetting(key, QString::number(value));
}

bool ZGui::writeSetting(const QString &key, bool value)
{
    return writeSetting(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

bool ZGui::writeSetting(const QString &key, const QStringList &value)
{
    return writeSetting(key, value.join(QLatin1Char(';')));
}

void ZGui::initApp()
{
    m_programDir = getProgramDir();
    m_proc = ProcessControl(m_programDir);
    m_settings = SettingsFile::open(m_programDir);
    // Without a usable stored language (a first run) the program speaks the system's language.
    m_language = languageFileFor(m_programDir + QStringLiteral("resource/language/"),
                                 m_settings->readEntry(kGroup, QStringLiteral("Language"), QString()));
    m_lang = std::make_unique<ZConfig>(m_programDir + QStringLiteral("resource/language/") + m_language);
    applyStandardTexts(m_lang.get());

    notice(getText(QStringLiteral("InitText")), 1, 100);

    m_currentTheme = m_settings->readEntry(kGroup, ThemeFile::kCurrentTheme, QString());
    m_linked = m_settings->readBoolEntry(kGroup, QStringLiteral("Linked"), false);
    m_enableMirror = false;
    m_shadowMirror = false;
    m_unsavedEdits = false;
    m_themeIndex = 0;
    m_currentGroup = QStringLiteral("SysTime");
    m_theme = std::make_unique<ZConfig>(themeFile(m_currentTheme));

    m_itemGroups = ThemeFiles::itemGroups();
    m_tabTitles.clear();
    for (const char *key : {"Settings", "Notices", "Wallpaper", "ThemeSettings", "WeatherShow"})
        m_tabTitles << getText(QLatin1String(key));

    // A working copy left by an earlier run is dropped: editing always starts afresh.
    dropWorkingCopy();
}

void ZGui::CreateControls()
{
    setWindowTitle(getText(QStringLiteral("Quillora")));

    m_infoArea = new ZAppInfoArea(this);
    m_infoArea->setText(getText(QStringLiteral("Settings")), 0);
    setAppInfoArea(m_infoArea);

    m_tabWidget = new ZNavTabWidget(this, QStringLiteral("tabWidget"));
    m_tabWidget->resize(240, 100);
    connect(m_tabWidget, SIGNAL(currentChanged(QWidget*)), this, SLOT(tabChanged()));

    createTab1();
    createTab2();
    createTab3();
    createTab4();

    m_tabWidget->setCurrentPage(TabItems);
    m_itemPage = m_tabWidget->currentPage();
    m_tabWidget->setTabEnabled(TabItems, false);

    createTab5();
    m_tabWidget->setCurrentPage(TabSettings);
    setContentWidget(m_tabWidget);

    createSoftKey();
}

void ZGui::createSoftKey()
{
    m_softKey = new ZSoftKey(this);
    m_softKey->setText(ZSoftKey::LEFT, getText(QStringLiteral("Options")));
    m_softKey->setOptMenu(ZSoftKey::LEFT, getMenu());
    m_softKey->setText(ZSoftKey::RIGHT, getText(QStringLiteral("Preview")));
    m_softKey->setClickedSlot(ZSoftKey::RIGHT, this, SLOT(preview()));
    setSoftKey(m_softKey);
}

ZOptionsMenu *ZGui::getMenu()
{
    const QString pad = QStringLiteral("  ");

    m_editMenu = new ZOptionsMenu(m_softKey, getText(QStringLiteral("EditTheme")));
    m_editMenu->insertItem(pad + getText(QStringLiteral("EditStart")), icon(QStringLiteral("startedit.png")),
                           this, SLOT(edittheme()));
    m_editMenu->insertItem(pad + getText(QStringLiteral("EditSave")), icon(QStringLiteral("saveedit.png")),
                           this, SLOT(savetheme()));
    m_editMenu->insertItem(pad + getText(QStringLiteral("EditSaveAs")), icon(QStringLiteral("saveasedit.png")),
                           this, SLOT(saveastheme()));
    m_editMenu->insertItem(pad + getText(QStringLiteral("EditEnd")), icon(QStringLiteral("endedit.png")),
                           this, SLOT(endedit()));

    m_menu = new ZOptionsMenu(m_softKey, getText(QStringLiteral("Options")));
    m_menu->insertItem(pad + getText(QStringLiteral("RefreshDesktop")), icon(QStringLiteral("refresh.png")),
                       this, SLOT(run()));
    m_menu->insertItem(pad + getText(QStringLiteral("EditTheme")), m_editMenu, icon(QStringLiteral("edit.png")));
    m_menu->insertItem(pad + getText(QStringLiteral("RunDeamon")), icon(QStringLiteral("run.png")),
                       this, SLOT(rundaemon()));
    m_menu->insertItem(pad + getText(QStringLiteral("StopDeamon")), icon(QStringLiteral("sharp.png")),
                       this, SLOT(kill()));
    m_menu->insertItem(pad + getText(QStringLiteral("RefreshSysTime")), icon(QStringLiteral("time.png")),
                       this, SLOT(refresh()));
    m_menu->insertItem(pad + getText(QStringLiteral("LInkThemePath")), icon(QStringLiteral("link.png")),
                       this, SLOT(link()));
    m_menu->insertItem(pad + getText(QStringLiteral("About")), icon(QStringLiteral("about.png")),
                       this, SLOT(about()));
    m_menu->insertItem(pad + getText(QStringLiteral("Exit")), icon(QStringLiteral("quit.png")),
                       this, SLOT(exitClicked()));
    if (m_linked)
        m_menu->changeItem(MenuLink, pad + getText(QStringLiteral("RemoveThemePath")),
                           icon(QStringLiteral("link.png")));
    return m_menu;
}

void ZGui::tabChanged()
{
    if (!m_tabWidget || !m_infoArea)
        return;
    const int i = m_tabWidget->currentPageIndex();
    if (i >= 0 && i < m_tabTitles.size())
        m_infoArea->setText(m_tabTitles.at(i), 0);
    // A page laid out while hidden may keep a scroll bar it no longer needs: have it lay out
    // its bars again now that it is shown.
    if (QWidget *page = m_tabWidget->currentPage())
        QCoreApplication::postEvent(page, new QEvent(QEvent::LayoutRequest));
}

void ZGui::keyPressEvent(QKeyEvent *event)
{
    if (ZKey::code(event) == ZKey::Back) {
        reject();
        return;
    }
    ZKbMainWidget::keyPressEvent(event);
}

void ZGui::about()
{
    ZAboutDialog *dlg = new ZAboutDialog(m_lang.get());
    dlg->exec();
    delete dlg;
}

ZScrollPanel *ZGui::newPage()
{
    return new ZScrollPanel(m_tabWidget);
}
