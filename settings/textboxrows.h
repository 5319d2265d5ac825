#pragma once
// The text box of an item in the item editor: its width and height (Box_W, Box_H) and how
// text that does not fit it is treated (Fit: clip, shrink or elide). A missing key shows its
// default (240, 320, clip); a control writes its key the moment the user changes it.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;
class ZComboBox;
class ZConfig;
class ZNumPicker;
class ZScrollPanel;

class TextBoxRows : public QObject
{
    Q_OBJECT
public:
    // The rows go to the end of `page`; `theme` gives the store being edited, `text` the
    // translated text of a key.
    TextBoxRows(ZScrollPanel *page, std::function<ZConfig *()> theme, std::function<QString(const QString &)> text,
                QObject *parent = nullptr);

    // Shows the keys of `group`, writing nothing.
    void load(const QString &group);

    // The values of Fit, in the order of the selector.
    static const QStringList &fitValues();

private slots:
    void widthChanged(int v);
    void heightChanged(int v);
    void fitActivated(int index);

private:
    void write(const QString &key, const QString &value);

    std::function<ZConfig *()> m_theme;
    QString m_group;
    bool m_loading = false;
    QPointer<ZNumPicker> m_width;
    QPointer<ZNumPicker> m_height;
    QPointer<ZComboBox> m_fit;
};
