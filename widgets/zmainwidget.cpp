#include "zmainwidget.h"

#include "zappinfoarea.h"
#include "zkeys.h"
#include "zphonestyle.h"
#include "zsoftkey.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

ZMainWidget::ZMainWidget(int headerType, QWidget *parent, const QString &name, int flags)
    : QWidget(parent)
    , m_headerType(headerType)
{
    if (!name.isEmpty())
        setObjectName(name);
    if (!parent || (flags & TopLevel)) {
        setWindowFlags(Qt::Window);
        setFixedSize(ScreenWidth, ScreenHeight);
        setStyleSheet(ZPhoneStyle::styleSheet());
    }
    setAttribute(Qt::WA_StyledBackground, true);
    if (flags & Modal)
        setWindowModality(Qt::ApplicationModal);
    setFont(ZPhoneStyle::font(10));

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);

    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("zHeader"));
    m_header->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_header->setTextFormat(Qt::PlainText);
    m_layout->addWidget(m_header);
    m_layout->addStretch(1); // the content's place while there is none
    updateHeader();
}

ZMainWidget::~ZMainWidget() = default;

int ZMainWidget::headerSizeOf(int type)
{
    switch (type) {
    case NoHeader:
        return 0;
    case TitleHeader:
        return 26;
    default:
        return 20;
    }
}

int ZMainWidget::headerSize() const
{
    return headerSizeOf(m_headerType);
}

void ZMainWidget::setHeaderType(int type)
{
    m_headerType = type;
    updateHeader();
}

void ZMainWidget::updateHeader()
{
    const int h = headerSize();
    m_header->setVisible(h > 0);
    m_header->setFixedHeight(h);
    m_header->setFont(ZPhoneStyle::font(m_headerType == TitleHeader ? 11 : 9, true));
    const QFontMetrics fm(m_header->font());
    m_header->setText(fm.elidedText(windowTitle(), Qt::ElideRight, ScreenWidth - 12));
}

void ZMainWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange)
        updateHeader();
    QWidget::changeEvent(event);
}

void ZMainWidget::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        ZPhoneStyle::placeOverMainWindow(this);
    QWidget::showEvent(event);
}

// Puts a widget into one of the bands (information area, content, command bar); the layout
// always holds header, information area, content and command bar in this order.
void ZMainWidget::replaceBand(QPointer<QWidget> &slot, QWidget *widget)
{
    if (slot == widget)
        return;
    if (QWidget *old = slot.data()) {
        old->hide();
        if (old->parentWidget() == this)
            old->deleteLater();
    }
    slot = widget;
    if (widget)
        widget->setParent(this);

    while (QLayoutItem *item = m_layout->takeAt(0))
        delete item; // only the layout entry: the widgets stay
    m_layout->addWidget(m_header);
    if (m_infoSlot)
        m_layout->addWidget(m_infoSlot);
    if (m_content)
        m_layout->addWidget(m_content, 1);
    else
        m_layout->addStretch(1);
    if (m_cst)
        m_layout->addWidget(m_cst);
    if (widget)
        widget->show();
}

void ZMainWidget::setAppInfoArea(ZAppInfoArea *area)
{
    m_infoArea = area;
    replaceBand(m_infoSlot, area);
}

void ZMainWidget::setContentWidget(QWidget *content)
{
    replaceBand(m_content, content);
}

void ZMainWidget::setSoftKey(ZSoftKey *softKey)
{
    setCSTWidget(softKey);
}

ZSoftKey *ZMainWidget::softKey() const
{
    return qobject_cast<ZSoftKey *>(m_cst.data());
}

void ZMainWidget::setCSTWidget(QWidget *widget)
{
    replaceBand(m_cst, widget);
}

ZKbMainWidget::ZKbMainWidget(int headerType, QWidget *parent, const QString &name, int flags)
    : ZMainWidget(headerType, parent, name, flags)
{
}

void ZKbMainWidget::keyPressEvent(QKeyEvent *event)
{
    ZSoftKey *keys = softKey();
    switch (ZKey::code(event)) {
    case ZKey::Add:
    case ZKey::LeftSoft:
        if (keys) {
            keys->click(ZSoftKey::LEFT);
            return;
        }
        break;
    case ZKey::RightSoft:
        if (keys) {
            keys->click(ZSoftKey::RIGHT);
            return;
        }
        break;
    case ZKey::Up:
        if (focusNextPrevChild(false))
            return;
        break;
    case ZKey::Down:
        if (focusNextPrevChild(true))
            return;
        break;
    default:
        break;
    }
    event->ignore();
}

ZAppInfoArea *ZMainWidget::appInfoArea() const
{
    return m_infoArea.data();
}
