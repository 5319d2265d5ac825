#pragma once
// Thumbnails of the wallpaper rows: 32 pixels wide, height in proportion.
//
// Large pictures take tens of milliseconds each to decode, so a list never waits for them: a row
// gets its thumbnail at once when it is cached, otherwise a placeholder, and the loader decodes
// the missing ones one per turn of the event loop, the rows nearest the highlight first, and
// reports each through ready(). Pictures are decoded at reduced size, and kept in a cache of the
// process (checked against the file's time and size) so rebuilding a list costs little.
//
// Memory stays bounded on lists of any length once a reach is set (setReach): only rows within
// that many rows of the highlight are looked up, decoded and kept; a row that falls out of reach
// gets its placeholder back (prefer() names it) and is decoded again when the highlight returns.

#include <QHash>
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

    // Starts a new set of rows; work still pending for the old rows is dropped. The highlight
    // and the reach stay as they were.
    void reset();
    // The thumbnail for row `row` showing `path`: the cached one, or a placeholder while the
    // picture is queued for decoding. Rows out of reach get the placeholder without any look
    // at the file.
    QPixmap thumbnail(int row, const QString &path);
    // Rows from `first` to `last` are decoded first, then the others by their distance to them.
    // Returns the rows that now lie out of reach but were given a thumbnail; they are queued
    // again and should show a placeholder (placeholder()) until they are back in reach.
    QList<int> prefer(int first, int last);
    // Rows farther than `rows` from the preferred ones are neither decoded nor kept; -1 (the
    // default): every row is.
    void setReach(int rows) { m_reach = rows; }
    // The placeholder of a row not decoded yet, of the given size; rows share it.
    static QPixmap placeholder(const QSize &size);

    // No row within reach waits for its thumbnail.
    bool isIdle() const;
    // Decodes every row within reach now.
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
    void schedule();
    QPixmap result(const QImage &image) const;
    // Rows from the preferred ones; 0 inside them.
    int distance(int row) const;
    bool inReach(int row) const { return m_reach < 0 || distance(row) <= m_reach; }
    // The queued job nearest the preferred rows, or -1 when none is within reach.
    int nextJob() const;

    QList<Job> m_queue;
    QHash<int, QString> m_given; // rows that were handed a decoded thumbnail, with their paths
    QTimer m_timer;
    QPixmap m_fallback;
    int m_first = 0;
    int m_last = 0;
    int m_reach = -1;
};
