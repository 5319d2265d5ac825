#pragma once
// Rows of a wallpaper list box: the thumbnail in column 0, then the file name and the whole
// path as the two text lines of column 1. The manager and the reorder dialog share them.

#include <QString>
#include <QStringList>

class QPixmap;
class ThumbnailLoader;
class ZListBox;

namespace WallpaperRows {

// Rebuilds every row of `box` from `entries` with the row format ("%I%M" or "%C%M").
// Thumbnails not yet known arrive later through the loader (see connect()).
void fill(ZListBox *box, const QStringList &entries, const QString &format, ThumbnailLoader *thumbs);

// Sets the thumbnails the loader reports on the rows of `box` that show their path.
void connect(ZListBox *box, ThumbnailLoader *thumbs);

// Shows the list from the top, or else far enough down for the current row, whenever the list
// box changes size (a list filled before its window was laid out would otherwise stay scrolled
// for the size it had then).
void keepCurrentVisible(ZListBox *box);

// The loader decodes the rows around the current row first.
void preferCurrent(ZListBox *box, ThumbnailLoader *thumbs);

// The path a row shows on line 1 of column 1.
QString pathOf(ZListBox *box, int row);

// Sets a decoded thumbnail on row `row` when it shows `path`, otherwise on every row showing it.
void setThumbnail(ZListBox *box, int row, const QString &path, const QPixmap &thumbnail);

// The page step of the list dialogs: the rows, among all but the last, that the list box shows
// whole, less one; at least 1, so a page key always moves on a short list.
int pageStep(const ZListBox *box);

// The row a page key leads to. A page down scrolls the list so that row is its bottom row.
int pageUp(const ZListBox *box);
int pageDown(ZListBox *box);

} // namespace WallpaperRows
