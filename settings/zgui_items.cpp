// The item editor tab: one theme item at a time, every change written at once into the theme
// store under the item's group.

#include "zgui.h"
#include "themefile.h"

#include "formrows.h"
#include "langtext.h"
#include "textboxrows.h"
#include "themefiles.h"
#include "zcheckbox.h"
#include "zcombobox.h"
#include "zconfig.h"
#include "zlabel.h"
#include "znavtabwidget.h"
#include "znumpicker.h"
#include "zscrollpanel.h"
#include "zseparator.h"
#include "zslider.h"

namespace {

ZNumPicker *picker(int max, const QString &name)
{
    ZNumPicker *p = new ZNumPicker(3, nullptr, name);
    p->setMinValue(0);
    p->setMaxValue(max);
    return p;
}

ZSlider *colorSlider(const QString &name)
{
    ZSlider *s = new ZSlider(0, 255, 10, 0, Qt::Horizontal);
    s->setObjectName(name);
    return s;
}

// The number beside a colour slider, following its value.
ZLabel *sliderValue(ZSlider *slider, const QString &name)
{
    ZLabel *label = new ZLabel(QString::number(slider->value()), nullptr, name);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 4);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QObject::connect(slider, &QSlider::valueChanged, label, [label](int v) { label->setNum(v); });
    return label;
}

// The colour sample shows the item's colour on a background it stands out from: dark behind
// light colours, light behind dark ones.
void paintSample(ZLabel *sample, const QColor &color)
{
    sample->setTextColor(color);
    const bool light = 299 * color.red() + 587 * color.green() + 114 * color.blue() > 128000;
    QPalette p = sample->palette();
    p.setColor(QPalette::Window, light ? QColor(32, 32, 32) : QColor(240, 240, 240));
    sample->setPalette(p);
    sample->setAutoFillBackground(true);
}

} // namespace

void ZGui::createTab4()
{
    ZScrollPanel *page = newPage();
    page->setObjectName(QStringLiteral("itemPage"));
    const QString x = QStringLiteral("X:");
    const QString y = QStringLiteral("Y:");

    m_itemSelector = new ZComboBox(nullptr, QStringLiteral("itemSelector"));

    FormRows::narrow(m_itemSelector);
    for (const QString &key : ThemeFiles::itemTextKeys())
        m_itemSelector->addItem(getText(key));

    m_enableBox = new ZCheckBox(icon(QStringLiteral("enable.png")), getText(QStringLiteral("Enable")));
    m_enableBox->setObjectName(QStringLiteral("enableBox"));
    FormRows::fitCaption(m_enableBox.data());
    m_shadowBox = new ZCheckBox(icon(QStringLiteral("shadow.png")), getText(QStringLiteral("Shadow")));
    m_shadowBox->setObjectName(QStringLiteral("shadowBox"));
    FormRows::fitCaption(m_shadowBox.data());

    m_sizePicker = picker(100, QStringLiteral("sizePicker"));
    m_rotatePicker = picker(360, QStringLiteral("rotatePicker"));
    m_posXPicker = picker(240, QStringLiteral("posXPicker"));
    m_posYPicker = picker(320, QStringLiteral("posYPicker"));
    m_redSlider = colorSlider(QStringLiteral("redSlider"));
    m_greenSlider = colorSlider(QStringLiteral("greenSlider"));
    m_blueSlider = colorSlider(QStringLiteral("blueSlider"));
    m_colorSample = new ZLabel(getText(QStringLiteral("FontColor")), nullptr, QStringLiteral("colorSample"));
    m_colorSample->setAlignment(Qt::AlignCenter);
    // At a large text size the sample is cut at the page's edge: its text never widens the page.
    m_colorSample->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_pictures = ThemeFiles::pictureEntries(m_programDir);
    m_pictureSelector = new ZComboBox(nullptr, QStringLiteral("pictureSelector"));
    FormRows::narrow(m_pictureSelector);
    m_pictureSelector->addItems(m_pictures);
    m_imgWPicker = picker(240, QStringLiteral("imgWPicker"));
    m_imgHPicker = picker(320, QStringLiteral("imgHPicker"));
    m_imgXPicker = picker(240, QStringLiteral("imgXPicker"));
    m_imgYPicker = picker(320, QStringLiteral("imgYPicker"));

    page->addWidget(FormRows::labelled(getText(QStringLiteral("Item")), m_itemSelector));
    // Weather items edit the day the weather tab chooses: the editor says so under the item.
    m_weatherDayHint = new ZLabel(QString(), nullptr, QStringLiteral("weatherDayHint"));
    m_weatherDayHint->setWordWrap(true);
    m_weatherDayHint->hide();
    page->addWidget(m_weatherDayHint);
    page->addWidget(FormRows::row({m_enableBox, m_shadowBox, nullptr}));
    page->addWidget(FormRows::labelled(getText(QStringLiteral("FontSize")), m_sizePicker, 80));
    page->addWidget(FormRows::labelled(getText(QStringLiteral("RotateAngle")), m_rotatePicker, 80));
    page->addWidget(new ZSeparator);
    page->addWidget(FormRows::caption(getText(QStringLiteral("Position"))));
    page->addWidget(FormRows::row({new ZLabel(x), m_posXPicker, nullptr, new ZLabel(y), m_posYPicker}));
    page->addWidget(new ZSeparator);
    page->addWidget(m_colorSample);
    page->addWidget(FormRows::row({new ZLabel(QStringLiteral("R")), m_redSlider,
                                   sliderValue(m_redSlider, QStringLiteral("redValue"))}));
    page->addWidget(FormRows::row({new ZLabel(QStringLiteral("G")), m_greenSlider,
                                   sliderValue(m_greenSlider, QStringLiteral("greenValue"))}));
    page->addWidget(FormRows::row({new ZLabel(QStringLiteral("B")), m_blueSlider,
                                   sliderValue(m_blueSlider, QStringLiteral("blueValue"))}));
    page->addWidget(new ZSeparator);
    page->addWidget(FormRows::caption(getText(QStringLiteral("BgImage"))));
    page->addWidget(m_pictureSelector);
    page->addWidget(FormRows::caption(getText(QStringLiteral("ImageSize"))));
    page->addWidget(FormRows::row({new ZLabel(getText(QStringLiteral("Width"))), m_imgWPicker, nullptr,
                                   new ZLabel(getText(QStringLiteral("Height"))), m_imgHPicker}));
    page->addWidget(FormRows::caption(getText(QStringLiteral("ImagePositon"))));
    page->addWidget(FormRows::row({new ZLabel(x), m_imgXPicker, nullptr, new ZLabel(y), m_imgYPicker}));
    m_textBoxRows = new TextBoxRows(
        page, [this] { return m_theme.get(); }, [this](const QString &key) { return getText(key); }, this);

    connect(m_itemSelector, SIGNAL(activated(int)), this, SLOT(optActivated(int)));
    connect(m_sizePicker, SIGNAL(valueChanged(int)), this, SLOT(sizeChanged(int)));
    connect(m_rotatePicker, SIGNAL(valueChanged(int)), this, SLOT(rotateChanged(int)));
    connect(m_posXPicker, SIGNAL(valueChanged(int)), this, SLOT(posXChanged(int)));
    connect(m_posYPicker, SIGNAL(valueChanged(int)), this, SLOT(posYChanged(int)));
    connect(m_redSlider, SIGNAL(valueChanged(int)), this, SLOT(colorRchanged(int)));
    connect(m_greenSlider, SIGNAL(valueChanged(int)), this, SLOT(colorGchanged(int)));
    connect(m_blueSlider, SIGNAL(valueChanged(int)), this, SLOT(colorBchanged(int)));
    connect(m_pictureSelector, SIGNAL(activated(int)), this, SLOT(picActivated(int)));
    connect(m_imgXPicker, SIGNAL(valueChanged(int)), this, SLOT(imgXChanged(int)));
    connect(m_imgYPicker, SIGNAL(valueChanged(int)), this, SLOT(imgYChanged(int)));
    connect(m_imgWPicker, SIGNAL(valueChanged(int)), this, SLOT(imgWChanged(int)));
    connect(m_imgHPicker, SIGNAL(valueChanged(int)), this, SLOT(imgHChanged(int)));

    m_tabWidget->addTab(page, QIcon(icon(QStringLiteral("theme.png"))), QString());
    optActivated(0);
}

void ZGui::optActivated(int index)
{
    const int day = m_weatherDay ? qMax(0, m_weatherDay->currentItem()) : 0;
    const QString group = ThemeFiles::itemGroup(index, day);
    if (group.isEmpty() || !m_enableBox || !m_shadowBox)
        return;
    m_currentGroup = group;
    if (m_weatherDayHint) {
        const bool weather = ThemeFiles::isWeatherItem(index);
        if (weather)
            m_weatherDayHint->setText(::getText(m_lang.get(), QStringLiteral("WeatherDayHint"),
                                                QStringLiteral("The day of weather items is chosen on the Weather tab, now: %1."))
                                          .arg(m_weatherDay ? m_weatherDay->currentText() : QString()));
        m_weatherDayHint->setVisible(weather);
    }

    const ZConfig &t = *m_theme;
    const bool enable = t.readBoolEntry(group, ThemeKey::Enable, false);
    const bool shadow = t.readBoolEntry(group, ThemeKey::Shadow, false);
    auto num = [&](const char *key) { return t.readNumEntry(group, QLatin1String(key), -1); };
    const int rotate = num("RotateAngle");
    const int size = num("FontSize");
    const int red = num("FontColor_R");
    const int green = num("FontColor_G");
    const int blue = num("FontColor_B");
    const int posX = num("Position_X");
    const int posY = num("Position_Y");
    const QString picture = t.readEntry(group, ThemeKey::BGImage, QString());
    const int imgX = num("BGImage_X");
    const int imgY = num("BGImage_Y");
    const int imgW = num("BGImage_W");
    const int imgH = num("BGImage_H");

    // The check boxes follow their mirrors: toggled only when the stored flag differs, and
    // never written back while loading.
    disconnect(m_enableBox, SIGNAL(toggled(bool)), this, SLOT(enableToggled(bool)));
    if (m_enableMirror != enable) {
        m_enableBox->toggle();
        m_enableMirror = enable;
    }
    connectCheck(m_enableBox, SLOT(enableToggled(bool)));
    disconnect(m_shadowBox, SIGNAL(toggled(bool)), this, SLOT(shadowToggled(bool)));
    if (m_shadowMirror != shadow) {
        m_shadowBox->toggle();
        m_shadowMirror = shadow;
    }
    connectCheck(m_shadowBox, SLOT(shadowToggled(bool)));

    // The controls bring values outside their ranges (-1 for a missing key) to their bounds;
    // what they emit while loading is not written, so loading leaves the theme as it is.
    m_loadingItem = true;
    m_rotatePicker->setValue(rotate);
    m_sizePicker->setValue(size);
    m_posXPicker->setValue(posX);
    m_posYPicker->setValue(posY);
    m_redSlider->setValue(red);
    m_greenSlider->setValue(green);
    m_blueSlider->setValue(blue);
    setSampleColor(red, green, blue);
    m_pictureSelector->setCurrentItem(ThemeFiles::pictureIndex(m_pictures, picture));
    m_imgXPicker->setValue(imgX);
    m_imgYPicker->setValue(imgY);
    m_imgWPicker->setValue(imgW);
    m_imgHPicker->setValue(imgH);
    m_loadingItem = false;
    if (m_textBoxRows)
        m_textBoxRows->load(group);
}

void ZGui::writeItem(const QString &key, int value)
{
    if (m_loadingItem)
        return;
    writeTheme(key, QString::number(value));
}

bool ZGui::writeTheme(const QString &key, const QString &value)
{
    if (m_theme->writeEntry(m_currentGroup, key, value)) {
        m_unsavedEdits = true;
        return true;
    }
    m_theme->reload();
    writeFailed("ThemeWriteFailedText", "The theme under edit could not be written.");
    // The controls show the item as it is stored.
    if (m_itemSelector)
        optActivated(m_itemSelector->currentItem());
    return false;
}

void ZGui::setSampleColor(int red, int green, int blue)
{
    if (m_colorSample)
        paintSample(m_colorSample, QColor(qBound(0, red, 255), qBound(0, green, 255), qBound(0, blue, 255)));
}

void ZGui::writeColor(int part, int value)
{
    static const char *const keys[] = {"FontColor_R", "FontColor_G", "FontColor_B"};
    if (m_colorSample) {
        QColor c = m_colorSample->textColor();
        const int v = qBound(0, value, 255);
        if (part == 0)
            c.setRed(v);
        else if (part == 1)
            c.setGreen(v);
        else
            c.setBlue(v);
        paintSample(m_colorSample, c);
    }
    writeItem(QLatin1String(keys[part]), value);
}

void ZGui::enableToggled(bool on)
{
    m_enableMirror = on;
    writeTheme(ThemeKey::Enable, on ? QStringLiteral("true") : QStringLiteral("false"));
}

void ZGui::shadowToggled(bool on)
{
    m_shadowMirror = on;
    writeTheme(ThemeKey::Shadow, on ? QStringLiteral("true") : QStringLiteral("false"));
}

void ZGui::sizeChanged(int v)
{
    // The sample shows the item's text size, within what the editor's row can hold.
    if (m_colorSample) {
        QFont f = m_colorSample->font();
        f.setPixelSize(qBound(8, v, 40));
        m_colorSample->setFont(f);
    }
    writeItem(ThemeKey::FontSize, v);
}
void ZGui::rotateChanged(int v) { writeItem(ThemeKey::RotateAngle, v); }
void ZGui::posXChanged(int v) { writeItem(ThemeKey::PositionX, v); }
void ZGui::posYChanged(int v) { writeItem(ThemeKey::PositionY, v); }
void ZGui::imgXChanged(int v) { writeItem(ThemeKey::BGImageX, v); }
void ZGui::imgYChanged(int v) { writeItem(ThemeKey::BGImageY, v); }
void ZGui::imgWChanged(int v) { writeItem(ThemeKey::BGImageW, v); }
void ZGui::imgHChanged(int v) { writeItem(ThemeKey::BGImageH, v); }
void ZGui::colorRchanged(int v) { writeColor(0, v); }
void ZGui::colorGchanged(int v) { writeColor(1, v); }
void ZGui::colorBchanged(int v) { writeColor(2, v); }

void ZGui::picActivated(int index)
{
    if (index < 0 || index >= m_pictures.size())
        return;
    writeTheme(ThemeKey::BGImage, m_pictures.at(index));
}
