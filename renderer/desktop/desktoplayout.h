#pragma once
// Where the 240 x 320 layout sits on a real screen, and at which integer scale.

#include "desktopconfig.h"

#include <QRect>
#include <QSize>

namespace Desktop {

struct Layout
{
    int scale = 1;  // k: the layout is drawn at k device pixels per theme pixel
    QRect rect;     // where the picture lies on the screen, in device pixels
};

// The layout on a screen of `screen` device pixels. With `requestedScale` 0 the scale is the
// largest k for which the layout fills at most 80 % of the screen's height (at least 1); on a
// portrait screen the layout fills the width instead, k being the width divided by 240. The
// margin keeps the picture off the anchored edges; the picture is kept on the screen where it
// fits.
Layout layoutFor(QSize screen, int requestedScale, Anchor anchor, int margin);

} // namespace Desktop
