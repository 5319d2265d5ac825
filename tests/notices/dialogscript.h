#pragma once
// Answers the modal dialogs of a test in the order they appear: each dialog that starts to run
// is handed to the next step of the script, which must close it. A dialog that comes when no
// step is left is rejected and counted, so a test can never hang on it.

#include "zdialogmonitor.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class DialogScript : public QObject
{
public:
    using Step = std::function<void(QWidget *)>;

    DialogScript()
    {
        connect(ZDialogMonitor::instance(), &ZDialogMonitor::dialogShown, this, [this](QWidget *dlg) {
            if (m_steps.isEmpty()) {
                ++unexpected;
                QMetaObject::invokeMethod(dlg, "reject");
                return;
            }
            ++shown;
            m_steps.takeFirst()(dlg);
        });
    }

    DialogScript &then(const Step &step)
    {
        m_steps.append(step);
        return *this;
    }
    int pending() const { return int(m_steps.size()); }

    int shown = 0;
    int unexpected = 0;

private:
    QList<Step> m_steps;
};
