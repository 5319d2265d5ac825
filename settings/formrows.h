#pragma once
// Small layout helpers for the pages of the main window: a caption beside a control, a row of
// controls, each packed into one widget of the page's vertical layout.

#include "zlabel.h"
#include "zphonestyle.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QTextLayout>
#include <QWidget>

namespace FormRows {

// A row of widgets side by side; a null entry stands for a stretch.
inline QWidget *row(std::initializer_list<QWidget *> widgets, QWidget *parent = nullptr)
{
    QWidget *box = new QWidget(parent);
    QHBoxLayout *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (QWidget *w : widgets) {
        if (w)
            layout->addWidget(w);
        else
            layout->addStretch(1);
    }
    return box;
}

// A caption with the control right of it, the control taking the remaining width.
inline QWidget *labelled(const QString &caption, QWidget *control, int captionWidth = 0)
{
    ZLabel *label = new ZLabel(caption);
    if (captionWidth > 0)
        label->setFixedWidth(captionWidth);
    QWidget *box = new QWidget;
    QHBoxLayout *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(label);
    layout->addWidget(control, 1);
    return box;
}

// A caption on a line of its own.
inline ZLabel *caption(const QString &text)
{
    ZLabel *label = new ZLabel(text);
    label->setWordWrap(true);
    return label;
}

// The text broken into lines no wider than width in the font: between words where there are
// blanks, anywhere in a run of characters without (Chinese texts).
inline QString wrapped(const QString &text, const QFont &font, int width)
{
    if (QFontMetrics(font).horizontalAdvance(text) <= width)
        return text;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}

// A button or check box caption that fits the page's width beside its icon.
template <typename Button>
inline void fitCaption(Button *button, int width = 165)
{
    button->setText(wrapped(button->text(), ZPhoneStyle::font(), width));
}

// A selector as wide as the page allows, whatever its entries.
inline void narrow(QComboBox *combo)
{
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(6);
}

} // namespace FormRows
