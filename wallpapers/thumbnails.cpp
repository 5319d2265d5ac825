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

// The size of a row's picture before anything of the file is known: a picture of the phone's
// own screen, 240 x 320.
const QSize kUnknownSize(ThumbnailLoader::Width, 43);

} // namespace

QPixmap ThumbnailLoader::placeholder(const QSize &size)
{
    static QHash<quint64, QPixmap> made;
    const quint64 key = (quint64(quint32(size.width())) << 32) | quint32(size.height());
    auto it = made.find(key);
    if (it != made.end())
        return *it;
    QPixmap p(size);
    p.fill(QColor(0xdd, 0xdd, 0xdd));
    QPainter painter(&p);
    painter.setPen(QColor(0xb0, 0xb0, 0xb0));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.end();
    return made.insert(key, p).value();
}

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
    m_given.clear();
    m_timer.stop();
}

QPixmap ThumbnailLoader::result(const QImage &image) const
{
    if (image.isNull())
        return m_fallback.isNull() ? placeholder(QSize(Width, Width)) : m_fallback;
    return QPixmap::fromImage(image);
}

int ThumbnailLoader::distance(int row) const
{
    if (row < m_first)
        return m_first - row;
    if (row > m_last)
        return row - m_last;
    return 0;
}

int ThumbnailLoader::nextJob() const
{
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < m_queue.size(); ++i) {
        const int d = distance(m_queue.at(i).row);
        if (m_reach >= 0 && d > m_reach)
            continue;
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
            if (d == 0)
                break;
        }
    }
    return best;
}

bool ThumbnailLoader::isIdle() const
{
    return nextJob() < 0;
}

void ThumbnailLoader::schedule()
{
    if (!m_timer.isActive())
        m_timer.start();
}

QPixmap ThumbnailLoader::thumbnail(int row, const QString &path)
{
    m_queue.append(Job{row, path});
    if (!inReach(row))
        return placeholder(kUnknownSize);
    QImage image;
    if (lookup(path, &image)) {
        m_queue.removeLast();
        m_given.insert(row, path);
        return result(image);
    }
    schedule();
    // The header alone gives the size, so the row has its final height at once.
    const QSize size = QImageReader(path).size();
    return placeholder(size.isValid() ? fitted(size) : kUnknownSize);
}

QList<int> ThumbnailLoader::prefer(int first, int last)
{
    m_first = first;
    m_last = qMax(first, last);
    QList<int> dropped;
    if (m_reach >= 0) {
        for (auto it = m_given.begin(); it != m_given.end();) {
            if (inReach(it.key())) {
                ++it;
                continue;
            }
            dropped.append(it.key());
            m_queue.append(Job{it.key(), it.value()});
            it = m_given.erase(it);
        }
    }
    if (!isIdle())
        schedule();
    return dropped;
}

void ThumbnailLoader::step()
{
    const int next = nextJob();
    if (next < 0) {
        m_timer.stop();
        return;
    }
    const Job job = m_queue.takeAt(next);
    QImage image;
    if (!lookup(job.path, &image)) {
        image = decode(job.path);
        store(job.path, image);
    }
    m_given.insert(job.row, job.path);
    emit ready(job.row, job.path, result(image));
    if (isIdle()) {
        m_timer.stop();
        emit idle();
    }
}

void ThumbnailLoader::finish()
{
    while (!isIdle())
        step();
}
