#pragma once
// A check box with an optional icon before its text; toggled(bool) on every change.

#include <QCheckBox>

class ZCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit ZCheckBox(const QString &text = QString(), QWidget *parent = nullptr,
                       const QString &name = QString());
    ZCheckBox(const QPixmap &icon, const QString &text, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
