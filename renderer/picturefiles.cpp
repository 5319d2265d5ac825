#include "picturefiles.h"

#include "boundedfile.h"
#include "imageplugins.h"
#include "rawimage.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <sys/stat.h>

namespace {

// The cache file (RawImage::readCache): this mark and version, then the number of files and for
// each its stamp, its stored size and the number of its pictures, each the size asked for and
// the picture as raw pixels (RawImage).
constexpr quint32 kCacheMark = 0x50435331;
// More files or pictures of a file than a theme draws mark a malformed cache.
constexpr quint32 kMaxFiles = 256;
constexpr quint32 kMaxSizes = 16;

// A reader of the open `file` from its start, of the format the file's name says ("png" for
// "a.png"), by content when the name says nothing or when `byContent`.
void openReader(QImageReader &reader, QFile &file, bool byContent)
{
    file.seek(0);
    reader.setDevice(&file);
    if (byContent) {
        // A picture the built-in formats do not read may need an image plugin.
        ImagePlugins::allow();
        reader.setDecideFormatFromContent(true);
        return;
    }
    const QByteArray suffix = QFileInfo(file.fileName()).suffix().toLower().toLatin1();
    if (!suffix.isEmpty()) {
        reader.setFormat(suffix);
        reader.setDecideFormatFromContent(false);
    }
}

} // namespace

void PictureFiles::useCache(const QString &path)
{
    m_cachePath = path;
    m_cached.clear();
    QHash<QByteArray, Pictures> cached;
    const bool read = RawImage::readCache(path, kCacheMark, kCacheCap, [&cached](QDataStream &in) {
        quint32 files = 0;
        in >> files;
        if (in.status() != QDataStream::Ok || files > kMaxFiles)
            return false;
        for (quint32 f = 0; f < files; ++f) {
            QByteArray stamp;
            Pictures pictures;
            quint32 sizes = 0;
            in >> stamp >> pictures.stored >> sizes;
            if (in.status() != QDataStream::Ok || stamp.isEmpty() || !pictures.stored.isValid() || sizes > kMaxSizes)
                return false;
            for (quint32 i = 0; i < sizes; ++i) {
                QSize asked;
                in >> asked;
                const QImage image = RawImage::read(in);
                if (in.status() != QDataStream::Ok || image.isNull())
                    return false;
                pictures.images.insert(asked, image);
            }
            cached.insert(stamp, pictures);
        }
        return true;
    });
    // Only a cache read to its very end is taken.
    if (read)
        m_cached = cached;
}

bool PictureFiles::saveCache()
{
    if (m_cachePath.isEmpty() || m_decodings == 0)
        return true;
    // The pictures drawn in this run, as far as the cap allows.
    struct Kept
    {
        QByteArray stamp;
        QSize stored;
        QList<std::pair<QSize, QImage>> images;
    };
    QList<Kept> kept;
    qint64 bytes = 64;
    for (const Entry &found : std::as_const(m_entries)) {
        if (found.stamp.isEmpty() || !found.pictures.stored.isValid())
            continue;
        Kept file{found.stamp, found.pictures.stored, {}};
        qint64 own = found.stamp.size() + 64;
        for (auto image = found.pictures.images.cbegin(); image != found.pictures.images.cend(); ++image) {
            if (image.value().isNull() || file.images.size() == int(kMaxSizes)
                || image.value().width() > RawImage::kMaxSide || image.value().height() > RawImage::kMaxSide)
                continue;
            file.images.append({image.key(), image.value()});
            own += image.value().sizeInBytes() + 64;
        }
        if (file.images.isEmpty() || bytes + own > kCacheCap || kept.size() == int(kMaxFiles))
            continue;
        bytes += own;
        kept << file;
    }
    // What was decoded could not be kept (a picture above the cap): the cache already holds all
    // that can be, and is not written again every run.
    const auto alreadyCached = [this](const Kept &file) {
        const auto found = m_cached.constFind(file.stamp);
        if (found == m_cached.cend() || found->images.size() != file.images.size())
            return false;
        for (const auto &[asked, image] : file.images)
            if (!found->images.contains(asked))
                return false;
        return true;
    };
    if (kept.size() == m_cached.size() && std::all_of(kept.cbegin(), kept.cend(), alreadyCached))
        return true;
    return RawImage::writeCache(m_cachePath, kCacheMark, [&kept](QDataStream &out) {
        out << quint32(kept.size());
        for (const Kept &file : std::as_const(kept)) {
            out << file.stamp << file.stored << quint32(file.images.size());
            for (const auto &[asked, image] : file.images) {
                out << asked;
                RawImage::write(out, image);
            }
        }
    });
}

PictureFiles::Entry &PictureFiles::entry(const QString &path)
{
    auto found = m_entries.find(path);
    if (found != m_entries.end())
        return *found;
    Entry fresh;
    struct stat st;
    fresh.file = BoundedFile::openRegular(path, &st);
    if (fresh.file && qint64(st.st_size) > BoundedFile::kPictureCap)
        fresh.file.reset();
    if (fresh.file && !m_cachePath.isEmpty()) {
        fresh.stamp = RawImage::stamp(path, *fresh.file, st);
        fresh.pictures = m_cached.value(fresh.stamp);
    }
    for (bool byContent : {false, true}) {
        if (!fresh.file || fresh.pictures.stored.isValid())
            break;
        QImageReader reader;
        openReader(reader, *fresh.file, byContent);
        fresh.pictures.stored = reader.size();
    }
    return *m_entries.insert(path, fresh);
}

QSize PictureFiles::storedSize(const QString &path)
{
    return entry(path).pictures.stored;
}

QImage PictureFiles::picture(const QString &path, QSize size)
{
    Entry &found = entry(path);
    if (!found.pictures.stored.isValid())
        return QImage();
    if (!size.isValid())
        size = found.pictures.stored;
    auto image = found.pictures.images.constFind(size);
    if (image != found.pictures.images.constEnd())
        return *image;
    ++m_decodings;
    QImage decoded;
    for (bool byContent : {false, true}) {
        if (!found.file)
            break;
        QImageReader reader;
        openReader(reader, *found.file, byContent);
        // The reader's own scaling: the pictures stay those of earlier versions pixel for pixel.
        if (size != found.pictures.stored)
            reader.setScaledSize(size);
        decoded = reader.read();
        if (!decoded.isNull())
            break;
    }
    return *found.pictures.images.insert(size, decoded);
}
