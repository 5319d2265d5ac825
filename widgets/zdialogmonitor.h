#pragma once
// Reports every modal dialog of the process as it starts to run, so that a test (or a
// recording tool) can read what a dialog shows and answer it:
//
//   connect(ZDialogMonitor::instance(), &ZDialogMonitor::dialogShown, [](QWidget *dlg) {
//       if (auto notice = qobject_cast<ZNoticeDlg *>(dlg)) { seen << notice->text(); notice->accept(); }
//   });
//
// dialogShown is emitted from inside the dialog's own modal event loop, once per exec, so the
// receiver may close the dialog at once.

#include <QObject>
#include <QPointer>

class QWidget;

class ZDialogMonitor : public QObject
{
    Q_OBJECT
public:
    static ZDialogMonitor *instance();

    // Called by a dialog just before it enters its modal loop.
    void reportShown(QWidget *dialog);

signals:
    void dialogShown(QWidget *dialog);

private:
    ZDialogMonitor() = default;
};
