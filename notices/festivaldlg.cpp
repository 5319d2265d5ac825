#include "festivaldlg.h"

#include "lunarkey.h"
#include "lunarnames.h"
#include "namedpicker.h"
#include "zcheckbox.h"
#include "zconfig.h"
#include "zlabel.h"
#include "zlineedit.h"
#include "znumpicker.h"
#include "zscrollpanel.h"

#include <QDate>
#include <QStringList>

QString FestivalDlg::festivalKey() const
{
    if (m_lunarBox->isChecked())
        return LunarKey{m_monthPicker->value(), m_leapBox->isChecked(), m_dayPicker->value()}.key();
    return QString::asprintf("%02d/%02d", m_monthPicker->value(), m_dayPicker->value());
}

void FestivalDlg::setLunar(bool lunar)
{
    const bool names = lunar && lunarNames(m_lang);
    m_monthPicker->setNamer(names ? NamedPicker::Namer([](int m) {
        return QString::fromStdString(lunarMonthName(m)) + QStringLiteral("月");
    }) : NamedPicker::Namer());
    m_dayPicker->setNamer(names ? NamedPicker::Namer([](int d) { return QString::fromStdString(lunarDayName(d)); })
                                : NamedPicker::Namer());
    // A lunar month has 29 or 30 days; every Gregorian day 1 to 31 stays on offer.
    m_dayPicker->setMaxValue(lunar ? 30 : 31);
    m_leapBox->setVisible(lunar);
    if (!lunar)
        m_leapBox->setChecked(false);
}

void FestivalDlg::setDate(bool lunar, int month, int day)
{
    m_lunarBox->setChecked(lunar);
    m_leapBox->setChecked(lunar && month < 0);
    m_monthPicker->setValue(month < 0 ? -month : month);
    m_dayPicker->setValue(day);
}

void FestivalDlg::buildControls(const QString &titleKey)
{
    ZScrollPanel *panel = createFrame(titleKey);
    addLabel(panel, getText(QStringLiteral("Time")), 10, 10);

    m_monthPicker = new NamedPicker(4, panel->contents());
    m_monthPicker->setMinValue(1);
    m_monthPicker->setMaxValue(12);
    panel->addChild(m_monthPicker, 40, 40);

    // The "/" between the pickers in the labels' size, centred on the pickers' row.
    auto *slash = new ZLabel(QStringLiteral("/"), panel->contents());
    slash->setObjectName(QStringLiteral("dateSlash"));
    QFont slashFont = font();
    slashFont.setPixelSize(20);
    slash->setFont(slashFont);
    slash->setAlignment(Qt::AlignCenter);
    slash->setFixedSize(30, m_monthPicker->height());
    panel->addChild(slash, 105, 40);

    m_dayPicker = new NamedPicker(4, panel->contents());
    m_dayPicker->setMinValue(1);
    m_dayPicker->setMaxValue(31);
    panel->addChild(m_dayPicker, 140, 40);

    // Under the pickers, in the order the keypad reaches them: the calendar, then the leap month.
    m_lunarBox = new ZCheckBox(getText(QStringLiteral("LunarDate")), panel->contents());
    panel->addChild(m_lunarBox, 10, 88);
    m_leapBox = new ZCheckBox(getText(QStringLiteral("LeapMonth")), panel->contents());
    panel->addChild(m_leapBox, 125, 88);
    setLunar(false);
    connect(m_lunarBox, &QCheckBox::toggled, this, &FestivalDlg::setLunar);

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
    setDate(false, today.month(), today.day());
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
    m_editedKey = m_key;
    openStore();
    LunarKey lunar;
    m_lunar = LunarKey::parse(m_key, &lunar);
    if (m_lunar) {
        m_month = lunar.leap ? -lunar.month : lunar.month;
        m_day = lunar.day;
        return;
    }
    const QStringList parts = m_key.split(QLatin1Char('/'));
    m_month = parts.value(0).toInt(nullptr, 10);
    m_day = parts.value(1).toInt(nullptr, 10);
}

void EditFestival::CreateControls()
{
    buildControls(QStringLiteral("EditCusFestival"));
    setDate(m_lunar, m_month, m_day);
    m_textField->setText(m_store->readEntry(group(), m_key, QString()));
    createSoftKey(SLOT(edit()));
    m_textField->setFocus();
}

void EditFestival::edit()
{
    save(group(), festivalKey(), QStringLiteral("EditFestivalText"));
}
