#pragma once
// The information line under a window's header: one line of status text, made of areas
// side by side (area 0 at the left, further areas right-aligned after it).

#include <QStringList>
#include <QWidget>

class QHBoxLayout;
class QLabel;

class ZAppInfoArea : public QWidget
{
    Q_OBJECT
public:
    explicit ZAppInfoArea(QWidget *parent = nullptr);

    // Sets the text of an area; areas up to that index are created when missing.
    void setText(const QString &text, int area = 0);
    QString text(int area = 0) const;
    int areaCount() const;
    void removeAll();

    QSize sizeHint() const override;

private:
    QHBoxLayout *m_layout;
    QList<QLabel *> m_areas;
};
