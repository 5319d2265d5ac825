#pragma once
// Common frame of the platform's own modal dialogs (notice, message, text capture, multiple
// selection): a 240 x 320 window with a header showing the title, a content area and a
// soft-key bar. exec() returns 1 after accept() and 0 after reject().
// Keys: 4145 (back) rejects, 4144 and 4147 click the left and right soft keys, select (Return)
// that a control of the dialog leaves alone clicks the left key, up and down move the focus.

#include <QDialog>

class ZMainWidget;
class ZSoftKey;

class ZPlatformDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ZPlatformDialog(QWidget *parent = nullptr, const QString &name = QString());

    // Title shown in the header.
    void setTitle(const QString &title);
    QString title() const;

    ZMainWidget *frame() const { return m_frame; }
    ZSoftKey *softKey() const;

public slots:
    int exec() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    ZMainWidget *m_frame;
};
