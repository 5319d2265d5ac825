#pragma once
// The frame shared by the add and edit dialogs of notices and festivals: title, information
// area, a panel of controls at fixed places, OK / Cancel soft keys, and the save step that
// refuses an empty text and otherwise writes one entry of notify.db and closes.

#include "mybasedlg.h"

#include <QString>

class QKeyEvent;
class ZConfig;
class ZLineEdit;
class ZScrollPanel;
class ZSoftKey;

class EntryDlg : public MyBaseDlg
{
    Q_OBJECT
public:
    ~EntryDlg() override;

    QString getText(const QString &key) const;
    ZLineEdit *textField() const { return m_textField; }
    ZSoftKey *softKeyBar() const { return m_softKey; }
    // The key the dialog wrote its entry under; empty until it has.
    QString savedKey() const { return m_savedKey; }

protected:
    explicit EntryDlg(ZConfig *lang);

    // Title, information area and the scroll panel that becomes the content widget.
    ZScrollPanel *createFrame(const QString &titleKey);
    // A label in the dialog's font at the given point size of the phone, placed on the panel.
    void addLabel(ZScrollPanel *panel, const QString &text, int x, int y, int pointSize = 20);
    // The one-line text field, 220 pixels wide.
    void addTextField(ZScrollPanel *panel, int x, int y);
    // OK calls the receiver's slot (given with SLOT(...)), Cancel rejects.
    void createSoftKey(const char *okSlot);

    // Opens the notice store on notify.db when it is not open yet.
    void openStore();
    // Refuses an empty text with the notice of emptyKey; otherwise writes the text under key
    // in group and accepts. A key that holds another entry than the one being edited is
    // replaced only after the user agrees; otherwise the dialog stays open.
    void save(const QString &group, const QString &key, const QString &emptyKey);

    void keyPressEvent(QKeyEvent *event) override;

    ZConfig *m_lang;
    ZSoftKey *m_softKey = nullptr;
    ZConfig *m_store = nullptr;
    QString m_programDir;
    ZLineEdit *m_textField = nullptr;
    // The key of the entry being edited; empty while adding.
    QString m_editedKey;

private:
    QString m_savedKey;

    void notice(const QString &text);
};
