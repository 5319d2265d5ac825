#pragma once
// A list of rows, drawn the phone's way.
//
// A row (ZListBoxItem) has columns given by its format string: "%I" a picture, "%C" a check
// box, "%M" a column of text lines. The list dialogs use two formats:
//   "%I%M"  picture in column 0 (up to 32 pixels wide), text lines in column 1
//   "%C%M"  check box in column 0 (a picture set on the row is drawn after the box), text
//           lines in column 1
// Line 0 is drawn in the normal font, further lines smaller and grey.
//
//   ZListBoxItem *row = new ZListBoxItem("%I%M");
//   row->setPixmap(0, thumbnail);
//   row->appendSubItem(1, fileName);       // line 0
//   row->appendSubItem(1, path);           // line 1
//   listBox->insertItem(row);              // the list box owns the row
//
// The current row is highlighted. highlighted(int) is emitted whenever the current row
// changes, by the user or by the program (setCurrentItem). selected(int) is emitted when the
// user chooses the current row: select / Return / Enter, or a double click; choosing a "%C"
// row first toggles its check box. A click on a check box toggles it; Space does the same for
// the current row.
// Keys handled by the list: up, down (4115, 4117; wrapping from the last row to the first and
// back), page up / page down, Home, End, select, Space. Every other key (digits, the phone's
// hard keys) is left to the parent window.
//
// Lists of any length: inserting, removing and moving rows only marks the layout out of date;
// the rows are laid out once, when the list is next drawn or asked for a row's place, and a row
// is measured only when it is new or its contents changed. A row whose contents change without
// changing its height is merely redrawn, and only when it is on screen.

#include <QAbstractScrollArea>
#include <QPixmap>
#include <QStringList>
#include <QVector>

class ZListBox;

class ZListBoxItem
{
public:
    explicit ZListBoxItem(const QString &format = QStringLiteral("%I%M"));
    // The list box does not own the row given here until insertItem.
    ZListBoxItem(ZListBox *listBox, const QString &format);
    virtual ~ZListBoxItem();

    QString format() const { return m_format; }
    bool hasCheckBox() const;

    // Column 0 of "%I%M" and "%C%M" rows.
    void setPixmap(int column, const QPixmap &pixmap);
    QPixmap pixmap(int column = 0) const;

    // Text lines of a "%M" column (column 1 in both formats).
    void appendSubItem(int column, const QString &text);
    void setSubItemText(int column, int line, const QString &text);
    QString subItemText(int column, int line) const;
    int subItemCount(int column) const;

    bool isChecked() const { return m_checked; }
    void setChecked(bool checked);

    ZListBox *listBox() const { return m_list; }

private:
    friend class ZListBox;
    enum ColumnKind { Picture, Check, Text };
    struct Column {
        ColumnKind kind;
        QPixmap pixmap;
        QStringList lines;
    };
    Column *column(int index);
    const Column *column(int index) const;
    void changed();

    QString m_format;
    QVector<Column> m_columns;
    bool m_checked = false;
    ZListBox *m_list = nullptr;
    int m_height = -1; // measured height; -1 until the list measures the row
};

class ZListBox : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit ZListBox(const QString &name = QString(), QWidget *parent = nullptr, int flags = 0);
    ~ZListBox() override;

    // Inserts a row at index (appends with -1); the list box owns it from now on.
    void insertItem(ZListBoxItem *item, int index = -1);
    // Removes and deletes a row.
    void removeItem(int index);
    // Removes a row without deleting it; the caller owns it.
    ZListBoxItem *takeItem(int index);
    // Deletes every row; there is no current row afterwards.
    void clear();

    int count() const { return m_items.size(); }
    ZListBoxItem *item(int index) const;
    int index(const ZListBoxItem *item) const;

    // Moves the row at from to position to; the rows between shift by one. The current row
    // index stays as it is (so it may now show another row) and no signal is emitted.
    void moveItem(int from, int to);

    // -1 when there is no current row.
    int currentItem() const { return m_current; }
    void setCurrentItem(int index);

    bool itemChecked(int index) const;
    void checkItem(int index, bool checked);

    // Rows wholly inside the visible part of the list.
    bool itemVisible(int index) const;
    int numItemsVisible() const;
    int topItem() const;
    void setTopItem(int index);
    // Scrolls so that the row is the last visible one (as far as the list allows).
    void setBottomItem(int index);
    void ensureCurrentVisible();

    // Chooses a row as the user does with select: toggles a check box, emits selected(index).
    void selectItem(int index);

    QSize sizeHint() const override;

    // Work done so far, for tests and benchmarks: layout passes, and rows measured in them.
    int layoutPasses() const { return m_layoutPasses; }
    int rowsMeasured() const { return m_rowsMeasured; }

signals:
    void highlighted(int index);
    void selected(int index);
    void checkToggled(int index, bool checked);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class ZListBoxItem;
    // Font heights of the two kinds of text line, taken once per layout.
    struct Metrics {
        int main = 0;
        int second = 0;
    };
    Metrics metrics() const;
    QFont secondFont() const;
    int measure(const ZListBoxItem *item, const Metrics &m) const;
    QRect rowRect(int index) const;     // in contents coordinates
    QRect checkRect(const QRect &row) const;
    int rowAt(int y) const;             // y in viewport coordinates
    // Rows [first, last] that lie at least partly inside the viewport; last < first when none.
    void visibleRange(int *first, int *last) const;
    // Marks the layout out of date; it is redone when it is next needed.
    void invalidate();
    // Lays the rows out if they changed since the last layout.
    void ensureLayout() const;
    void updateScrollRange() const;
    void itemChanged(ZListBoxItem *item);

    QVector<ZListBoxItem *> m_items;
    mutable QVector<int> m_tops; // top of each row in contents coordinates, plus total height
    mutable bool m_dirty = false;
    mutable Metrics m_metrics;
    mutable bool m_metricsKnown = false;
    mutable int m_layoutPasses = 0;
    mutable int m_rowsMeasured = 0;
    int m_current = -1;
};
