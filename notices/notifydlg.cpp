#include "notifydlg.h"

#include "zconfig.h"
#include "zdatemodule.h"
#include "zlineedit.h"
#include "zscrollpanel.h"

#include <QStringList>

QString NotifyDlg::noticeKey() const
{
    const QDate d = m_dateModule->date();
    return QString::asprintf("%04d/%02d/%02d", d.year(), d.month(), d.day());
}

QDate NotifyDlg::parseKey(const QString &key)
{
    const QStringList parts = key.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return QDate();
    return QDate(parts.at(0).toInt(nullptr, 10), parts.at(1).toInt(nullptr, 10), parts.at(2).toInt(nullptr, 10));
}

void NotifyDlg::buildControls(const QString &titleKey)
{
    ZScrollPanel *panel = createFrame(titleKey);
    addLabel(panel, getText(QStringLiteral("Date")), 10, 10);
    m_dateModule = new ZDateModule(panel->contents());
    panel->addChild(m_dateModule, 20, 40);
    addLabel(panel, getText(QStringLiteral("Notice")), 10, 120);
    addTextField(panel, 10, 160);
}

// Adding: the date control starts at today, the text is empty.

AddNotify::AddNotify(ZConfig *lang)
    : NotifyDlg(lang)
{
    initApp();
    CreateControls();
}

void AddNotify::initApp()
{
    m_programDir = getProgramDir();
}

void AddNotify::CreateControls()
{
    buildControls(QStringLiteral("AddCusNotice"));
    m_dateModule->setDate(QDate::currentDate());
    createSoftKey(SLOT(add()));
    m_textField->setFocus();
}

void AddNotify::add()
{
    save(group(), noticeKey(), QStringLiteral("EditNoticeText"));
}

// Editing: the controls start at the entry's date and text.

EditNotify::EditNotify(ZConfig *lang, const QString &key)
    : NotifyDlg(lang)
    , m_key(key)
{
    initApp();
    CreateControls();
}

void EditNotify::initApp()
{
    m_programDir = getProgramDir();
    m_editedKey = m_key;
    openStore();
    m_date = parseKey(m_key);
}

void EditNotify::CreateControls()
{
    buildControls(QStringLiteral("EditCusNotice"));
    // A key that names no date (a hand-edited file) leaves the control at today.
    m_dateModule->setDate(m_date.isValid() ? m_date : QDate::currentDate());
    m_textField->setText(m_store->readEntry(group(), m_key, QString()));
    createSoftKey(SLOT(edit()));
    m_textField->setFocus();
}

void EditNotify::edit()
{
    save(group(), noticeKey(), QStringLiteral("AddNoticeText"));
}
