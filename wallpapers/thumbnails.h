#pragma once
// Thumbnails of the wallpaper rows: 32 pixels wide, height in proportion.
//
// Large pictures take tens of milliseconds each to decode, so a list never waits for them: a row
// gets its thumbnail at once when it is cached, otherwise a placeholder of the right size, and
// the loader decodes the missing ones one per turn of the event loop, the rows near the
// highlight first, and reports each through ready(). Pictures are decoded at reduced size, and
// kept in a cache of the process (checked against the file's time and size) so rebuilding a list
// costs nothing.

#include <QImage>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QTimer>

class ThumbnailLoader : public QObject
{
    Q_OBJECT
public:
    static constexpr int Width = 32;
    static constexpr int MaxHeight = 48; // the tallest picture a list row shows

    explicit ThumbnailLoader(QObject *parent = nullptr);

    // The thumbnail size for a picture of size `source`: 32 wide, height in proportion (at
    // least 1); a very tall picture is fitted into 32 × 48 instead.
    static QSize fitted(const QSize &source);
    // Decodes `path` at thumbnail size now; a null image when it cannot be loaded.
    static QImage decode(const QString &path);
    // Scales any picture to thumbnail size.
    static QPixmap scaled(const QPixmap &picture);
    // Forgets the cached thumbnails of the process.
    static void clearCache();

    // The fixed picture of a row whose image cannot be loaded.
    void setFallback(const QPixmap &fallback) { m_fallback = scaled(fallback); }
    QPixmap fallback() const { return m_fallback; }

    // Starts a new set of rows; work still pending for the old rows is dropped.
    void reset();
    // The thumbnail for row `row` showing `path`: the cached one, or a placeholder while the
    // picture is queued for decoding.
    QPixmap thumbnail(int row, const QString &path);
    // Rows from `first` to `last` are decoded before the others.
    void prefer(int first, int last);

    bool isIdle() const { return m_queue.isEmpty(); }
    // Decodes everything still queued now.
    void finish();

signals:
    void ready(int row, const QString &path, const QPixmap &thumbnail);
    void idle();

private:
    struct Job
    {
        int row;
        QString path;
    };
    void step();
    QPixmap result(const QImage &image) const;

    QList<Job> m_queue;
    QTimer m_timer;
    QPixmap m_fallback;
};
