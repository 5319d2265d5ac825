#include "noticelistmng.h"

#include "entrynames.h"
#include "festivaldlg.h"
#include "notifydlg.h"
#include "langtext.h"
#include "lunarkey.h"
#include "zkeys.h"
#include "zlistbox.h"
#include "znoticedlg.h"
#include "zoptionsmenu.h"
#include "zscrollpanel.h"
#include "zsoftkey.h"

#include <QKeyEvent>
#include <QVBoxLayout>

const NoticeListKind &NoticeListKind::notices()
{
    static const NoticeListKind kind{
        "CustomNotify", QStringLiteral("resource/icons/selfnotify.png"), QStringLiteral("CusNoticeMng"),
        [](ZConfig *lang) -> MyBaseDlg * { return new AddNotify(lang); },
        [](ZConfig *lang, const QString &key) -> MyBaseDlg * { return new EditNotify(lang, key); }};
    return kind;
}

const NoticeListKind &NoticeListKind::festivals()
{
    static const NoticeListKind kind{
        "CustomFestival", QStringLiteral("resource/icons/selffestival.png"), QStringLiteral("CusFestivalMng"),
        [](ZConfig *lang) -> MyBaseDlg * { return new AddFestival(lang); },
        [](ZConfig *lang, const QString &key) -> MyBaseDlg * { return new EditFestival(lang, key); }, true};
    return kind;
}

NoticeListMng::NoticeListMng(ZConfig *lang, const NoticeListKind &kind)
    : m_lang(lang)
    , m_kind(kind)
{
    initApp();
    CreateControls();
}

QString NoticeListMng::getText(const QString &key) const
{
    return ::getText(m_lang, key);
}

void NoticeListMng::initApp()
{
    m_programDir = getProgramDir();
}

void NoticeListMng::CreateControls()
{
    setWindowTitle(getText(m_kind.titleKey));

    auto *panel = new ZScrollPanel(this, QStringLiteral("ZScrollPanel"));
    // The list scrolls by itself; the panel only holds it at its full size.
    panel->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *layout = new QVBoxLayout(panel->contents());
    layout->setContentsMargins(0, 0, 0, 0);

    m_listBox = new ZListBox(QStringLiteral("lisbbox"), panel->contents(), 0);
    connect(m_listBox, &ZListBox::selected, this, &NoticeListMng::edit);
    addItem();
    layout->addWidget(m_listBox);
    setContentWidget(panel);

    createSoftKey();
    m_listBox->setFocus();
}

void NoticeListMng::createSoftKey()
{
    m_softKey = new ZSoftKey(this);
    m_softKey->setText(ZSoftKey::LEFT, getText(QStringLiteral("Options")));
    m_softKey->setText(ZSoftKey::RIGHT, getText(QStringLiteral("Back")));
    m_softKey->setClickedSlot(ZSoftKey::RIGHT, this, SLOT(reject()));
    getMenu();
    m_softKey->setOptMenu(ZSoftKey::LEFT, m_menu);
    setSoftKey(m_softKey);
}

QPixmap NoticeListMng::loadIcon(const QString &relative)
{
    m_iconPixmap.load(m_programDir + relative);
    return m_iconPixmap;
}

void NoticeListMng::getMenu()
{
    m_menu = new ZOptionsMenu(m_softKey, getText(QStringLiteral("Options")));
    const QString pad = QStringLiteral("  ");
    m_menu->insertItem(pad + getText(QStringLiteral("Add")), loadIcon(QStringLiteral("resource/icons/add.png")),
                       this, SLOT(add()), 0);
    m_menu->insertItem(pad + getText(QStringLiteral("Edit")), loadIcon(QStringLiteral("resource/icons/editn.png")),
                       this, SLOT(edit()), 1);
    m_menu->insertItem(pad + getText(QStringLiteral("Delete")),
                       loadIcon(QStringLiteral("resource/icons/delete.png")), this, SLOT(dele()), 2);
    m_menu->insertItem(pad + getText(QStringLiteral("Back")), loadIcon(QStringLiteral("resource/icons/exitn.png")),
                       this, SLOT(reject()), 3);
}

void NoticeListMng::addItem()
{
    QList<NoticeDb::Entry> entries =
        NoticeDb::readGroupFile(NoticeDb::filePath(m_programDir), m_kind.group);
    if (m_kind.lunarDates)
        entries = festivalListOrder(entries);
    const QPixmap icon = loadIcon(m_kind.icon);
    m_keys.clear();
    const QString group = QString::fromLatin1(m_kind.group);
    for (const NoticeDb::Entry &entry : entries) {
        const QString key = QString::fromUtf8(entry.key);
        auto *row = new ZListBoxItem(m_listBox, QStringLiteral("%I%M"));
        row->setPixmap(0, icon);
        row->appendSubItem(1, EntryNames::valueText(EntryNames::purposeOf(group, key), QString::fromUtf8(entry.value)));
        row->appendSubItem(1, EntryNames::dateText(m_lang, group, key));
        m_listBox->insertItem(row);
        m_keys << key;
    }
    if (m_listBox->count() > 0 && m_listBox->currentItem() < 0)
        m_listBox->setCurrentItem(0);
}

void NoticeListMng::refill()
{
    // The highlight stays on the same place of the list where it can.
    const int current = m_listBox->currentItem();
    m_listBox->clear();
    addItem();
    if (current >= 0 && m_listBox->count() > 0)
        m_listBox->setCurrentItem(qMin(current, m_listBox->count() - 1));
}

void NoticeListMng::add()
{
    MyBaseDlg *dlg = m_kind.makeAddDialog(m_lang);
    dlg->exec();
    delete dlg;
    refill();
}

void NoticeListMng::edit()
{
    const int current = m_listBox->currentItem();
    if (m_listBox->count() == 0 || current < 0)
        return;
    const QString key = keyOf(current);

    MyBaseDlg *dlg = m_kind.makeEditDialog(m_lang, key);
    dlg->exec();
    const auto *entry = qobject_cast<EntryDlg *>(dlg);
    const QString savedKey = entry ? entry->savedKey() : QString();
    delete dlg;

    // The entry moved to another date (one that had none, or one whose entry the user agreed
    // to replace): the dialog wrote the new key, and the old entry is still in the file.
    if (!savedKey.isEmpty() && savedKey != key
        && NoticeDb::rewriteGroupFile(NoticeDb::filePath(m_programDir), m_kind.group, key.toUtf8())
               != NoticeDb::RewriteResult::Written)
        saveFailed();
    refill();
}

void NoticeListMng::saveFailed()
{
    ZNoticeDlg::inform(ZNoticeDlg::Attention, 0,
                       ::getText(m_lang, QStringLiteral("SaveFailedText"),
                                 QStringLiteral("The notice list could not be written.")),
                       this);
}

void NoticeListMng::dele()
{
    const int current = m_listBox->currentItem();
    if (m_listBox->count() == 0 || current < 0)
        return;
    const QString key = keyOf(current);
    const QString text = m_listBox->item(current)->subItemText(1, 0);
    const QString shownDate = m_listBox->item(current)->subItemText(1, 1);
    if (!confirm(getText(QStringLiteral("Delete")), ::getText(m_lang, QStringLiteral("DeleteText"), QStringLiteral("Delete \"%1\" (%2)?")).arg(text, shownDate)))
        return;
    const NoticeDb::RewriteResult result =
        NoticeDb::rewriteGroupFile(NoticeDb::filePath(m_programDir), m_kind.group, key.toUtf8());
    if (result == NoticeDb::RewriteResult::Written) {
        m_listBox->removeItem(current);
        m_keys.removeAt(current);
        return;
    }
    // The list shows what the file holds, never a delete that did not happen.
    saveFailed();
    refill();
}

void NoticeListMng::keyPressEvent(QKeyEvent *event)
{
    switch (ZKey::code(event)) {
    case ZKey::Add:
        add();
        break;
    case ZKey::Back:
        reject();
        break;
    case ZKey::Delete:
        dele();
        break;
    default:
        ZKbMainWidget::keyPressEvent(event);
    }
}

NotifyMng::NotifyMng(ZConfig *lang)
    : NoticeListMng(lang, NoticeListKind::notices())
{
}

FestivalMng::FestivalMng(ZConfig *lang)
    : NoticeListMng(lang, NoticeListKind::festivals())
{
}
