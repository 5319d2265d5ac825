#include "reorderdlg.h"

#include "langtext.h"
#include "resiconreader.h"
#include "wallpaperlist.h"
#include "wallpaperrows.h"
#include "zkeys.h"
#include "zlistbox.h"
#include "zscrollpanel.h"
#include "zsoftkey.h"

#include <QKeyEvent>
#include <QVBoxLayout>

ReorderDlg::ReorderDlg(ZConfig *lang, int row) : m_lang(lang), m_state({}, row)
{
    initApp();
    CreateControls();
}

QString ReorderDlg::getText(const QString &key) const
{
    return ::getText(m_lang, key);
}

void ReorderDlg::initApp()
{
    m_progDir = getProgramDir();
    m_thumbs.setFallback(RES_ICON_Reader().getIcon(QStringLiteral("fm_missing_small.g")));
}

void ReorderDlg::CreateControls()
{
    setWindowTitle(getText(QStringLiteral("Reorder")));

    auto *panel = new ZScrollPanel(this);
    auto *layout = new QVBoxLayout(panel->contents());
    layout->setContentsMargins(0, 0, 0, 0);
    m_listBox = new ZListBox(QStringLiteral("listbox"), panel->contents(), 0);
    WallpaperRows::connect(m_listBox, &m_thumbs);

    QStringList entries;
    WallpaperList::readList(WallpaperList::listFile(m_progDir), entries);
    const int initial = m_state.grabbedRow();
    m_state = ReorderState(entries, initial);
    addItem(QStringLiteral("%I%M"));
    m_listBox->setCurrentItem(initial);

    connect(m_listBox, &ZListBox::selected, this, &ReorderDlg::itemSelected);
    listen(true);

    layout->addWidget(m_listBox);
    setContentWidget(panel);
    m_listBox->setFocus();
    createSoftKey();
}

void ReorderDlg::addItem(const QString &format)
{
    WallpaperRows::fill(m_listBox, m_state.list(), format, &m_thumbs);
}

void ReorderDlg::listen(bool on)
{
    if (on)
        connect(m_listBox, &ZListBox::highlighted, this, &ReorderDlg::itemChanged, Qt::UniqueConnection);
    else
        disconnect(m_listBox, &ZListBox::highlighted, this, &ReorderDlg::itemChanged);
}

int ReorderDlg::getCurrentItem() const
{
    return m_listBox->currentItem();
}

void ReorderDlg::createSoftKey()
{
    m_softKey = new ZSoftKey(this);
    m_softKey->setText(ZSoftKey::LEFT, getText(QStringLiteral("Grab")));
    m_softKey->setClickedSlot(ZSoftKey::LEFT, this, SLOT(reorder()));
    m_softKey->setText(ZSoftKey::RIGHT, getText(QStringLiteral("Back")));
    m_softKey->setClickedSlot(ZSoftKey::RIGHT, this, SLOT(reject()));
    setSoftKey(m_softKey);
}

void ReorderDlg::reorderSoftKey()
{
    m_softKey = new ZSoftKey(this);
    m_softKey->setText(ZSoftKey::LEFT, getText(QStringLiteral("Insert")));
    m_softKey->setClickedSlot(ZSoftKey::LEFT, this, SLOT(insert()));
    m_softKey->setText(ZSoftKey::RIGHT, getText(QStringLiteral("Cancel")));
    m_softKey->setClickedSlot(ZSoftKey::RIGHT, this, SLOT(cancel()));
    setSoftKey(m_softKey);
}

QString ReorderDlg::grabMarker()
{
    return QString::fromUtf8("\u2191\u2193 "); // arrows up and down
}

void ReorderDlg::markGrabbed(bool on)
{
    const int row = m_listBox->currentItem();
    ZListBoxItem *item = m_listBox->item(row);
    if (!item)
        return;
    const QString name = WallpaperList::fileNameOf(m_state.list().value(row));
    item->setSubItemText(1, 0, on ? grabMarker() + name : name);
}

void ReorderDlg::reorder()
{
    const int row = m_listBox->currentItem();
    if (row < 0)
        return;
    m_state.grab(row);
    markGrabbed(true);
    reorderSoftKey();
}

void ReorderDlg::itemChanged(int index)
{
    if (!m_state.grabbing()) {
        m_state.follow(index);
        return;
    }
    listen(false);
    const int from = m_state.grabbedRow();
    if (m_state.carryTo(index)) {
        if (qAbs(index - from) == 1) {
            m_listBox->moveItem(from, index);
        } else {
            // A jump (the highlight wrapped, or moved by a page) exchanged two entries that are
            // not neighbours: the rows are rebuilt to show the list's order.
            addItem(QStringLiteral("%I%M"));
        }
    }
    m_listBox->setCurrentItem(index);
    markGrabbed(true);
    listen(true);
}

void ReorderDlg::insert()
{
    m_state.drop();
    markGrabbed(false);
    m_softKey->clearClickedSlot(ZSoftKey::LEFT);
    createSoftKey();
}

void ReorderDlg::cancel()
{
    m_state.cancel();
    const int row = m_listBox->currentItem();
    addItem(QStringLiteral("%I%M"));
    m_listBox->setCurrentItem(row);
    createSoftKey();
}

void ReorderDlg::itemSelected(int)
{
    if (m_state.grabbing())
        insert();
    else
        reorder();
}

void ReorderDlg::keyPressEvent(QKeyEvent *event)
{
    const int count = m_listBox->count();
    const int current = m_listBox->currentItem();
    switch (ZKey::code(event)) {
    case ZKey::Digit2:
    case ZKey::Digit8:
        // The digits move the highlight as in the other list dialogs; the move arrives through
        // highlighted(), and the current row then passes through itemChanged.
        if (count > 0) {
            if (ZKey::code(event) == ZKey::Digit2)
                m_listBox->setCurrentItem(current > 0 ? current - 1 : count - 1);
            else
                m_listBox->setCurrentItem(current >= 0 && current < count - 1 ? current + 1 : 0);
        }
        itemChanged(m_listBox->currentItem());
        break;
    case ZKey::Digit5:
        itemSelected(m_listBox->currentItem());
        break;
    case ZKey::Back:
        reject();
        break;
    default:
        MyBaseDlg::keyPressEvent(event);
    }
}
