#include "namedpicker.h"

#include <QLineEdit>

NamedPicker::NamedPicker(int digits, QWidget *parent)
    : ZNumPicker(digits, parent)
{
}

void NamedPicker::setNamer(const Namer &namer)
{
    m_namer = namer;
    // Names are chosen with the keys, not typed.
    lineEdit()->setReadOnly(bool(m_namer));
    lineEdit()->setText(textFromValue(value()));
}

QString NamedPicker::textFromValue(int value) const
{
    return m_namer ? m_namer(value) : ZNumPicker::textFromValue(value);
}

int NamedPicker::valueFromText(const QString &text) const
{
    if (!m_namer)
        return ZNumPicker::valueFromText(text);
    for (int v = minimum(); v <= maximum(); ++v)
        if (m_namer(v) == text)
            return v;
    return value();
}

QValidator::State NamedPicker::validate(QString &input, int &pos) const
{
    if (!m_namer)
        return ZNumPicker::validate(input, pos);
    for (int v = minimum(); v <= maximum(); ++v)
        if (m_namer(v) == input)
            return QValidator::Acceptable;
    return QValidator::Intermediate;
}
