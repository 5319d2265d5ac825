#pragma once
// A modal notice: an icon for its type, a title and a text, and an OK key.
// With a time value above 0 it closes by itself (accepted) that many milliseconds after it
// is shown; with 0 (or less) it stays until the user closes it.
// exec() returns 1 when closed with OK, select or by its time, 0 with back (4145).

#include "zplatformdialog.h"

class QLabel;
class QTimer;

class ZNoticeDlg : public ZPlatformDialog
{
    Q_OBJECT
public:
    enum Type { Information = 0, Attention = 1, Error = 2 };

    ZNoticeDlg(int type, int timeValue, const QString &title, const QString &text,
               QWidget *parent = nullptr, const QString &name = QString());

    // Shows a notice over `parent` and waits until it is closed; returns what exec() returns.
    static int inform(int type, int timeValue, const QString &text, QWidget *parent);

    int noticeType() const { return m_type; }
    int timeValue() const { return m_time; }
    QString text() const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int m_type;
    int m_time;
    QLabel *m_text;
    QTimer *m_timer;
};
