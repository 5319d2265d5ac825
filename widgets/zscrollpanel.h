#pragma once
// A scrolling page. Its widgets live in contents(), placed either at fixed positions
// (addChild) or by a layout on contents():
//
//   QVBoxLayout *layout = new QVBoxLayout(panel->contents());   // not on the panel itself
//   layout->setContentsMargins(0, 0, 0, 0);
//   layout->addWidget(listBox);
//
// contents() is as wide as the panel and as tall as its layout or its fixed-position children
// need; when that is taller than the panel, the panel scrolls, and a control that gets the
// focus is scrolled into view; the last control brings the end of the page along, so the lines
// below it are shown whole.
//
// Keys: the panel leaves the navigation keys to its window, which moves the focus between the
// controls (up / down) or switches tabs (left / right); only a panel without any control that
// takes the focus scrolls its page with up and down.

#include <QScrollArea>

class ZScrollPanel : public QScrollArea
{
    Q_OBJECT
public:
    explicit ZScrollPanel(QWidget *parent = nullptr, const QString &name = QString());
    ~ZScrollPanel() override;

    QWidget *contents() const { return m_contents; }

    // Places a widget at a fixed position (pixels from the top left of the contents).
    void addChild(QWidget *child, int x, int y);
    // Appends a widget to the contents' vertical layout (created on first use).
    void addWidget(QWidget *child, int stretch = 0);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fitContents();
    void followFocus(QWidget *old, QWidget *now);
    bool holdsFocusableControl() const;
    // A widget of the contents that takes the focus from the keys.
    bool isControl(const QWidget *w) const;

    QWidget *m_contents;
    QMetaObject::Connection m_focusFollower;
};
