#pragma once
// A selector with a popup list. Choosing an entry emits activated(int) (QComboBox); setting
// the current entry from the program does not. Phone keys: select (Return) opens the list;
// up, down, left and right are left to the window (moving the focus or the tab). The wheel
// only turns it while it has the focus. The list opens within the phone's screen (its window),
// shortened to the screen's height when longer; up and down then scroll it.

#include <QComboBox>

class ZComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ZComboBox(QWidget *parent = nullptr, const QString &name = QString());

    void setCurrentItem(int index) { setCurrentIndex(index); }
    int currentItem() const { return currentIndex(); }
    QString text(int index) const { return itemText(index); }

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
};
