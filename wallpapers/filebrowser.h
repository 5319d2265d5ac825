#pragma once
// The image picker's folder list: one folder at a time, a row leading to the parent folder,
// the sub-folders, then the image files with check boxes and thumbnails.

#include "thumbnails.h"
#include "zlistbox.h"

class FileBrowser : public ZListBox
{
    Q_OBJECT
public:
    FileBrowser(const QString &filter, const QString &name, QWidget *parent = nullptr, int flags = 0,
                int widgetClass = 40);

    // Lists a folder of the machine. A folder that cannot be read leaves the list empty and the
    // current directory as it was. Returns whether the folder was listed.
    bool setDir(const QString &path);
    QString currentDir() const { return m_currentDir; }
    bool storageToggle() const { return m_storageToggle; }
    ThumbnailLoader *thumbnails() { return &m_thumbs; }

    // "<current directory>/<line 0 of the row>".
    QString rowPath(int index) const;
    bool isFileRow(int index) const;

public slots:
    void itemHighlighted(int index);
    void itemSelected(int index);

signals:
    void picked(const QString &path);
    void isFilePicked(bool file);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void appendFolderRow(const QString &name, const char *icon, int at = -1);

    bool m_storageToggle = false;
    QString m_nameFilter;
    QString m_currentDir;
    QString m_parentText = QStringLiteral("..");
    ThumbnailLoader m_thumbs;
};
