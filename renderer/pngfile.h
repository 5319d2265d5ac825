#pragma once
// The desktop picture's PNG encoding. The picture is written every minute and read once by the
// phone, so the encoder takes the cheapest settings that still compress: no row filters and
// zlib's fastest level (about as small as the adaptive filters at the default level for a
// picture of this kind, in a third of the time).

#include "pngframe.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

#include <vector>

class QImage;
class QIODevice;

namespace PngFile {

// An opaque picture's rows compressed band by band, kBandRows rows to a band, each band on its
// own (the last one ends the stream). A picture that differs from another in a few rows only is
// written by compressing the bands of those rows and taking the others' as they are.
struct Bands
{
    QSize size;
    QList<QByteArray> deflated;
    QList<quint32> sums; // the Adler-32 sum of each band's rows
    bool isValid() const;
};
constexpr int kBandRows = 16;

// The bands of `image` (taken opaque). Where `kept` holds the bands of a picture of the same
// size, the bands that hold none of the rows `first` to `last` are taken from it.
Bands deflateBands(const QImage &image, const Bands *kept = nullptr, int first = 0, int last = -1);
// Writes the picture of `bands` as 8-bit RGB; false, with the reason in `error`, when it could not.
bool writeBands(QIODevice *device, const Bands &bands, QString *error);
// The frame's view of each band, for writers that put the bands in place themselves.
std::vector<PngFrame::BandSums> sumsOf(const Bands &bands);

// Writes `image` to `device` as 8-bit RGB (RGBA when the image has an alpha channel). False,
// with the reason in `error`, when it could not.
bool write(QIODevice *device, const QImage &image, QString *error);

} // namespace PngFile
