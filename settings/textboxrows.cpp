#include "textboxrows.h"
#include "themefile.h"

#include "formrows.h"
#include "zcombobox.h"
#include "zconfig.h"
#include "zlabel.h"
#include "znumpicker.h"
#include "zscrollpanel.h"
#include "zseparator.h"

namespace {

constexpr int kScreenW = 240;
constexpr int kScreenH = 320;

ZNumPicker *boxPicker(int max, const QString &name)
{
    ZNumPicker *p = new ZNumPicker(3, nullptr, name);
    p->setMinValue(1);
    p->setMaxValue(max);
    return p;
}

} // namespace

TextBoxRows::TextBoxRows(ZScrollPanel *page, std::function<ZConfig *()> theme,
                         std::function<QString(const QString &)> text, QObject *parent)
    : QObject(parent)
    , m_theme(std::move(theme))
{
    m_width = boxPicker(kScreenW, QStringLiteral("boxWPicker"));
    m_height = boxPicker(kScreenH, QStringLiteral("boxHPicker"));
    m_fit = new ZComboBox(nullptr, QStringLiteral("fitSelector"));
    FormRows::narrow(m_fit);
    for (const char *key : {"FitClip", "FitShrink", "FitElide"})
        m_fit->addItem(text(QLatin1String(key)));

    page->addWidget(new ZSeparator);
    page->addWidget(FormRows::caption(text(QStringLiteral("TextBox"))));
    page->addWidget(FormRows::row({new ZLabel(text(QStringLiteral("Width"))), m_width, nullptr,
                                   new ZLabel(text(QStringLiteral("Height"))), m_height}));
    page->addWidget(FormRows::labelled(text(QStringLiteral("Fit")), m_fit, 80));

    connect(m_width, SIGNAL(valueChanged(int)), this, SLOT(widthChanged(int)));
    connect(m_height, SIGNAL(valueChanged(int)), this, SLOT(heightChanged(int)));
    connect(m_fit, SIGNAL(activated(int)), this, SLOT(fitActivated(int)));
}

const QStringList &TextBoxRows::fitValues()
{
    static const QStringList values = {QStringLiteral("clip"), QStringLiteral("shrink"), QStringLiteral("elide")};
    return values;
}

void TextBoxRows::load(const QString &group)
{
    m_group = group;
    const ZConfig *theme = m_theme();
    if (!theme)
        return;
    m_loading = true;
    m_width->setValue(theme->readNumEntry(group, ThemeKey::BoxW, kScreenW));
    m_height->setValue(theme->readNumEntry(group, ThemeKey::BoxH, kScreenH));
    const QString fit = theme->readEntry(group, ThemeKey::Fit, QString()).trimmed().toLower();
    m_fit->setCurrentIndex(qMax(0, fitValues().indexOf(fit)));
    m_loading = false;
}

void TextBoxRows::write(const QString &key, const QString &value)
{
    ZConfig *theme = m_theme();
    if (m_loading || !theme || m_group.isEmpty())
        return;
    theme->writeEntry(m_group, key, value);
}

void TextBoxRows::widthChanged(int v) { write(ThemeKey::BoxW, QString::number(v)); }
void TextBoxRows::heightChanged(int v) { write(ThemeKey::BoxH, QString::number(v)); }

void TextBoxRows::fitActivated(int index)
{
    if (index >= 0 && index < fitValues().size())
        write(ThemeKey::Fit, fitValues().at(index));
}
