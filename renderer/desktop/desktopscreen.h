#pragma once
// The screen a desktop picture is made for, as the session describes it: the primary monitor's
// size in device pixels (its current mode, not the size the desktop scales it to) and the
// desktop's scale on it.
//
// Each desktop is asked in its own way; the answers are parsed by the pure functions below, so
// they can be checked against replies as the desktops give them.

#include "desktopconfig.h"

#include <QByteArray>
#include <QRect>
#include <QSize>

namespace Desktop {

struct Screen
{
    QSize size;       // the whole picture, in device pixels
    QRect primary;    // the primary monitor within it, where the layout goes
    double scale = 1; // device pixels per pixel of the desktop (1.25, 2, ...)

    bool isValid() const { return !size.isEmpty() && !primary.isEmpty() && scale > 0; }
    // A screen of one monitor.
    static Screen single(QSize size, double scale);
};

// sway's outputs (`swaymsg -t get_outputs -r`): the focused active output, else the first
// active one: its current mode, turned with the output, and its scale. Invalid when none is
// active or the reply is not theirs.
Screen parseSwayOutputs(const QByteArray &json);

// GNOME's display configuration (org.gnome.Mutter.DisplayConfig GetCurrentState, as busctl
// prints it in JSON): the primary logical monitor's first monitor, its current mode turned with
// the logical monitor, and the logical monitor's scale.
Screen parseMutterState(const QByteArray &json);

// The scale an X server's resources give (Xft.dpi over 96); 1 without it.
double parseXftScale(const QByteArray &resources);

// The screen for `target`: its desktop's own answer where it gives one, else the X server's
// primary monitor, else 1920 x 1080.
Screen screenFor(Target target);

} // namespace Desktop
