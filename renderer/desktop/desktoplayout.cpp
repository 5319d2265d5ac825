#include "desktoplayout.h"

#include <QtGlobal>

namespace Desktop {

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

int chosenScale(QSize screen)
{
    if (screen.height() > screen.width())
        return qMax(1, screen.width() / kWidth);
    return qMax(1, screen.height() * 4 / (5 * kHeight));
}

// The position along one axis: at the start, the middle or the end, `margin` off the edge.
int place(int screenLength, int length, int where, int margin)
{
    if (where < 0)
        return margin;
    if (where > 0)
        return screenLength - length - margin;
    return (screenLength - length) / 2;
}

} // namespace

Layout layoutFor(QSize screen, int requestedScale, Anchor anchor, int margin)
{
    Layout layout;
    layout.scale = requestedScale > 0 ? requestedScale : chosenScale(screen);
    const QSize size(kWidth * layout.scale, kHeight * layout.scale);
    int horizontal = 0, vertical = 0;
    switch (anchor) {
    case Anchor::Center: break;
    case Anchor::Left: horizontal = -1; break;
    case Anchor::Right: horizontal = 1; break;
    case Anchor::TopLeft: horizontal = -1; vertical = -1; break;
    case Anchor::TopRight: horizontal = 1; vertical = -1; break;
    case Anchor::BottomLeft: horizontal = -1; vertical = 1; break;
    case Anchor::BottomRight: horizontal = 1; vertical = 1; break;
    }
    // A picture larger than the screen is centred on the axis it overflows.
    const int x = size.width() + 2 * margin > screen.width() ? (screen.width() - size.width()) / 2
                                                             : place(screen.width(), size.width(), horizontal, margin);
    const int y = size.height() + 2 * margin > screen.height() ? (screen.height() - size.height()) / 2
                                                               : place(screen.height(), size.height(), vertical, margin);
    layout.rect = QRect(QPoint(x, y), size);
    return layout;
}

} // namespace Desktop
