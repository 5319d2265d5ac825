#pragma once
// Helpers of the renderer tests: a phone with a plain wallpaper, a theme of the test's own,
// a fixed instant, and ways to look at the composed picture.

#include "drawimg.h"
#include "renderclock.h"
#include "testenv.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QRect>

namespace RenderFixture {

// What a run of the program directory's show gave; status -1 when it did not end in time.
struct ShowRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};
// Runs show from the root folder (relative files come from the program directory) with none
// of the machine's display, desktop or session bus, with `environment` ("NAME=value") added,
// under the command `prefix` when one is given. Under faketime, the font library sees the real
// dates of its cache (NO_FAKE_STAT=1), or it rewrites the system's font cache.
ShowRun runShow(const QStringList &arguments = {}, const QStringList &environment = {}, const QStringList &prefix = {});

// The wallpaper colour of every test picture.
inline QColor wallColour() { return QColor(0, 0, 255); }

// Writes a 240 x 320 wallpaper of wallColour() and names it as the phone's wallpaper, a
// theme "t.theme" with the given text, settings.ini with the given text after CurrentTheme,
// an empty notify.db and no weather file, and drops any working copy of a theme.
void setUp(const QByteArray &theme, const QByteArray &settings = QByteArray());

// Renders at the given local instant and returns the picture.
QImage render(const QDateTime &at);

// The picture setUp()'s wallpaper gives with one text drawn over it as the renderer's text box
// draws it: font "AMCSL" of that size, corner (x, y), colour (r, g, b).
QImage expectedText(const QString &text, int pointSize, int x, int y, const QColor &colour);

// Bounding box of the pixels that match a test; null when none does.
template <typename Match>
QRect boundsOf(const QImage &image, Match match)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (match(QColor(image.pixel(x, y))))
                box |= QRect(x, y, 1, 1);
    return box;
}

inline bool isPure(const QColor &c, const QColor &want) { return c.rgb() == want.rgb(); }
// The grey of a shadow, allowing for the blend at glyph edges.
inline bool isGrey(const QColor &c)
{
    return qAbs(c.red() - 128) < 24 && qAbs(c.green() - 128) < 24 && qAbs(c.blue() - 128) < 24
        && qAbs(c.red() - c.blue()) < 12;
}
inline QRect boundsOfColour(const QImage &image, const QColor &want)
{
    return boundsOf(image, [&](const QColor &c) { return isPure(c, want); });
}

// An item group of a theme: "[Group]\nEnable = true\nFontSize = ...\n..." + extra lines.
QByteArray textItem(const QByteArray &group, int fontSize, int x, int y, const QColor &colour,
                    const QByteArray &extra = QByteArray());

} // namespace RenderFixture
