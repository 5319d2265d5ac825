#pragma once
// The emulated phone: its screen, and beside it what the phone's hardware does: the display
// switched off and on, the two theme keys pressed and released, and which window is in front.

#include <QWidget>

class PhoneScreen;
class QLabel;
class QPushButton;
class QRadioButton;

class PhoneWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PhoneWindow(QWidget *parent = nullptr);

    PhoneScreen *screen() const { return m_screen; }

private:
    QWidget *keyButton(const QString &text, int code);
    void syncControls();

    PhoneScreen *m_screen;
    QPushButton *m_display;
    QRadioButton *m_idleFront;
    QRadioButton *m_otherFront;
    QLabel *m_status;
};
