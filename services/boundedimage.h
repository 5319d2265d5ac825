#pragma once
// Bounded reading of pictures: the image half of BoundedFile, which needs Qt Gui.

#include "boundedfile.h"

#include <QImage>

namespace BoundedFile {

// A picture file of at most kPictureCap bytes; a null image for anything else.
QImage readImage(const QString &path);

} // namespace BoundedFile
