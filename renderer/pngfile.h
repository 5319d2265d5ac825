#pragma once
// The desktop picture's PNG encoding. The picture is written every minute and read once by the
// phone, so the encoder takes the cheapest settings that still compress: no row filters and
// zlib's fastest level (about as small as the adaptive filters at the default level for a
// picture of this kind, in a third of the time).

#include <QString>

class QImage;
class QIODevice;

namespace PngFile {

// Writes `image` to `device` as 8-bit RGB (RGBA when the image has an alpha channel). False,
// with the reason in `error`, when it could not.
bool write(QIODevice *device, const QImage &image, QString *error);

} // namespace PngFile
