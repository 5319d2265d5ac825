#include "zdialogmonitor.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

ZDialogMonitor *ZDialogMonitor::instance()
{
    static ZDialogMonitor *monitor = new ZDialogMonitor;
    return monitor;
}

void ZDialogMonitor::reportShown(QWidget *dialog)
{
    // Queued: the report arrives once the dialog's modal loop runs, so that a receiver that
    // closes the dialog at once ends that loop.
    QPointer<QWidget> guard(dialog);
    QMetaObject::invokeMethod(
        this,
        [this, guard] {
            if (guard && guard->isVisible())
                emit dialogShown(guard);
        },
        Qt::QueuedConnection);
}
