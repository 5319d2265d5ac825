#include "festivaldlg.h"

#include "zconfig.h"
#include "zlineedit.h"
#include "znumpicker.h"
#include "zscrollpanel.h"

#include <QDate>
#include <QStringList>

QString FestivalDlg::festivalKey() const
{
    return QString::asprintf("%02d/%02d", m_monthPicker->value(), m_dayPicker->value());
}

void FestivalDlg::buildControls(const QString &titleKey)
{
    ZScrollPanel *panel = createFrame(titleKey);
    addLabel(panel, getText(QStringLiteral("Time")), 10, 10);

    m_monthPicker = new ZNumPicker(4, panel->contents());
    m_monthPicker->setMinValue(1);
    m_monthPicker->setMaxValue(12);
    panel->addChild(m_monthPicker, 40, 40);

    addLabel(panel, QStringLiteral("/"), 110, 40, 50);

    m_dayPicker = new ZNumPicker(4, panel->contents());
    m_dayPicker->setMinValue(1);
    m_dayPicker->setMaxValue(31);
    panel->addChild(m_dayPicker, 140, 40);

    addLabel(panel, getText(QStringLiteral("Festival")), 10, 120);
    addTextField(panel, 10, 160);
}

// Adding: the pickers start at today's month and day, the text is empty.

AddFestival::AddFestival(ZConfig *lang)
    : FestivalDlg(lang)
{
    initApp();
    CreateControls();
}

void AddFestival::initApp()
{
    m_programDir = getProgramDir();
}

void AddFestival::CreateControls()
{
    buildControls(QStringLiteral("AddCusFestival"));
    const QDate today = QDate::currentDate();
    m_monthPicker->setValue(today.month());
    m_dayPicker->setValue(today.day());
    createSoftKey(SLOT(add()));
    m_textField->setFocus();
}

void AddFestival::add()
{
    save(group(), festivalKey(), QStringLiteral("EditFestivalText"));
}

// Editing: the pickers start at the entry's month and day, the text at its text.

EditFestival::EditFestival(ZConfig *lang, const QString &key)
    : FestivalDlg(lang)
    , m_key(key)
{
    initApp();
    CreateControls();
}

void EditFestival::initApp()
{
    m_programDir = getProgramDir();
    openStore();
    const QStringList parts = m_key.split(QLatin1Char('/'));
    m_month = parts.value(0).toInt(nullptr, 10);
    m_day = parts.value(1).toInt(nullptr, 10);
}

void EditFestival::CreateControls()
{
    buildControls(QStringLiteral("EditCusFestival"));
    m_monthPicker->setValue(m_month);
    m_dayPicker->setValue(m_day);
    m_textField->setText(m_store->readEntry(group(), m_key, QString()));
    createSoftKey(SLOT(edit()));
    m_textField->setFocus();
}

void EditFestival::edit()
{
    save(group(), festivalKey(), QStringLiteral("EditFestivalText"));
}
