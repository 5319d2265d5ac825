#pragma once
// The phone's full-screen windows.
//
// A ZMainWidget is a 240 x 320 window built from four bands, top to bottom:
//   header ........... the window title (QWidget::windowTitle) on a coloured band; its height
//                      depends on the header type (headerSize())
//   information area . an optional ZAppInfoArea, one line of status text
//   content .......... the content widget, which takes all remaining room
//   command bar ...... the soft-key bar (ZSoftKey) or any other widget (setCSTWidget)
// A ZKbMainWidget adds the keypad's default handling (keyPressEvent).
//
// A widget installed with one of the set... functions becomes a child of the window. A widget
// it replaces is hidden and deleted later (never at once, so a slot that runs in the old widget,
// such as a combo box of the old content rebuilding the window, returns safely).

#include <QPointer>
#include <QWidget>

class QLabel;
class QVBoxLayout;
class ZAppInfoArea;
class ZSoftKey;

class ZMainWidget : public QWidget
{
    Q_OBJECT
public:
    // Header types. NoHeader draws no header at all.
    enum HeaderType { NoHeader = 0, SlimHeader = 2, TitleHeader = 3 };
    // Window flags of the phone's widgets, combined with "|": 3 = top-level and modal.
    enum WidgetFlag { TopLevel = 1, Modal = 2 };

    static constexpr int ScreenWidth = 240;
    static constexpr int ScreenHeight = 320;

    // A window without a parent (or with the TopLevel flag) is a top-level window of the
    // screen's fixed size; with the Modal flag it blocks the other windows while shown.
    explicit ZMainWidget(int headerType = TitleHeader, QWidget *parent = nullptr,
                         const QString &name = QString(), int flags = 0);
    ~ZMainWidget() override;

    void setHeaderType(int type);
    int headerType() const { return m_headerType; }
    // Height of the header in pixels for the current header type (0 without header); valid
    // at once, before the window is shown.
    int headerSize() const;
    static int headerSizeOf(int type);

    void setAppInfoArea(ZAppInfoArea *area);
    ZAppInfoArea *appInfoArea() const;

    void setContentWidget(QWidget *content);
    QWidget *contentWidget() const { return m_content; }

    // The soft-key bar is the usual command bar; setCSTWidget installs any widget there.
    void setSoftKey(ZSoftKey *softKey);
    ZSoftKey *softKey() const;
    void setCSTWidget(QWidget *widget);
    QWidget *cstWidget() const { return m_cst; }

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void replaceBand(QPointer<QWidget> &slot, QWidget *widget);
    void updateHeader();

    int m_headerType;
    QVBoxLayout *m_layout = nullptr;
    QLabel *m_header = nullptr;
    QPointer<ZAppInfoArea> m_infoArea;
    QPointer<QWidget> m_content;
    QPointer<QWidget> m_cst;
    QPointer<QWidget> m_infoSlot;
};

// A main widget with the keypad's default key handling. Subclasses handle their own keys in
// keyPressEvent and hand all others to ZKbMainWidget::keyPressEvent, which does this:
//   4144 (Add), Menu . opens the left soft key's menu or clicks the left soft key
//   4147 ............. clicks the right soft key
//   4115 / 4117 ...... moves the focus to the previous / next control (up / down)
//   anything else .... ignored (handed on to the parent, if any)
// Codes are compared through ZKey::code(), so desktop keys work too (zkeys.h).
class ZKbMainWidget : public ZMainWidget
{
    Q_OBJECT
public:
    explicit ZKbMainWidget(int headerType = TitleHeader, QWidget *parent = nullptr,
                           const QString &name = QString(), int flags = 0);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
