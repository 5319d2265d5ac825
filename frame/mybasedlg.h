#pragma once
// Base of the settings program's main window and of every one of its dialogs: a top-level,
// modal phone window that runs modally in a nested event loop.
//
//   MyDlg *dlg = new MyDlg(lang);
//   if (dlg->exec() == 1) ...       // 1 after accept(), 0 after reject()
//   delete dlg;
//
// MyBaseDlg itself handles no key: dialogs that close on the back key (4145) say so in their
// own keyPressEvent and hand other keys to ZKbMainWidget::keyPressEvent. Closing the window
// from the desktop's window frame counts as reject().

#include "zmainwidget.h"

#include <QString>

class QEventLoop;

class MyBaseDlg : public ZKbMainWidget
{
    Q_OBJECT
public:
    MyBaseDlg();
    ~MyBaseDlg() override;

    // Shows the dialog and runs a nested event loop until done(); returns the result code.
    virtual int exec();

    int result() const { return m_result; }
    bool loopStarted() const { return m_loopFlag; }

    // The program directory: the application's first argument up to and including its last
    // "/"; empty when it has none.
    static QString getProgramDir();

public slots:
    // Hides the dialog, leaves its loop (when exec runs it), stores the result and, for the
    // application's main widget, quits the application.
    virtual void done(int r);
    virtual void accept();
    virtual void reject();

protected:
    void closeEvent(QCloseEvent *event) override;

    // Asks a question with OK and Cancel over this window; true when the user answers OK.
    bool confirm(const QString &title, const QString &text);

private:
    bool m_loopFlag = false;
    int m_result = 0;
    QEventLoop *m_loop = nullptr;
};
