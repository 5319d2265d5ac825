#pragma once
// A push button with an optional icon; clicked() when pressed with the mouse or the select key.

#include <QPushButton>

class ZPressButton : public QPushButton
{
    Q_OBJECT
public:
    explicit ZPressButton(const QString &text = QString(), QWidget *parent = nullptr,
                          const QString &name = QString());
    ZPressButton(const QPixmap &icon, const QString &text, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
