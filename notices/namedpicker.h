#pragma once
// A number picker that can show its values by name, as the lunar month and day pickers do in
// Chinese (正 … 腊, 初一 … 三十). Without names it is a plain number picker; the value stays
// the number either way.

#include "znumpicker.h"

#include <functional>

class NamedPicker : public ZNumPicker
{
    Q_OBJECT
public:
    using Namer = std::function<QString(int)>;

    explicit NamedPicker(int digits = 4, QWidget *parent = nullptr);

    // The name of each value; an empty function shows numbers.
    void setNamer(const Namer &namer);

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString &text) const override;
    QValidator::State validate(QString &input, int &pos) const override;

private:
    Namer m_namer;
};
