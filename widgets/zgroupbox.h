#pragma once
// A titled frame around a group of controls.

#include <QGroupBox>

class ZGroupBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit ZGroupBox(const QString &title = QString(), QWidget *parent = nullptr,
                       const QString &name = QString());
};
