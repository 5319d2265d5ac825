#pragma once
// The wallpaper list manager: every entry of "wallpaper.list" with its thumbnail, file name and
// path. The user views an entry, sets it as the wallpaper, adds pictures through the image
// picker, removes one entry or several (remove mode), and reorders the list.

#include "mybasedlg.h"
#include "resiconreader.h"
#include "thumbnails.h"
#include "wallpaperlist.h"

#include <QPixmap>
#include <QStringList>

class ZConfig;
class ZListBox;
class ZOptionsMenu;
class ZSoftKey;

class WallpaperMng : public MyBaseDlg
{
    Q_OBJECT
public:
    explicit WallpaperMng(ZConfig *lang);
    ~WallpaperMng() override;

    void initApp();
    void CreateControls();
    void readList();
    void writeList();
    // Rebuilds every row from the wallpaper list with the row format "%I%M" or "%C%M".
    void addItem(QString format);
    void createSoftKey();
    void getMenu();
    void removeSoftKey();
    void getremoveMenu();
    QString getText(const QString &key) const;

    ZListBox *listBox() const { return m_listBox; }
    QStringList wallpaperList() const { return m_list; }
    bool removeMode() const { return m_removeMode; }
    ZSoftKey *softKeyBar() const { return m_softKey; }
    ZOptionsMenu *optionsMenu() const { return m_menu; }
    ThumbnailLoader *thumbnails() { return &m_thumbs; }

public slots:
    void check();
    void set();
    void add();
    void remove();
    void reorder();
    void itemSelected(int index);
    void multiSelect();
    void multiRemove();
    void selectAll();
    void selectNone();
    void cancelRemove();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString rowFormat() const;
    // The question before an entry leaves the list, naming it.
    QString removeText(const QString &name) const;
    QPixmap loadIcon(const QString &file);

    ZConfig *m_lang;
    ZSoftKey *m_softKey = nullptr;
    ZOptionsMenu *m_menu = nullptr;
    ZListBox *m_listBox = nullptr;
    QPixmap m_iconPixmap;
    ZConfig *m_settings = nullptr;
    QString m_progDir;
    QStringList m_list;
    RES_ICON_Reader m_iconReader;
    bool m_removeMode = false;
    WallpaperList::Store m_store;
    ThumbnailLoader m_thumbs;
};
