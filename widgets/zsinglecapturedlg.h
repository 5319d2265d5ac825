#pragma once
// A modal one-line text input with a title and a prompt; OK (or Return in the field) accepts,
// Cancel rejects. The dialog keeps its text between runs, so a caller that refuses an answer
// shows it again with the last text.

#include "zplatformdialog.h"

class QLabel;
class ZLineEdit;

class ZSingleCaptureDlg : public ZPlatformDialog
{
    Q_OBJECT
public:
    ZSingleCaptureDlg(const QString &title, const QString &prompt, QWidget *parent = nullptr,
                      const QString &name = QStringLiteral("ZSingleCaptureDlg"));

    QString text() const;
    void setText(const QString &text);
    QString prompt() const;
    ZLineEdit *lineEdit() const { return m_edit; }

public slots:
    int exec() override;

private:
    QLabel *m_prompt;
    ZLineEdit *m_edit;
};
