#pragma once
// The preview: a full-screen dialog showing the desktop picture as the renderer composes it
// now, from the theme under edit while its working copy exists. While a theme is under edit,
// the left key saves it (the dialog ends with 1); the right key goes back (0).

#include "mybasedlg.h"

#include <memory>

class ZConfig;
class ZSoftKey;

class PreView : public MyBaseDlg
{
    Q_OBJECT
public:
    PreView();
    ~PreView() override;

    void initApp();
    void CreateControls();
    void createSoftKey();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    ZSoftKey *softKey = nullptr;
    std::unique_ptr<ZConfig> settings;
    QString programDir;
};
