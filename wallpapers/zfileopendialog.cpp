#include "zfileopendialog.h"

#include "checkimg.h"
#include "device.h"
#include "filebrowser.h"
#include "folderlisting.h"
#include "langtext.h"
#include "wallpaperlist.h"
#include "settingsfile.h"
#include "zconfig.h"
#include "zkeys.h"
#include "znoticedlg.h"
#include "zoptionsmenu.h"
#include "zsoftkey.h"

#include <QKeyEvent>
#include <QVBoxLayout>

ZFileOpenDialog::ZFileOpenDialog(ZConfig *lang) : m_lang(lang)
{
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);

    m_browser = new FileBrowser(QStringLiteral("*"), QStringLiteral("%I%M"), content, 0, 40);

    m_progDir = getProgramDir();
    m_settings = SettingsFile::open(m_progDir).release();
    // A folder of the program directory is remembered relative to it.
    const QString remembered = Platform::resolvedPath(
        m_settings->readEntry(QStringLiteral("Quillora"), QStringLiteral("OpenFilePath"), QString()), m_progDir);

    m_browser->setDir(FolderListing::resolve(QString::fromLatin1(FolderListing::PhoneMemory)));
    if (!remembered.isEmpty())
        m_browser->setDir(remembered);

    layout->addWidget(m_browser, 1);
    setContentWidget(content);
    m_browser->setFocus();

    setWindowTitle(getText(QStringLiteral("AddWallpaper")));

    m_softKey = new ZSoftKey(this);
    m_softKey->setText(ZSoftKey::LEFT, getText(QStringLiteral("Options")));
    m_softKey->setText(ZSoftKey::RIGHT, getText(QStringLiteral("Add")));
    m_softKey->setClickedSlot(ZSoftKey::RIGHT, this, SLOT(add()));
    m_menu = new ZOptionsMenu(m_softKey);
    const QString pad = QStringLiteral("  ");
    m_menu->insertItem(pad + getText(QStringLiteral("Check")), loadIcon(QStringLiteral("check.png")), this, SLOT(check()), 0);
    m_menu->insertItem(pad + getText(QStringLiteral("SelectAll")), loadIcon(QStringLiteral("selectall.png")), this, SLOT(selectAll()), 1);
    m_menu->insertItem(pad + getText(QStringLiteral("SelectNone")), loadIcon(QStringLiteral("selectnone.png")), this, SLOT(selectNone()), 2);
    m_menu->insertItem(pad + getText(QStringLiteral("CancelAdd")), loadIcon(QStringLiteral("checkexit.png")), this, SLOT(cancelAdd()), 3);
    m_softKey->setOptMenu(ZSoftKey::LEFT, m_menu);
    setCSTWidget(m_softKey);
}

ZFileOpenDialog::~ZFileOpenDialog()
{
    delete m_settings;
}

QString ZFileOpenDialog::getText(const QString &key) const
{
    return ::getText(m_lang, key);
}

QPixmap ZFileOpenDialog::loadIcon(const QString &file)
{
    m_iconPixmap.load(m_progDir + QStringLiteral("resource/icons/") + file);
    return m_iconPixmap;
}

void ZFileOpenDialog::add()
{
    m_selection.clear();
    QStringList refused;
    for (int j = 0; j < m_browser->count(); ++j) {
        if (!m_browser->itemChecked(j))
            continue;
        // One line of wallpaper.list per picture: a name with a line break would split it.
        const QString path = m_browser->rowPath(j);
        (WallpaperList::isStorable(path) ? m_selection : refused).append(path);
    }
    m_settings->writeEntry(QStringLiteral("Quillora"), QStringLiteral("OpenFilePath"),
                           Platform::storablePath(m_browser->currentDir(), m_progDir));
    if (!refused.isEmpty())
        refuse(refused);
    accept();
}

void ZFileOpenDialog::refuse(const QStringList &paths)
{
    // The names are shown with each control character as "?", so the notice stays readable.
    QStringList names;
    for (const QString &path : paths) {
        QString name = WallpaperList::fileNameOf(path);
        for (QChar &c : name) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                c = QLatin1Char('?');
        }
        names << name;
    }
    ZNoticeDlg::inform(ZNoticeDlg::Information, 0,
                       getText(QStringLiteral("BadFileNameText")).arg(names.join(QStringLiteral(", "))), this);
}

void ZFileOpenDialog::check()
{
    const ZListBoxItem *row = m_browser->item(m_browser->currentItem());
    const QString path = row ? row->subItemText(1, 1) : QString();
    if (path.isEmpty())
        return;
    auto *viewer = new CheckImg(m_lang, path);
    viewer->exec();
    delete viewer;
}

void ZFileOpenDialog::selectAll()
{
    for (int j = 0; j < m_browser->count(); ++j) {
        if (m_browser->isFileRow(j))
            m_browser->checkItem(j, true);
    }
}

void ZFileOpenDialog::selectNone()
{
    for (int j = 0; j < m_browser->count(); ++j)
        m_browser->checkItem(j, false);
}

void ZFileOpenDialog::cancelAdd()
{
    reject();
}

void ZFileOpenDialog::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Add:
        accept();
        break;
    case ZKey::Back:
        reject();
        break;
    default:
        MyBaseDlg::keyPressEvent(event);
    }
}
