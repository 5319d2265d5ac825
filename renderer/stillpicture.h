#pragma once
// The desktop of a minute drawn over its still part.
//
// Within a day only the clock's texts change (DrawImg::Layer). So a run keeps the still part,
// the wallpaper with everything but those texts, in a cache file, and the next run draws the
// clock's texts over it: no other item is laid out, no other font is loaded, no other file is
// read but to see that it is unchanged.
//
// The still part is kept under what its drawing read: the content of every file it looked at
// (ReadLog; MinuteSheet::fileStamp, by size, identity and times for a larger file), whether a file it looked for
// is there, the date, the system's language, the fonts, Qt and the program itself. It is drawn
// anew when any of these differs, and is not kept when a file it read changed while it drew.
//
// The clock's texts over the still part give the very picture a whole composition gives as long
// as no still drawing that comes after the first clock text touches a pixel the clock's texts
// touch. The cache keeps where those drawings lie (one pixel wider all round), and a run whose
// clock would reach them draws the whole picture instead.

#include "minutesheet.h"
#include "pngfile.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace StillPicture {

// A file changed this shortly before a drawing began (or while it drew) may have been read half
// written: the still part drawn from it is not kept.
constexpr qint64 kSettleNs = 50 * 1000 * 1000;

struct Result
{
    QImage image;         // the desktop picture
    QStringList problems; // what could not be read, as DrawImg::problems()
    bool stillKept = false; // the still part came from the cache
    PngFile::Bands bands; // the picture's rows compressed (opaque pictures)
    // When the still part was kept and asked for: the coming minutes of the day over it, with
    // the files they were drawn from (the sheet's context is the caller's to fill in).
    MinuteSheet::Sheet sheet;
};

// The desktop of RenderClock::now() (fixed for the whole run), with `cacheFile` as the cache;
// with the clock of up to `aheadMinutes` minutes from it in Result::sheet.
Result compose(const QString &cacheFile, qint64 settleNs = kSettleNs, int aheadMinutes = 0);

} // namespace StillPicture
