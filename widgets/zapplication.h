#pragma once
// The application object of every program of the suite.
//
// Where there is no display at all, it runs on the offscreen platform, so the renderer, the
// daemon and the rotator work headless. It maps the phone's font family "AMCSL" to a CJK
// font of the machine, so Chinese texts render everywhere.

#include <QApplication>
#include <QPointer>
#include <QWidget>

class ZApplication : public QApplication
{
    Q_OBJECT
public:
    enum Type { GUI_CLIENT = 0, GUI_SERVER = 1 };

    ZApplication(int &argc, char **argv, Type type = GUI_CLIENT);
    ~ZApplication() override;

    // Switches to the offscreen platform when nothing names a display; call before any
    // application object exists.
    static void chooseHeadlessPlatform();
    // Maps "AMCSL" to the fonts that replace it.
    static void substitutePhoneFont();

    // The application's main widget: closing it (MyBaseDlg::done) quits the application.
    void setMainWidget(QWidget *widget) { m_mainWidget = widget; }
    QWidget *mainWidget() const { return m_mainWidget; }
    // Makes the widget the main widget, shows it and gives it the keypad: without a window
    // manager nothing else would, and the control in focus would show no mark until the
    // first key reached the window.
    void showMainWidget(QWidget *widget)
    {
        setMainWidget(widget);
        widget->show();
        widget->activateWindow();
    }

protected:
    // Marks the control in focus in every phone window from the moment the window becomes
    // active: driven by the keypad, the focus always shows, not only after a key moved it.
    // Keeps the Menu key for the left soft key: no context menu opens on a key.
    bool notify(QObject *receiver, QEvent *event) override;

private:
    QPointer<QWidget> m_mainWidget;
};

extern ZApplication *app;
