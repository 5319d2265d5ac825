#pragma once
// The About box: the program's icon, name, version and credits, closed by its one soft key.

#include "mybasedlg.h"

class ZConfig;

class ZAboutDialog : public MyBaseDlg
{
    Q_OBJECT
public:
    explicit ZAboutDialog(ZConfig *languageStore);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    ZConfig *m_lang; // not owned
};
