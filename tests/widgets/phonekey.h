#pragma once
// Sends a key press with a phone key code (4144, 4145, 4114 ...) as the phone reports it.
// The event goes through the application, so a widget that leaves the key passes it on to its
// parent like a real key press.

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

inline bool sendPhoneKey(QWidget *target, int code)
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    return press.isAccepted();
}
