#pragma once
// The preview: a full-screen dialog showing the whole desktop picture, all 320 rows, as the
// renderer composes it now, from the theme under edit while its working copy exists. The rows
// the soft-key bar leaves no room for are reached with Down (Up scrolls back). While a theme is
// under edit, the left key saves it (the dialog ends with 1); the right key goes back (0).

#include "mybasedlg.h"

#include <memory>

class ZConfig;
class QScrollArea;
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
    QScrollArea *page = nullptr;
    std::unique_ptr<ZConfig> settings;
    QString programDir;
};
