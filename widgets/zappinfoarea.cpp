#include "zappinfoarea.h"

#include "zphonestyle.h"

#include <QHBoxLayout>
#include <QLabel>

ZAppInfoArea::ZAppInfoArea(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    setAttribute(Qt::WA_StyledBackground, true);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    setFixedHeight(sizeHint().height());
}

QSize ZAppInfoArea::sizeHint() const
{
    return QSize(240, QFontMetrics(ZPhoneStyle::font(9)).height() + 5);
}

void ZAppInfoArea::setText(const QString &text, int area)
{
    if (area < 0)
        return;
    while (m_areas.size() <= area) {
        auto *label = new QLabel(this);
        label->setFont(ZPhoneStyle::font(9));
        label->setTextFormat(Qt::PlainText);
        const bool first = m_areas.isEmpty();
        label->setAlignment(Qt::AlignVCenter | (first ? Qt::AlignLeft : Qt::AlignRight));
        m_layout->addWidget(label, first ? 1 : 0);
        m_areas.append(label);
    }
    m_areas[area]->setText(text);
}

QString ZAppInfoArea::text(int area) const
{
    return area >= 0 && area < m_areas.size() ? m_areas[area]->text() : QString();
}

int ZAppInfoArea::areaCount() const
{
    return m_areas.size();
}

void ZAppInfoArea::removeAll()
{
    qDeleteAll(m_areas);
    m_areas.clear();
}
