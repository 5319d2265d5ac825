#include "wallpaperrows.h"

#include "thumbnails.h"
#include "wallpaperlist.h"
#include "zlistbox.h"

#include <QEvent>

namespace WallpaperRows {

namespace {
// Rows beyond the screen, on either side of it, whose thumbnails are decoded and kept.
constexpr int kReach = 100;

class CurrentRowKeeper : public QObject
{
public:
    CurrentRowKeeper(ZListBox *box) : QObject(box), m_box(box) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize) {
            // From the top when the current row can be seen there, otherwise just far enough.
            m_box->setTopItem(0);
            if (!m_box->itemVisible(m_box->currentItem()))
                m_box->ensureCurrentVisible();
        }
        return false;
    }

private:
    ZListBox *m_box;
};
} // namespace

void keepCurrentVisible(ZListBox *box)
{
    box->viewport()->installEventFilter(new CurrentRowKeeper(box));
}

void fill(ZListBox *box, const QStringList &entries, const QString &format, ThumbnailLoader *thumbs)
{
    thumbs->reset();
    box->clear();
    for (int i = 0; i < entries.size(); ++i) {
        const QString &path = entries.at(i);
        auto *row = new ZListBoxItem(format);
        row->setPixmap(0, thumbs->thumbnail(i, path));
        row->appendSubItem(1, WallpaperList::fileNameOf(path));
        row->appendSubItem(1, path);
        box->insertItem(row);
    }
}

QString pathOf(ZListBox *box, int row)
{
    const ZListBoxItem *item = box->item(row);
    return item ? item->subItemText(1, 1) : QString();
}

void setThumbnail(ZListBox *box, int row, const QString &path, const QPixmap &thumbnail)
{
    if (pathOf(box, row) == path) {
        box->item(row)->setPixmap(0, thumbnail);
        return;
    }
    // Rows moved since the picture was queued: find them by their path.
    for (int i = 0; i < box->count(); ++i) {
        if (pathOf(box, i) == path)
            box->item(i)->setPixmap(0, thumbnail);
    }
}

void connect(ZListBox *box, ThumbnailLoader *thumbs)
{
    keepCurrentVisible(box);
    thumbs->setReach(kReach);
    QObject::connect(thumbs, &ThumbnailLoader::ready, box,
                     [box](int row, const QString &path, const QPixmap &thumbnail) {
                         setThumbnail(box, row, path, thumbnail);
                     });
    QObject::connect(box, &ZListBox::highlighted, thumbs, [box, thumbs] { preferCurrent(box, thumbs); });
}

void preferCurrent(ZListBox *box, ThumbnailLoader *thumbs)
{
    const int current = qMax(0, box->currentItem());
    const int reach = qMax(8, box->numItemsVisible());
    // Rows that fell out of reach give their thumbnails back; a placeholder of the same size
    // keeps every row where it was.
    for (int row : thumbs->prefer(current - reach, current + reach)) {
        if (ZListBoxItem *item = box->item(row))
            item->setPixmap(0, ThumbnailLoader::placeholder(item->pixmap(0).size()));
    }
}

int pageStep(const ZListBox *box)
{
    const int count = box->count();
    const int visible = box->numItemsVisible() - (count > 0 && box->itemVisible(count - 1) ? 1 : 0);
    return qMax(1, visible - 1);
}

int pageUp(const ZListBox *box)
{
    const int p = pageStep(box);
    const int current = box->currentItem();
    return current > p - 1 ? current - p : 0;
}

int pageDown(ZListBox *box)
{
    const int p = pageStep(box);
    const int current = box->currentItem();
    const int count = box->count();
    if (current < count - p - 1) {
        box->setBottomItem(current + p);
        return current + p;
    }
    return count - 1;
}

} // namespace WallpaperRows
