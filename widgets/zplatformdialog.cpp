#include "zplatformdialog.h"

#include "zdialogmonitor.h"
#include "zkeys.h"
#include "zmainwidget.h"
#include "zphonestyle.h"
#include "zsoftkey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QVBoxLayout>

ZPlatformDialog::ZPlatformDialog(QWidget *parent, const QString &name)
    : QDialog(parent, Qt::Window)
    , m_frame(new ZMainWidget(ZMainWidget::TitleHeader, this))
{
    if (!name.isEmpty())
        setObjectName(name);
    setModal(true);
    setFixedSize(ZMainWidget::ScreenWidth, ZMainWidget::ScreenHeight);
    setStyleSheet(ZPhoneStyle::styleSheet());
    setFont(ZPhoneStyle::font(10));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_frame);

    auto *keys = new ZSoftKey(m_frame);
    m_frame->setSoftKey(keys);
}

void ZPlatformDialog::setTitle(const QString &title)
{
    setWindowTitle(title);
    m_frame->setWindowTitle(title);
}

QString ZPlatformDialog::title() const
{
    return m_frame->windowTitle();
}

ZSoftKey *ZPlatformDialog::softKey() const
{
    return m_frame->softKey();
}

int ZPlatformDialog::exec()
{
    ZPhoneStyle::placeOverMainWindow(this);
    ZDialogMonitor::instance()->reportShown(this);
    const QPointer<QWidget> before = QApplication::activeWindow();
    const int result = QDialog::exec();
    ZPhoneStyle::restoreActiveWindow(before);
    return result;
}

void ZPlatformDialog::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Back:
        reject();
        return;
    case ZKey::Add:
    case ZKey::LeftSoft:
    case ZKey::Select: // select (Return) confirms, as the left soft key does
        softKey()->click(ZSoftKey::LEFT);
        return;
    case ZKey::RightSoft:
        softKey()->click(ZSoftKey::RIGHT);
        return;
    case ZKey::Up:
        focusNextPrevChild(false);
        return;
    case ZKey::Down:
        focusNextPrevChild(true);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
