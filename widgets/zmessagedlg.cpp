#include "zmessagedlg.h"

#include "zmainwidget.h"
#include "zphonestyle.h"
#include "zsoftkey.h"

#include <QLabel>
#include <QVBoxLayout>

ZMessageDlg::ZMessageDlg(const QString &title, const QString &text, int type, QWidget *parent,
                         const QString &name)
    : ZPlatformDialog(parent, name)
    , m_type(type)
    , m_text(new QLabel(text))
{
    setTitle(title);
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(14, 14, 14, 14);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setFont(ZPhoneStyle::font(11));
    layout->addStretch(1);
    layout->addWidget(m_text);
    layout->addStretch(2);
    frame()->setContentWidget(content);

    softKey()->setText(ZSoftKey::LEFT, ZSoftKey::standardOk());
    connect(softKey(), &ZSoftKey::leftClicked, this, &QDialog::accept);
    if (type == Question) {
        softKey()->setText(ZSoftKey::RIGHT, ZSoftKey::standardCancel());
        connect(softKey(), &ZSoftKey::rightClicked, this, &QDialog::reject);
    }
}

QString ZMessageDlg::text() const
{
    return m_text->text();
}
