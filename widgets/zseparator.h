#pragma once
// A thin line between groups of controls.

#include <QFrame>

class ZSeparator : public QFrame
{
    Q_OBJECT
public:
    explicit ZSeparator(Qt::Orientation orientation = Qt::Horizontal, QWidget *parent = nullptr);
};
