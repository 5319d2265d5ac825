#pragma once
// A one-line text field. Up and down are left to the window (moving the focus).

#include <QLineEdit>

class ZLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit ZLineEdit(QWidget *parent = nullptr, const QString &name = QString());
    explicit ZLineEdit(const QString &text, QWidget *parent = nullptr);
};
