#pragma once
// A text label (plain or rich text) in the phone's font.

#include <QLabel>

class ZLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ZLabel(const QString &text = QString(), QWidget *parent = nullptr,
                    const QString &name = QString());

    // The colour of the text.
    void setTextColor(const QColor &color);
    QColor textColor() const;
};
