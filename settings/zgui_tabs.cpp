// The notices, wallpaper and weather tabs: the overlay switches, the rotator's order, interval
// and button, and the doors to the list dialogs.

#include "zgui.h"

#include "formrows.h"
#include "noticelistmng.h"
#include "themefiles.h"
#include "wallpapermng.h"
#include "weatherpanel.h"
#include "zcheckbox.h"
#include "zcombobox.h"
#include "zconfig.h"
#include "znavtabwidget.h"
#include "znumpicker.h"
#include "zpressbutton.h"
#include "zscrollpanel.h"

namespace {
const QString kGroup = QStringLiteral("Quillora");
}

void ZGui::createTab2()
{
    ZScrollPanel *page = newPage();
    page->setObjectName(QStringLiteral("noticesPage"));

    m_festivalBox = new ZCheckBox(icon(QStringLiteral("festival.png")), getText(QStringLiteral("SysFestival")));
    m_festivalBox->setObjectName(QStringLiteral("festivalBox"));
    FormRows::fitCaption(m_festivalBox.data());
    m_customBox = new ZCheckBox(icon(QStringLiteral("selfnotify.png")), getText(QStringLiteral("CusNotice")));
    m_customBox->setObjectName(QStringLiteral("customBox"));
    FormRows::fitCaption(m_customBox.data());
    m_customFestivalBox = new ZCheckBox(icon(QStringLiteral("selffestival.png")),
                                        getText(QStringLiteral("CusFestival")));
    m_customFestivalBox->setObjectName(QStringLiteral("customFestivalBox"));
    FormRows::fitCaption(m_customFestivalBox.data());
    m_notifyButton = new ZPressButton(icon(QStringLiteral("mngselfnotify.png")),
                                      getText(QStringLiteral("CusNoticeMng")));
    m_notifyButton->setObjectName(QStringLiteral("notifyButton"));
    FormRows::fitCaption(m_notifyButton.data(), 190);
    m_festivalButton = new ZPressButton(icon(QStringLiteral("mngselffestival.png")),
                                        getText(QStringLiteral("CusFestivalMng")));
    m_festivalButton->setObjectName(QStringLiteral("festivalButton"));
    FormRows::fitCaption(m_festivalButton.data(), 190);

    page->addWidget(m_festivalBox);
    page->addWidget(m_customBox);
    page->addWidget(m_customFestivalBox);
    page->addWidget(m_notifyButton);
    page->addWidget(m_festivalButton);
    page->contents()->layout()->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));

    m_festivalBox->setChecked(m_settings->readBoolEntry(kGroup, QStringLiteral("FestivalNotify"), false));
    m_customBox->setChecked(m_settings->readBoolEntry(kGroup, QStringLiteral("CustomNotify"), false));
    m_customFestivalBox->setChecked(m_settings->readBoolEntry(kGroup, QStringLiteral("CustomFestival"), false));
    connectCheck(m_festivalBox, SLOT(festivalToggled(bool)));
    connectCheck(m_customBox, SLOT(customToggled(bool)));
    connectCheck(m_customFestivalBox, SLOT(customfestivalToggled(bool)));
    connect(m_notifyButton, SIGNAL(clicked()), this, SLOT(customnotifyclicked()));
    connect(m_festivalButton, SIGNAL(clicked()), this, SLOT(customfestivalclicked()));

    m_tabWidget->addTab(page, QIcon(icon(QStringLiteral("notify.png"))), QString());
}

void ZGui::createTab3()
{
    ZScrollPanel *page = newPage();
    page->setObjectName(QStringLiteral("wallpaperPage"));

    m_wallpaperButton = new ZPressButton(icon(QStringLiteral("mngwallpaper.png")),
                                         getText(QStringLiteral("WallpaperListMng")));
    m_wallpaperButton->setObjectName(QStringLiteral("wallpaperButton"));
    FormRows::fitCaption(m_wallpaperButton.data(), 190);

    m_modeSelector = new ZComboBox(nullptr, QStringLiteral("modeSelector"));

    FormRows::narrow(m_modeSelector);
    m_modeSelector->addItem(getText(QStringLiteral("Inorder")));
    m_modeSelector->addItem(getText(QStringLiteral("Random")));
    // A stored number outside the two orders shows the nearest of them.
    m_modeSelector->setCurrentItem(qBound(0, m_settings->readNumEntry(kGroup, QStringLiteral("ChangeMode"), 0), 1));

    m_intervalPicker = new ZNumPicker(2, nullptr, QStringLiteral("intervalPicker"));
    m_intervalPicker->setMinValue(1);
    m_intervalPicker->setMaxValue(60);
    m_intervalPicker->setValue(m_settings->readNumEntry(kGroup, QStringLiteral("ChangeTime"), -1));

    const bool running = m_settings->readBoolEntry(kGroup, QStringLiteral("DynamicDesktop"), false);
    m_rotatorButton = new ZPressButton(
        getText(running ? QStringLiteral("StopWallpaperChange") : QStringLiteral("RunWallpaperChange")));
    m_rotatorButton->setObjectName(QStringLiteral("rotatorButton"));
    FormRows::fitCaption(m_rotatorButton.data(), 190);

    page->addWidget(m_wallpaperButton);
    page->addWidget(FormRows::caption(getText(QStringLiteral("ChangeMode"))));
    page->addWidget(m_modeSelector);
    page->addWidget(FormRows::caption(getText(QStringLiteral("Interval"))));
    page->addWidget(FormRows::row({m_intervalPicker, nullptr}));
    page->addWidget(m_rotatorButton);
    page->contents()->layout()->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));

    connect(m_wallpaperButton, SIGNAL(clicked()), this, SLOT(imglistmmclicked()));
    connect(m_modeSelector, SIGNAL(activated(int)), this, SLOT(modeActivated(int)));
    connect(m_intervalPicker, SIGNAL(valueChanged(int)), this, SLOT(changetimeChanged(int)));
    connect(m_rotatorButton, SIGNAL(clicked()), this, SLOT(randimgclicked()));

    m_tabWidget->addTab(page, QIcon(icon(QStringLiteral("wallpaper.png"))), QString());
}

void ZGui::createTab5()
{
    ZScrollPanel *page = newPage();
    page->setObjectName(QStringLiteral("weatherPage"));

    m_weatherBox = new ZCheckBox(icon(QStringLiteral("weather.png")), getText(QStringLiteral("ShowWeather")));
    m_weatherBox->setObjectName(QStringLiteral("weatherBox"));
    FormRows::fitCaption(m_weatherBox.data());
    m_weatherDay = new ZComboBox(nullptr, QStringLiteral("weatherDay"));
    FormRows::narrow(m_weatherDay);
    for (const char *key : {"Realtime", "Day1", "Day2", "Day3", "Day4", "Day5"})
        m_weatherDay->addItem(getText(QLatin1String(key)));
    m_weatherDay->setCurrentItem(0);

    page->addWidget(m_weatherBox);
    page->addWidget(FormRows::caption(getText(QStringLiteral("Item"))));
    page->addWidget(m_weatherDay);
    page->addWidget(new WeatherPanel(m_settings.get(), m_lang.get(), m_programDir));
    page->contents()->layout()->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));

    m_weatherBox->setChecked(m_settings->readBoolEntry(kGroup, QStringLiteral("WeatherShow"), false));
    connectCheck(m_weatherBox, SLOT(weatherToggled(bool)));
    connect(m_weatherDay, SIGNAL(activated(int)), this, SLOT(woptActivated(int)));

    m_tabWidget->addTab(page, QIcon(icon(QStringLiteral("weather.png"))), QString());
}

void ZGui::festivalToggled(bool on) { writeSwitch(m_festivalBox, QStringLiteral("FestivalNotify"), on); }
void ZGui::customToggled(bool on) { writeSwitch(m_customBox, QStringLiteral("CustomNotify"), on); }
void ZGui::customfestivalToggled(bool on) { writeSwitch(m_customFestivalBox, QStringLiteral("CustomFestival"), on); }
void ZGui::weatherToggled(bool on) { writeSwitch(m_weatherBox, QStringLiteral("WeatherShow"), on); }

void ZGui::writeSwitch(ZCheckBox *box, const QString &key, bool on)
{
    if (!writeSetting(key, on))
        setCheckQuietly(box, !on);
}

void ZGui::woptActivated(int)
{
    if (m_itemSelector && ThemeFiles::isWeatherItem(m_itemSelector->currentItem()))
        optActivated(m_itemSelector->currentItem());
}

void ZGui::customnotifyclicked()
{
    NotifyMng *dlg = new NotifyMng(m_lang.get());
    dlg->exec();
    delete dlg;
}

void ZGui::customfestivalclicked()
{
    FestivalMng *dlg = new FestivalMng(m_lang.get());
    dlg->exec();
    delete dlg;
}

void ZGui::imglistmmclicked()
{
    WallpaperMng *dlg = new WallpaperMng(m_lang.get());
    dlg->exec();
    delete dlg;
}
