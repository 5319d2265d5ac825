#include "thumbnails.h"

#include <QCache>
#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace {

struct Cached
{
    QDateTime modified;
    qint64 size;
    QImage image; // null: the file could not be loaded
};

QCache<QString, Cached> &cache()
{
    static QCache<QString, Cached> c(2000);
    return c;
}

bool lookup(const QString &path, QImage *image)
{
    const Cached *hit = cache().object(path);
    if (!hit)
        return false;
    const QFileInfo info(path);
    if (info.lastModified() != hit->modified || info.size() != hit->size)
        return false;
    *image = hit->image;
    return true;
}

void store(const QString &path, const QImage &image)
{
    const QFileInfo info(path);
    cache().insert(path, new Cached{info.lastModified(), info.size(), image});
}

QPixmap placeholder(const QSize &size)
{
    QPixmap p(size);
    p.fill(QColor(0xdd, 0xdd, 0xdd));
    QPainter painter(&p);
    painter.setPen(QColor(0xb0, 0xb0, 0xb0));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return p;
}

} // namespace

ThumbnailLoader::ThumbnailLoader(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &ThumbnailLoader::step);
}

QSize ThumbnailLoader::fitted(const QSize &source)
{
    if (source.width() <= 0 || source.height() <= 0)
        return QSize(Width, Width);
    const qint64 h = (qint64(source.height()) * Width + source.width() / 2) / source.width();
    if (h <= MaxHeight)
        return QSize(Width, int(qMax<qint64>(1, h)));
    const qint64 w = (qint64(source.width()) * MaxHeight + source.height() / 2) / source.height();
    return QSize(int(qMax<qint64>(1, w)), MaxHeight);
}

QImage ThumbnailLoader::decode(const QString &path)
{
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid()) {
        reader.setScaledSize(fitted(size));
        const QImage image = reader.read();
        if (!image.isNull())
            return image;
    }
    // Some readers do not know the size before decoding.
    QImage image(path);
    if (image.isNull())
        return image;
    return image.scaled(fitted(image.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QPixmap ThumbnailLoader::scaled(const QPixmap &picture)
{
    if (picture.isNull())
        return picture;
    return picture.scaled(fitted(picture.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void ThumbnailLoader::clearCache()
{
    cache().clear();
}

void ThumbnailLoader::reset()
{
    m_queue.clear();
    m_timer.stop();
}

QPixmap ThumbnailLoader::result(const QImage &image) const
{
    if (image.isNull())
        return m_fallback.isNull() ? placeholder(QSize(Width, Width)) : m_fallback;
    return QPixmap::fromImage(image);
}

QPixmap ThumbnailLoader::thumbnail(int row, const QString &path)
{
    QImage image;
    if (lookup(path, &image))
        return result(image);
    m_queue.append(Job{row, path});
    if (!m_timer.isActive())
        m_timer.start();
    // The header alone gives the size, so the row has its final height at once.
    const QSize size = QImageReader(path).size();
    return placeholder(size.isValid() ? fitted(size) : QSize(Width, Width));
}

void ThumbnailLoader::prefer(int first, int last)
{
    QList<Job> near, far;
    for (const Job &job : std::as_const(m_queue))
        (job.row >= first && job.row <= last ? near : far).append(job);
    m_queue = near + far;
}

void ThumbnailLoader::step()
{
    if (m_queue.isEmpty()) {
        m_timer.stop();
        return;
    }
    const Job job = m_queue.takeFirst();
    QImage image;
    if (!lookup(job.path, &image)) {
        image = decode(job.path);
        store(job.path, image);
    }
    emit ready(job.row, job.path, result(image));
    if (m_queue.isEmpty()) {
        m_timer.stop();
        emit idle();
    }
}

void ThumbnailLoader::finish()
{
    while (!m_queue.isEmpty())
        step();
}
