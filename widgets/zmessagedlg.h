#pragma once
// A modal question or message. Type 0 shows the text with an OK key; type 1 asks a question
// with OK (accept) and Cancel (reject). exec() returns 1 when accepted, 0 otherwise.

#include "zplatformdialog.h"

class QLabel;

class ZMessageDlg : public ZPlatformDialog
{
    Q_OBJECT
public:
    enum Type { Message = 0, Question = 1 };

    ZMessageDlg(const QString &title, const QString &text, int type = Message,
                QWidget *parent = nullptr, const QString &name = QString());

    int messageType() const { return m_type; }
    QString text() const;

private:
    int m_type;
    QLabel *m_text;
};
