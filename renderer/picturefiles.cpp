#include "picturefiles.h"

#include "boundedfile.h"
#include "imageplugins.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

// A reader of the format the file's name says ("png" for "a.png"), by content when the name
// says nothing; a reader with nothing to read when the file may not be read.
void openReader(QImageReader &reader, const QString &path, bool byContent)
{
    if (!BoundedFile::isRegular(path) || QFileInfo(path).size() > BoundedFile::kPictureCap)
        return;
    reader.setFileName(path);
    if (byContent) {
        // A picture the built-in formats do not read may need an image plugin.
        ImagePlugins::allow();
    } else {
        const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
        if (!suffix.isEmpty()) {
            reader.setFormat(suffix);
            reader.setDecideFormatFromContent(false);
        }
    }
}

} // namespace

PictureFiles::Entry &PictureFiles::entry(const QString &path)
{
    auto found = m_entries.find(path);
    if (found != m_entries.end())
        return *found;
    Entry fresh;
    for (bool byContent : {false, true}) {
        QImageReader reader;
        openReader(reader, path, byContent);
        fresh.stored = reader.size();
        if (fresh.stored.isValid())
            break;
    }
    return *m_entries.insert(path, fresh);
}

QSize PictureFiles::storedSize(const QString &path)
{
    return entry(path).stored;
}

QImage PictureFiles::picture(const QString &path, QSize size)
{
    Entry &found = entry(path);
    if (!found.stored.isValid())
        return QImage();
    if (!size.isValid())
        size = found.stored;
    auto image = found.images.constFind(size);
    if (image != found.images.constEnd())
        return *image;
    ++m_decodings;
    QImage decoded;
    for (bool byContent : {false, true}) {
        QImageReader reader;
        openReader(reader, path, byContent);
        // The reader's own scaling: the pictures stay those of earlier versions pixel for pixel.
        if (size != found.stored)
            reader.setScaledSize(size);
        decoded = reader.read();
        if (!decoded.isNull())
            break;
    }
    return *found.images.insert(size, decoded);
}
