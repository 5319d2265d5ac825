#pragma once
// A date picker with a year, a month and a day field. It offers every date from 1901/01/01
// to 2099/12/31 (the notices reserve 1901/01/01 and 1901/01/02). dateChanged(QDate) on every
// change. Phone keys: left / right move between the fields and digits type into the current
// one; up / down are left to the window, which moves the focus, until select starts stepping:
// then up / down step the current field, and select, back or leaving the control stop it.

#include <QDate>
#include <QDateEdit>

class ZDateModule : public QDateEdit
{
    Q_OBJECT
public:
    static QDate firstDate() { return QDate(1901, 1, 1); }
    static QDate lastDate() { return QDate(2099, 12, 31); }

    explicit ZDateModule(QWidget *parent = nullptr, const QString &name = QString());

    // A date outside the offered range is brought to the nearest end of it.
    void setDate(const QDate &date);

    // Up and down step the current field (after select) rather than move the focus.
    bool isStepping() const { return m_stepping; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setStepping(bool on);

    bool m_stepping = false;
};
