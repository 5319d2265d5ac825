#include "dialogscript.h"

#include "zkeys.h"
#include "zmessagedlg.h"
#include "zsinglecapturedlg.h"

#include <QKeyEvent>
#include <QtTest/QtTest>

DialogScript::DialogScript()
{
    connect(ZDialogMonitor::instance(), &ZDialogMonitor::dialogShown, this, &DialogScript::onShown);
}

DialogScript::~DialogScript() = default;

void DialogScript::clear()
{
    m_shown.clear();
    m_answers.clear();
}

QStringList DialogScript::shownTexts() const
{
    QStringList out;
    for (const ShownDialog &d : m_shown)
        out << d.text;
    return out;
}

QStringList DialogScript::shownClasses() const
{
    QStringList out;
    for (const ShownDialog &d : m_shown)
        out << d.className;
    return out;
}

void DialogScript::onShown(QWidget *dialog)
{
    ShownDialog d;
    d.className = QString::fromLatin1(dialog->metaObject()->className());
    d.text = dialog->windowTitle();
    ZNoticeDlg *notice = qobject_cast<ZNoticeDlg *>(dialog);
    if (notice) {
        d.text = notice->text();
        d.type = notice->noticeType();
        d.time = notice->timeValue();
    } else if (ZMessageDlg *msg = qobject_cast<ZMessageDlg *>(dialog)) {
        d.text = msg->text();
    }
    m_shown << d;

    if (notice && m_acceptNotices) {
        notice->accept();
        return;
    }
    if (!m_answers.isEmpty()) {
        m_answers.takeFirst()(dialog);
        return;
    }
    if (QDialog *dlg = qobject_cast<QDialog *>(dialog))
        dlg->reject();
    else if (MyBaseDlg *base = qobject_cast<MyBaseDlg *>(dialog))
        base->reject();
}

DialogScript::Answer DialogScript::accept()
{
    return [](QWidget *w) {
        if (QDialog *dlg = qobject_cast<QDialog *>(w))
            dlg->accept();
        else if (MyBaseDlg *base = qobject_cast<MyBaseDlg *>(w))
            base->accept();
    };
}

DialogScript::Answer DialogScript::reject()
{
    return [](QWidget *w) {
        if (QDialog *dlg = qobject_cast<QDialog *>(w))
            dlg->reject();
        else if (MyBaseDlg *base = qobject_cast<MyBaseDlg *>(w))
            base->reject();
    };
}

DialogScript::Answer DialogScript::typeAndAccept(const QString &text)
{
    return [text](QWidget *w) {
        ZSingleCaptureDlg *dlg = qobject_cast<ZSingleCaptureDlg *>(w);
        QVERIFY2(dlg, "expected the one-line input");
        dlg->setText(text);
        dlg->accept();
    };
}

DialogScript::Answer DialogScript::backKey()
{
    return [](QWidget *w) {
        QKeyEvent press(QEvent::KeyPress, ZKey::Back, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &press);
    };
}
