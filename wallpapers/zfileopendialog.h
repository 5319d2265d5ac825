#pragma once
// The image picker: the user walks the folders, checks images of one folder and confirms with
// Add; the opener reads selectionList() after exec() returned 1. The folder confirmed last is
// remembered in settings.ini ("OpenFilePath").

#include "mybasedlg.h"

#include <QPixmap>
#include <QStringList>

class FileBrowser;
class ZConfig;
class ZOptionsMenu;
class ZSoftKey;

class ZFileOpenDialog : public MyBaseDlg
{
    Q_OBJECT
public:
    explicit ZFileOpenDialog(ZConfig *lang);
    ~ZFileOpenDialog() override;

    QStringList selectionList() const { return m_selection; }
    FileBrowser *browser() const { return m_browser; }
    ZOptionsMenu *optionsMenu() const { return m_menu; }
    ZSoftKey *softKeyBar() const { return m_softKey; }
    QString getText(const QString &key) const;

public slots:
    void add();
    void check();
    void selectAll();
    void selectNone();
    void cancelAdd();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPixmap loadIcon(const QString &file);
    // Tells the user which checked pictures are not added: their paths cannot be list entries.
    void refuse(const QStringList &paths);

    ZConfig *m_lang;
    QStringList m_selection;
    FileBrowser *m_browser = nullptr;
    ZConfig *m_settings = nullptr;
    ZOptionsMenu *m_menu = nullptr;
    QString m_progDir;
    QPixmap m_iconPixmap;
    ZSoftKey *m_softKey = nullptr;
};
