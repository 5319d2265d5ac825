#include "zsinglecapturedlg.h"

#include "zlineedit.h"
#include "zmainwidget.h"
#include "zphonestyle.h"
#include "zsoftkey.h"

#include <QLabel>
#include <QVBoxLayout>

ZSingleCaptureDlg::ZSingleCaptureDlg(const QString &title, const QString &prompt, QWidget *parent,
                                     const QString &name)
    : ZPlatformDialog(parent, name)
    , m_prompt(new QLabel(prompt))
    , m_edit(new ZLineEdit)
{
    setTitle(title);
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(12, 16, 12, 12);
    layout->setSpacing(8);
    m_prompt->setWordWrap(true);
    m_prompt->setTextFormat(Qt::PlainText);
    layout->addWidget(m_prompt);
    layout->addWidget(m_edit);
    layout->addStretch(1);
    frame()->setContentWidget(content);

    softKey()->setText(ZSoftKey::LEFT, ZSoftKey::standardOk());
    softKey()->setText(ZSoftKey::RIGHT, ZSoftKey::standardCancel());
    connect(softKey(), &ZSoftKey::leftClicked, this, &QDialog::accept);
    connect(softKey(), &ZSoftKey::rightClicked, this, &QDialog::reject);
}

QString ZSingleCaptureDlg::text() const
{
    return m_edit->text();
}

void ZSingleCaptureDlg::setText(const QString &text)
{
    m_edit->setText(text);
}

QString ZSingleCaptureDlg::prompt() const
{
    return m_prompt->text();
}

int ZSingleCaptureDlg::exec()
{
    m_edit->setFocus();
    m_edit->selectAll();
    return ZPlatformDialog::exec();
}
