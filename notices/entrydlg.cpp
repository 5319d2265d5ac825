#include "entrydlg.h"

#include "entrynames.h"
#include "langtext.h"
#include "notifydb.h"
#include "zappinfoarea.h"
#include "zconfig.h"
#include "zkeys.h"
#include "zlabel.h"
#include "zlineedit.h"
#include "znoticedlg.h"
#include "zscrollpanel.h"
#include "zsoftkey.h"

#include <QFileInfo>
#include <QKeyEvent>

EntryDlg::EntryDlg(ZConfig *lang)
    : m_lang(lang)
{
}

EntryDlg::~EntryDlg()
{
    delete m_store;
}

QString EntryDlg::getText(const QString &key) const
{
    return ::getText(m_lang, key);
}

ZScrollPanel *EntryDlg::createFrame(const QString &titleKey)
{
    setWindowTitle(getText(titleKey));
    setAppInfoArea(new ZAppInfoArea(this));
    auto *panel = new ZScrollPanel(this, QStringLiteral("ZScrollPanel"));
    setContentWidget(panel);
    return panel;
}

void EntryDlg::addLabel(ZScrollPanel *panel, const QString &text, int x, int y, int pointSize)
{
    auto *label = new ZLabel(text, panel->contents());
    // The phone counts font points at 72 to the inch, so on its screen a point is a pixel.
    QFont f = font();
    f.setPixelSize(pointSize);
    label->setFont(f);
    label->adjustSize();
    panel->addChild(label, x, y);
}

void EntryDlg::addTextField(ZScrollPanel *panel, int x, int y)
{
    m_textField = new ZLineEdit(panel->contents());
    m_textField->setFixedWidth(220);
    panel->addChild(m_textField, x, y);
}

void EntryDlg::createSoftKey(const char *okSlot)
{
    m_softKey = new ZSoftKey(this);
    m_softKey->setText(ZSoftKey::LEFT, getText(QStringLiteral("OK")));
    m_softKey->setText(ZSoftKey::RIGHT, getText(QStringLiteral("Cancel")));
    m_softKey->setClickedSlot(ZSoftKey::LEFT, this, okSlot);
    m_softKey->setClickedSlot(ZSoftKey::RIGHT, this, SLOT(reject()));
    setSoftKey(m_softKey);
}

void EntryDlg::openStore()
{
    if (!m_store)
        m_store = new ZConfig(NoticeDb::filePath(m_programDir));
}

void EntryDlg::notice(const QString &text)
{
    ZNoticeDlg::inform(ZNoticeDlg::Attention, 500, text, this);
}

void EntryDlg::save(const QString &group, const QString &key, const QString &emptyKey)
{
    const QString text = m_textField->text();
    if (text.isEmpty()) {
        notice(getText(emptyKey));
        return;
    }
    openStore();
    // Another entry of that date would be replaced: only when the user says so.
    if (key != m_editedKey && m_store->hasEntry(group, key)) {
        const QString question = ::getText(m_lang, QStringLiteral("ReplaceEntryText"),
                                           QStringLiteral("%1 already has \"%2\". Replace it?"))
                                     .arg(EntryNames::dateText(m_lang, group, key),
                                          EntryNames::valueText(EntryNames::purposeOf(group, key),
                                                                m_store->readEntry(group, key, QString())));
        if (!confirm(getText(QStringLiteral("Caution")), question))
            return;
    }
    if (!m_store->writeEntry(group, key, text)) {
        // Closing now would tell the user the entry was kept; stay with the text instead.
        notice(::getText(m_lang, QStringLiteral("SaveFailedText"),
                         QStringLiteral("%1 could not be written.").arg(QFileInfo(m_store->path()).fileName())));
        return;
    }
    m_savedKey = key;
    accept();
}

void EntryDlg::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Back:
        reject();
        break;
    case ZKey::Select:
        // Select (Return) reaches the form from the text field or a number picker, which have
        // no use for it: it saves, as OK does. The date control and check boxes keep theirs.
        if (m_softKey)
            m_softKey->click(ZSoftKey::LEFT);
        break;
    default:
        ZKbMainWidget::keyPressEvent(event);
    }
}
