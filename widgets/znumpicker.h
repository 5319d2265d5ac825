#pragma once
// A number picker: a value between a minimum and a maximum, changed in steps.
// valueChanged(int) is emitted whenever the value changes, also when the program sets it; a
// value set outside the range is brought to the nearest bound (and that is what is emitted).
// Phone keys: left / right step the value down / up; up / down are left to the window.

#include <QSpinBox>

class ZNumPicker : public QSpinBox
{
    Q_OBJECT
public:
    // digits: how many digits the picker is wide (the value range is set separately).
    explicit ZNumPicker(int digits = 4, QWidget *parent = nullptr, const QString &name = QString());

    void setMinValue(int v) { setMinimum(v); }
    void setMaxValue(int v) { setMaximum(v); }
    void setLineStep(int step) { setSingleStep(step); }
    int minValue() const { return minimum(); }
    int maxValue() const { return maximum(); }
    int lineStep() const { return singleStep(); }

    QSize sizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    int m_digits;
};
