#include "filebrowser.h"

#include "folderlisting.h"
#include "resiconreader.h"
#include "wallpaperrows.h"
#include "zkeys.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

FileBrowser::FileBrowser(const QString &filter, const QString &name, QWidget *parent, int flags, int)
    : ZListBox(name, parent, flags), m_nameFilter(filter)
{
    m_thumbs.setFallback(RES_ICON_Reader().getIcon(QStringLiteral("fm_missing_small.g")));
    WallpaperRows::connect(this, &m_thumbs);
    setDir(QDir::currentPath());
    connect(this, &ZListBox::highlighted, this, &FileBrowser::itemHighlighted);
    connect(this, &ZListBox::selected, this, &FileBrowser::itemSelected);
    m_storageToggle = false;
}

void FileBrowser::appendFolderRow(const QString &name, const char *icon, int at)
{
    auto *row = new ZListBoxItem(QStringLiteral("%I%M"));
    row->setPixmap(0, RES_ICON_Reader().getIcon(QString::fromLatin1(icon)));
    row->appendSubItem(1, name);
    insertItem(row, at);
}

bool FileBrowser::setDir(const QString &path)
{
    m_thumbs.reset();
    clear();
    const FolderListing::Listing listing = FolderListing::list(path, m_nameFilter);
    if (!listing.readable)
        return false;

    for (const QString &folder : listing.folders) {
        if (folder == m_parentText)
            appendFolderRow(m_parentText, "gen_back_to_arrw_small.g");
        else
            appendFolderRow(folder, "fm_folder_small.g");
    }
    if (listing.parentRowFirst)
        appendFolderRow(m_parentText, "gen_back_to_arrw_small.g", 0);

    for (int i = 0; i < listing.imageNames.size(); ++i) {
        const QString &file = listing.imagePaths.at(i);
        auto *row = new ZListBoxItem(QStringLiteral("%C%M"));
        row->setPixmap(0, m_thumbs.thumbnail(count(), file));
        row->appendSubItem(1, listing.imageNames.at(i));
        row->appendSubItem(1, file);
        insertItem(row);
    }

    m_currentDir = listing.canonicalPath;
    setCurrentItem(0);
    return true;
}

QString FileBrowser::rowPath(int index) const
{
    const ZListBoxItem *row = item(index);
    return row ? FolderListing::join(m_currentDir, row->subItemText(1, 0)) : QString();
}

bool FileBrowser::isFileRow(int index) const
{
    return item(index) && QFileInfo(rowPath(index)).isFile();
}

void FileBrowser::itemHighlighted(int index)
{
    if (!item(index))
        return;
    const QString path = rowPath(index);
    if (QFileInfo(path).isFile()) {
        emit picked(path);
        emit isFilePicked(true);
    } else {
        emit isFilePicked(false);
    }
}

void FileBrowser::itemSelected(int index)
{
    if (!item(index))
        return;
    const QString path = rowPath(index);
    // A folder row lists that folder; a file row has had its check box toggled by the list.
    if (QFileInfo(path).isDir())
        setDir(path);
}

void FileBrowser::keyPressEvent(QKeyEvent *event)
{
    const int n = count();
    const int current = currentItem();
    switch (ZKey::code(event)) {
    case ZKey::Digit2:
        if (n > 0)
            setCurrentItem(current > 0 ? current - 1 : n - 1);
        break;
    case ZKey::Digit8:
        if (n > 0)
            setCurrentItem(current >= 0 && current < n - 1 ? current + 1 : 0);
        break;
    case ZKey::Digit4:
    case ZKey::Left:
        if (n > 0)
            setCurrentItem(WallpaperRows::pageUp(this));
        break;
    case ZKey::Digit6:
    case ZKey::Right:
        if (n > 0)
            setCurrentItem(WallpaperRows::pageDown(this));
        break;
    case ZKey::Digit5:
        // Chosen as with the select key: an image row toggles its check box.
        if (current >= 0)
            selectItem(current);
        break;
    case ZKey::Digit3:
        if (!m_storageToggle) {
            setDir(FolderListing::resolve(QString::fromLatin1(FolderListing::MemoryCard)));
            m_storageToggle = true;
        } else {
            setDir(FolderListing::resolve(QString::fromLatin1(FolderListing::PhoneMemory)));
            m_storageToggle = false;
        }
        break;
    case ZKey::Delete: {
        const QString up = FolderListing::join(m_currentDir, QStringLiteral(".."));
        setDir(up);
        emit isFilePicked(false);
        emit picked(up);
        break;
    }
    default:
        ZListBox::keyPressEvent(event);
    }
}
