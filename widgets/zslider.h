#pragma once
// A slider; valueChanged(int) on every change (QSlider). Phone keys: left / right move it by
// its line step; up / down are left to the window.

#include <QSlider>

class ZSlider : public QSlider
{
    Q_OBJECT
public:
    explicit ZSlider(QWidget *parent = nullptr, const QString &name = QString());
    ZSlider(int minValue, int maxValue, int lineStep, int value,
            Qt::Orientation orientation = Qt::Horizontal, QWidget *parent = nullptr);

    void setLineStep(int step) { setSingleStep(step); }
    int lineStep() const { return singleStep(); }
    // Drops a pressed / dragging state, so the slider reacts to the next touch afresh.
    void clearSelection();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
};
