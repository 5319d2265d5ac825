#include "wallpapermng.h"

#include "checkimg.h"
#include "device.h"
#include "langtext.h"
#include "reorderdlg.h"
#include "setuptheme.h"
#include "wallpaperrows.h"
#include "settingsfile.h"
#include "zconfig.h"
#include "zfileopendialog.h"
#include "zkeys.h"
#include "zlistbox.h"
#include "znoticedlg.h"
#include "zoptionsmenu.h"
#include "zscrollpanel.h"
#include "zsoftkey.h"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace {
const QString kNormalRows = QStringLiteral("%I%M");
const QString kCheckRows = QStringLiteral("%C%M");
} // namespace

WallpaperMng::WallpaperMng(ZConfig *lang) : m_lang(lang)
{
    initApp();
    CreateControls();
}

WallpaperMng::~WallpaperMng()
{
    delete m_settings;
}

QString WallpaperMng::getText(const QString &key) const
{
    return ::getText(m_lang, key);
}

void WallpaperMng::initApp()
{
    m_progDir = getProgramDir();
    m_settings = SettingsFile::open(m_progDir).release();
    m_store = WallpaperList::Store(WallpaperList::listFile(m_progDir));
    // An entry that cannot be loaded shows the platform's picture for a missing image.
    m_thumbs.setFallback(m_iconReader.getIcon(QStringLiteral("fm_missing_small.g")));
    readList();
    m_removeMode = false;
}

void WallpaperMng::readList()
{
    m_list.clear(); // the store appends
    m_store.read(m_list);
}

bool WallpaperMng::writeList()
{
    if (m_store.write(m_list))
        return true;
    // Not stored: the manager goes on with what the file holds, and says so.
    readList();
    ZNoticeDlg::inform(ZNoticeDlg::Attention, 0,
                       ::getText(m_lang, QStringLiteral("WallpaperSaveFailedText"),
                                 QStringLiteral("The wallpaper list could not be written.")),
                       this);
    return false;
}

void WallpaperMng::CreateControls()
{
    setWindowTitle(getText(QStringLiteral("WallpaperListMng")));

    auto *panel = new ZScrollPanel(this);
    auto *layout = new QVBoxLayout(panel->contents());
    layout->setContentsMargins(0, 0, 0, 0);
    m_listBox = new ZListBox(QStringLiteral("lisbbox"), panel->contents(), 0);
    WallpaperRows::connect(m_listBox, &m_thumbs);
    addItem(kNormalRows);
    connect(m_listBox, &ZListBox::selected, this, &WallpaperMng::itemSelected);
    layout->addWidget(m_listBox);
    setContentWidget(panel);
    m_listBox->setFocus();

    createSoftKey();
}

QString WallpaperMng::rowFormat() const
{
    return m_removeMode ? kCheckRows : kNormalRows;
}

void WallpaperMng::addItem(QString format)
{
    WallpaperRows::fill(m_listBox, m_list, format, &m_thumbs);
    if (m_listBox->count() > 0)
        m_listBox->setCurrentItem(0);
}

QPixmap WallpaperMng::loadIcon(const QString &file)
{
    m_iconPixmap.load(m_progDir + QStringLiteral("resource/icons/") + file);
    return m_iconPixmap;
}

void WallpaperMng::createSoftKey()
{
    m_softKey = new ZSoftKey(this);
    m_softKey->setText(ZSoftKey::LEFT, getText(QStringLiteral("Options")));
    m_softKey->setText(ZSoftKey::RIGHT, getText(QStringLiteral("Back")));
    m_softKey->setClickedSlot(ZSoftKey::RIGHT, this, SLOT(reject()));
    getMenu();
    m_softKey->setOptMenu(ZSoftKey::LEFT, m_menu);
    setSoftKey(m_softKey);
}

void WallpaperMng::getMenu()
{
    m_menu = new ZOptionsMenu(m_softKey, getText(QStringLiteral("Options")));
    const QString pad = QStringLiteral("  ");
    m_menu->insertItem(pad + getText(QStringLiteral("Check")), loadIcon(QStringLiteral("check.png")), this, SLOT(check()), 0);
    m_menu->insertItem(pad + getText(QStringLiteral("Add")), loadIcon(QStringLiteral("checkadd.png")), this, SLOT(add()), 1);
    m_menu->insertItem(pad + getText(QStringLiteral("Remove")), loadIcon(QStringLiteral("checkdelete.png")), this, SLOT(remove()), 2);
    m_menu->insertItem(pad + getText(QStringLiteral("Reorder")), loadIcon(QStringLiteral("reorder.png")), this, SLOT(reorder()), 3);
    m_menu->insertItem(pad + getText(QStringLiteral("MultiSelect")), loadIcon(QStringLiteral("selectall.png")), this, SLOT(multiSelect()), 4);
    m_menu->insertItem(pad + getText(QStringLiteral("SetAsWallpaper")), loadIcon(QStringLiteral("wallpaper.png")), this, SLOT(set()), 5);
    m_menu->insertItem(pad + getText(QStringLiteral("Back")), loadIcon(QStringLiteral("checkexit.png")), this, SLOT(reject()), 6);
}

void WallpaperMng::removeSoftKey()
{
    m_softKey = new ZSoftKey(this);
    m_softKey->setText(ZSoftKey::LEFT, getText(QStringLiteral("Options")));
    m_softKey->setText(ZSoftKey::RIGHT, getText(QStringLiteral("Remove")));
    m_softKey->setClickedSlot(ZSoftKey::RIGHT, this, SLOT(multiRemove()));
    getremoveMenu();
    m_softKey->setOptMenu(ZSoftKey::LEFT, m_menu);
    setSoftKey(m_softKey);
}

void WallpaperMng::getremoveMenu()
{
    m_menu = new ZOptionsMenu(m_softKey, getText(QStringLiteral("Options")));
    const QString pad = QStringLiteral("  ");
    m_menu->insertItem(pad + getText(QStringLiteral("SelectAll")), loadIcon(QStringLiteral("selectall.png")), this, SLOT(selectAll()), 0);
    m_menu->insertItem(pad + getText(QStringLiteral("SelectNone")), loadIcon(QStringLiteral("selectnone.png")), this, SLOT(selectNone()), 1);
    m_menu->insertItem(pad + getText(QStringLiteral("CancelRemove")), loadIcon(QStringLiteral("checkexit.png")), this, SLOT(cancelRemove()), 2);
}

void WallpaperMng::check()
{
    if (m_listBox->count() == 0)
        return;
    const QString path = m_list.value(m_listBox->currentItem());
    if (path.isEmpty())
        return;
    auto *viewer = new CheckImg(m_lang, path);
    viewer->exec();
    delete viewer;
}

void WallpaperMng::set()
{
    if (m_listBox->count() == 0)
        return;
    const QString path = m_list.value(m_listBox->currentItem());
    if (path.isEmpty())
        return;
    SETUP_THEME::updateTheme(SETUP_THEME::Wallpaper, path);
    m_settings->writeEntry(QStringLiteral("Quillora"), QStringLiteral("WallpaperPath"), Platform::storablePath(path, m_progDir));
    ZNoticeDlg::inform(ZNoticeDlg::Information, 0, getText(QStringLiteral("SetAsWallpaperText")).arg(path), this);
}

void WallpaperMng::add()
{
    auto *picker = new ZFileOpenDialog(m_lang);
    const int result = picker->exec();
    m_iconPixmap = m_iconReader.getIcon(QStringLiteral("fm_pic_small.g"));
    if (result == 1) {
        m_list += picker->selectionList();
        writeList();
        // Added rows take the form of the mode the manager is in.
        addItem(rowFormat());
    }
    delete picker;
}

QString WallpaperMng::removeText(const QString &name) const
{
    return ::getText(m_lang, QStringLiteral("RemoveText"), QStringLiteral("Remove \"%1\" from the list?")).arg(name);
}

void WallpaperMng::remove()
{
    if (m_listBox->count() == 0)
        return;
    const int row = m_listBox->currentItem();
    if (row < 0 || row >= m_list.size())
        return;
    const QString path = m_list.at(row);
    if (!confirm(getText(QStringLiteral("Remove")),
                 removeText(WallpaperList::fileNameOf(path))))
        return;
    const int removed = int(m_list.removeAll(path));
    if (writeList() && removed == 1) {
        m_listBox->removeItem(row);
        return;
    }
    // Every copy of the path left the list: the rows are rebuilt so they show the list again.
    addItem(rowFormat());
    if (m_listBox->count() > 0)
        m_listBox->setCurrentItem(qMin(row, m_listBox->count() - 1));
}

void WallpaperMng::reorder()
{
    if (m_listBox->count() < 2)
        return;
    auto *dialog = new ReorderDlg(m_lang, m_listBox->currentItem());
    dialog->exec();
    m_list = dialog->getList();
    writeList();
    addItem(kNormalRows);
    m_listBox->setCurrentItem(dialog->getCurrentItem());
    WallpaperRows::preferCurrent(m_listBox, &m_thumbs);
    delete dialog;
}

void WallpaperMng::itemSelected(int)
{
    if (!m_removeMode)
        check();
}

void WallpaperMng::multiSelect()
{
    if (m_listBox->count() == 0)
        return;
    m_removeMode = true;
    addItem(kCheckRows);
    removeSoftKey();
}

void WallpaperMng::multiRemove()
{
    QStringList names;
    for (int j = 0; j < m_listBox->count() && j < m_list.size(); ++j) {
        if (m_listBox->itemChecked(j))
            names << WallpaperList::fileNameOf(m_list.at(j));
    }
    if (!names.isEmpty()) {
        const QString text = names.size() == 1
                                 ? removeText(names.first())
                                 : ::getText(m_lang, QStringLiteral("RemoveManyText"),
                                             QStringLiteral("Remove %1 pictures from the list?"))
                                       .arg(names.size());
        if (!confirm(getText(QStringLiteral("Remove")), text))
            return; // still in remove mode, with the marks as they were
    }
    m_removeMode = false;
    int removed = 0;
    const int rows = m_listBox->count();
    for (int j = 0; j < rows; ++j) {
        if (m_listBox->itemChecked(j)) {
            m_list.removeAt(j - removed);
            ++removed;
        }
    }
    writeList();
    addItem(kNormalRows);
    createSoftKey();
}

void WallpaperMng::selectAll()
{
    for (int j = 0; j < m_listBox->count(); ++j)
        m_listBox->checkItem(j, true);
}

void WallpaperMng::selectNone()
{
    for (int j = 0; j < m_listBox->count(); ++j)
        m_listBox->checkItem(j, false);
}

void WallpaperMng::cancelRemove()
{
    m_removeMode = false;
    addItem(kNormalRows);
    createSoftKey();
}

void WallpaperMng::keyPressEvent(QKeyEvent *event)
{
    const int count = m_listBox->count();
    const int current = m_listBox->currentItem();
    switch (ZKey::code(event)) {
    case ZKey::Digit2:
    case ZKey::Up:
        if (count > 0)
            m_listBox->setCurrentItem(current > 0 ? current - 1 : count - 1);
        break;
    case ZKey::Digit8:
    case ZKey::Down:
        if (count > 0)
            m_listBox->setCurrentItem(current >= 0 && current < count - 1 ? current + 1 : 0);
        break;
    case ZKey::Digit4:
    case ZKey::Left:
        if (count > 0)
            m_listBox->setCurrentItem(WallpaperRows::pageUp(m_listBox));
        break;
    case ZKey::Digit6:
    case ZKey::Right:
        if (count > 0)
            m_listBox->setCurrentItem(WallpaperRows::pageDown(m_listBox));
        break;
    case ZKey::Digit5:
        check();
        break;
    case ZKey::Add:
        add();
        break;
    case ZKey::Back:
        reject();
        break;
    case ZKey::Delete:
        if (m_removeMode)
            multiRemove();
        else
            remove();
        break;
    default:
        MyBaseDlg::keyPressEvent(event);
    }
}
