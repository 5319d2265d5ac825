#include "mybasedlg.h"

#include "device.h"
#include "zapplication.h"
#include "zdialogmonitor.h"
#include "zmessagedlg.h"
#include "zphonestyle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>

MyBaseDlg::MyBaseDlg()
    : ZKbMainWidget(ZMainWidget::TitleHeader, nullptr, QStringLiteral("ZMainWidget"),
                    ZMainWidget::TopLevel | ZMainWidget::Modal)
{
}

MyBaseDlg::~MyBaseDlg()
{
    // A dialog deleted while its loop still runs leaves that loop first.
    if (m_loop)
        m_loop->exit(0);
}

int MyBaseDlg::exec()
{
    m_result = 0;
    const QPointer<QWidget> before = QApplication::activeWindow();
    show();
    m_loopFlag = true;
    QEventLoop loop;
    m_loop = &loop;
    ZDialogMonitor::instance()->reportShown(this);
    QPointer<MyBaseDlg> guard(this);
    loop.exec(QEventLoop::DialogExec);
    ZPhoneStyle::restoreActiveWindow(before);
    if (!guard)
        return 0; // deleted while it ran: nothing of it may be touched any more
    m_loop = nullptr;
    return m_result;
}

void MyBaseDlg::done(int r)
{
    hide();
    if (m_loopFlag && m_loop)
        m_loop->exit(0);
    m_result = r;
    if (app && app->mainWidget() == this)
        app->quit();
}

void MyBaseDlg::accept()
{
    done(1);
}

void MyBaseDlg::reject()
{
    done(0);
}

QString MyBaseDlg::getProgramDir()
{
    return Platform::programDir();
}

void MyBaseDlg::closeEvent(QCloseEvent *event)
{
    // Closing the window from the desktop ends the dialog like the back key; the event itself
    // is not taken, since done() hides the window.
    if (isVisible())
        reject();
    event->ignore();
}

bool MyBaseDlg::confirm(const QString &title, const QString &text)
{
    ZMessageDlg ask(title, text, ZMessageDlg::Question, this);
    return ask.exec() == 1;
}
