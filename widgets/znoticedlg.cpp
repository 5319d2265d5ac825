#include "znoticedlg.h"

#include "zkeys.h"
#include "zmainwidget.h"
#include "zphonestyle.h"
#include "zsoftkey.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A round badge with a sign for the notice type: "i", "!" or a cross.
QPixmap badge(int type)
{
    const QColor colour = type == ZNoticeDlg::Attention ? QColor(0xe0, 0x8e, 0x0b)
                        : type == ZNoticeDlg::Error     ? QColor(0xc6, 0x28, 0x28)
                                                        : ZPhoneStyle::highlightColor();
    QPixmap pix(36, 36);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(1, 1, 34, 34));
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    if (type == ZNoticeDlg::Error) {
        p.drawLine(QPointF(12, 12), QPointF(24, 24));
        p.drawLine(QPointF(24, 12), QPointF(12, 24));
    } else if (type == ZNoticeDlg::Attention) {
        p.drawLine(QPointF(18, 9), QPointF(18, 21));
        p.drawPoint(QPointF(18, 27));
    } else {
        p.drawPoint(QPointF(18, 10));
        p.drawLine(QPointF(18, 16), QPointF(18, 27));
    }
    return pix;
}

} // namespace

ZNoticeDlg::ZNoticeDlg(int type, int timeValue, const QString &title, const QString &text,
                       QWidget *parent, const QString &name)
    : ZPlatformDialog(parent, name)
    , m_type(type)
    , m_time(timeValue)
    , m_text(new QLabel(text))
    , m_timer(new QTimer(this))
{
    setTitle(title);

    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->addStretch(1);
    auto *icon = new QLabel;
    icon->setPixmap(badge(type));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    layout->addSpacing(10);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setFont(ZPhoneStyle::font(11));
    layout->addWidget(m_text);
    layout->addStretch(2);
    frame()->setContentWidget(content);

    softKey()->setText(ZSoftKey::LEFT, ZSoftKey::standardOk());
    connect(softKey(), &ZSoftKey::leftClicked, this, &QDialog::accept);

    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &QDialog::accept);
}

QString ZNoticeDlg::text() const
{
    return m_text->text();
}

void ZNoticeDlg::showEvent(QShowEvent *event)
{
    if (m_time > 0)
        m_timer->start(m_time);
    ZPlatformDialog::showEvent(event);
}

void ZNoticeDlg::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    ZPlatformDialog::hideEvent(event);
}

int ZNoticeDlg::inform(int type, int timeValue, const QString &text, QWidget *parent)
{
    ZNoticeDlg dlg(type, timeValue, QString(), text, parent);
    return dlg.exec();
}
