#pragma once
// Answers the modal dialogs a test provokes, in the order they appear, and records what each
// showed. Each answer is a function given the dialog; without an answer left, a dialog is
// rejected (and recorded), so a test never hangs on an unexpected dialog.

#include "zdialogmonitor.h"
#include "znoticedlg.h"

#include <QDialog>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "mybasedlg.h"

struct ShownDialog
{
    QString className;
    QString text;   // a notice's or message's text, a dialog's title otherwise
    int type = -1;  // a notice's type
    int time = -1;  // a notice's time value
};

class DialogScript : public QObject
{
    Q_OBJECT
public:
    using Answer = std::function<void(QWidget *)>;

    DialogScript();
    ~DialogScript() override;

    // Every notice is closed at once unless an answer is queued for it.
    void setAcceptNotices(bool on) { m_acceptNotices = on; }
    void expect(const Answer &answer) { m_answers << answer; }
    void clear();

    const QList<ShownDialog> &shown() const { return m_shown; }
    QStringList shownTexts() const;
    QStringList shownClasses() const;
    int pending() const { return m_answers.size(); }

    // Ready-made answers.
    static Answer accept();
    static Answer reject();
    // Types a text into the one-line input and accepts it.
    static Answer typeAndAccept(const QString &text);
    // Closes with the phone's back key.
    static Answer backKey();

private:
    void onShown(QWidget *dialog);

    QList<ShownDialog> m_shown;
    QList<Answer> m_answers;
    bool m_acceptNotices = true;
};
