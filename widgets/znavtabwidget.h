#pragma once
// Icon tabs above a stack of pages. Tabs can be disabled; a disabled tab cannot be chosen.
// When the current tab is disabled, the next enabled tab after it becomes current (or the
// nearest one before it when there is none after it).
//
// currentChanged(QWidget *page) is emitted whenever the current page changes, also when the
// program changes it (setCurrentPage, disabling the current tab, adding the first tab).

#include <QIcon>
#include <QWidget>

class QStackedWidget;
class QTabBar;

class ZNavTabWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ZNavTabWidget(QWidget *parent = nullptr, const QString &name = QString());

    // Appends a page with its icon and label (the label may be empty); returns its index.
    int addTab(QWidget *page, const QIcon &icon, const QString &label = QString());
    int count() const;

    int currentPageIndex() const;
    QWidget *currentPage() const;
    void setCurrentPage(int index);
    void showPage(QWidget *page);

    QWidget *page(int index) const;
    int indexOf(QWidget *page) const;

    void setTabEnabled(int index, bool enabled);
    void setTabEnabled(QWidget *page, bool enabled);
    bool isTabEnabled(int index) const;

    QTabBar *tabBar() const { return m_bar; }

signals:
    void currentChanged(QWidget *page);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onBarChanged(int index);

    QTabBar *m_bar;
    QStackedWidget *m_stack;
};
