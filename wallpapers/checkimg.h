#pragma once
// The image viewer: one picture, at most 200 pixels high (and no wider than the screen) and
// centred, with its path below in small type.

#include "mybasedlg.h"

class QLabel;
class ZConfig;
class ZSoftKey;

class CheckImg : public MyBaseDlg
{
    Q_OBJECT
public:
    CheckImg(ZConfig *lang, const QString &path);

    void initApp() {}
    void CreateControls();
    void createSoftKey();
    QString getText(const QString &key) const;

    // The rich texts of the two labels for a picture `height` pixels high.
    static QString imageHtml(const QString &path, int height);
    static QString pathHtml(const QString &path);
    // The height the picture is shown at: its own, at most 200, and low enough for the picture
    // to fit the screen's width; 0 when it cannot be loaded.
    static int shownHeight(const QString &path);

    QLabel *imageLabel() const { return m_image; }
    QLabel *pathLabel() const { return m_pathLabel; }
    ZSoftKey *softKeyBar() const { return m_softKey; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    ZConfig *m_lang;
    ZSoftKey *m_softKey = nullptr;
    QString m_path;
    QLabel *m_image = nullptr;
    QLabel *m_pathLabel = nullptr;
};
