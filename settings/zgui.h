#pragma once
// The main window of the settings program: five icon tabs (general settings, notices,
// wallpaper, theme items, weather), an information line naming the current tab, and a soft-key
// bar with the options menu and the preview key. It owns the three configuration stores the
// program works on: settings.ini, the theme shown or under edit, and the language file.

#include "mybasedlg.h"
#include "processcontrol.h"

#include <QPixmap>
#include <QPointer>
#include <QStringList>

#include <memory>

class ZAppInfoArea;
class ZCheckBox;
class ZComboBox;
class ZConfig;
class ZLabel;
class ZNavTabWidget;
class ZNumPicker;
class ZOptionsMenu;
class ZPressButton;
class ZScrollPanel;
class ZSlider;
class ZSoftKey;
class TextBoxRows;

class ZGui : public MyBaseDlg
{
    Q_OBJECT
public:
    // Options-menu ids.
    enum MenuId { MenuRefresh = 0, MenuEdit, MenuRunDaemon, MenuStopDaemon, MenuClock, MenuLink,
                  MenuAbout, MenuExit };
    // Edit-menu ids.
    enum EditId { EditStart = 0, EditSave, EditSaveAs, EditEnd };
    // Tab indexes.
    enum Tab { TabSettings = 0, TabNotices, TabWallpaper, TabItems, TabWeather };

    explicit ZGui(QWidget *parent = nullptr);
    ~ZGui() override;

    void initApp();
    void CreateControls();
    void createSoftKey();
    ZOptionsMenu *getMenu();

    QString getText(const QString &key) const;

    // Read access for the windows built on the main window (and for checks of its state).
    ZConfig *settingsStore() const { return m_settings.get(); }
    ZConfig *themeStore() const { return m_theme.get(); }
    ZConfig *languageStore() const { return m_lang.get(); }
    QString programDir() const { return m_programDir; }
    QString currentTheme() const { return m_currentTheme; }
    QString currentItemGroup() const { return m_currentGroup; }
    bool isLinked() const { return m_linked; }
    ZNavTabWidget *tabWidget() const { return m_tabWidget; }
    ZAppInfoArea *infoArea() const { return m_infoArea; }
    ZSoftKey *softKeyBar() const { return m_softKey; }
    ZOptionsMenu *optionsMenu() const { return m_menu; }
    ZOptionsMenu *editMenu() const { return m_editMenu; }

    // The working copy of a theme under edit.
    static QString workingCopy();
    // The folder through which the theme folder is published.
    static QString linkDir();
    // The phone's autorun file.
    static QString autorunFile();

public slots:
    void tabChanged();
    void preview();
    void run();
    void rundaemon();
    void kill();
    void edittheme();
    void endedit();
    void savetheme();
    void saveastheme();
    void refresh();
    void link();
    void about();
    void lngActivated(int index);
    void themeActivated(int index);
    void autorunToggled(bool on);
    void refreshToggled(bool on);
    void idlerefreshToggled(bool on);
    // A choice of the real desktop rows (target, scale, position): all three are stored.
    void desktopChosen(int index);
    void swichlistclicked();
    void festivalToggled(bool on);
    void customToggled(bool on);
    void customfestivalToggled(bool on);
    void customnotifyclicked();
    void customfestivalclicked();
    void imglistmmclicked();
    void changetimeChanged(int seconds);
    void randimgclicked();
    void modeActivated(int index);
    void optActivated(int index);
    void enableToggled(bool on);
    void shadowToggled(bool on);
    void sizeChanged(int v);
    void rotateChanged(int v);
    void posXChanged(int v);
    void posYChanged(int v);
    void colorRchanged(int v);
    void colorGchanged(int v);
    void colorBchanged(int v);
    void picActivated(int index);
    void imgXChanged(int v);
    void imgYChanged(int v);
    void imgWChanged(int v);
    void imgHChanged(int v);
    void woptActivated(int index);
    void weatherToggled(bool on);

    // Back and the window's close button leave the program; unsaved theme edits are asked about
    // first.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private slots:
    void quitApplication();
    // The options menu's "Exit": asks first about unsaved theme edits.
    void exitClicked();

private:
    void createTab1();
    // The General tab's rows of the real desktop.
    void addDesktopRows(ZScrollPanel *page);
    void createTab2();
    void createTab3();
    void createTab4();
    void createTab5();
    ZScrollPanel *newPage();
    QPixmap icon(const QString &name);

    // A modal notice with an empty title, parented to the window, deleted after it closes.
    void notice(const QString &text, int type, int timeValue);
    // Writes one key of the current item group, unless the editor is loading an item.
    void writeItem(const QString &key, int value);
    // Writes one key of the current item group of the theme under edit; when the theme cannot
    // be written, says so and shows the item as it is stored.
    bool writeTheme(const QString &key, const QString &value);
    // Writes one entry of settings.ini (group "Quillora"). When the file cannot be written,
    // says so and reads the file again, so what the window shows next is what is stored;
    // false then.
    bool writeSetting(const QString &key, const QString &value);
    bool writeSetting(const QString &key, int value);
    bool writeSetting(const QString &key, bool value);
    bool writeSetting(const QString &key, const QStringList &value);
    // A notice that a write failed: the text of the key, or the English default.
    void writeFailed(const char *key, const char *fallback, int timeValue = 0);
    // Whether theme editing may be left: true without unsaved changes, else the user's answer.
    bool mayDropEdits();
    // Ends the working copy: it is removed, and the desktop, which drew it, is drawn again.
    void dropWorkingCopy();
    // Theme clock hand-over to the phone.
    static QString phoneClockDir();
    int softKeyHeight() const;
    void clockWriteFailed();
    // The current theme changed: the phone's clock follows it when the user handed it over.
    void followThemeClock();
    void setSampleColor(int red, int green, int blue);
    void writeColor(int part, int value);
    bool workingCopyExists() const;
    // Copies a theme file with the shell's cp; true when the target then holds the same bytes.
    bool copyTheme(const QString &from, const QString &to);
    QString themeFile(const QString &name) const;
    void connectCheck(ZCheckBox *box, const char *slot);
    // Stores a switch; a switch that cannot be stored goes back.
    void writeSwitch(ZCheckBox *box, const QString &key, bool on);
    // Sets a check box without its slot running: back to what is stored after a failed write.
    void setCheckQuietly(ZCheckBox *box, bool checked);

    QPixmap m_icon;
    ZNavTabWidget *m_tabWidget = nullptr;
    ZSoftKey *m_softKey = nullptr;
    ZOptionsMenu *m_menu = nullptr;
    ZOptionsMenu *m_editMenu = nullptr;
    ZAppInfoArea *m_infoArea = nullptr;

    std::unique_ptr<ZConfig> m_settings;
    std::unique_ptr<ZConfig> m_theme;
    std::unique_ptr<ZConfig> m_lang;

    QString m_programDir;
    QString m_language;
    QString m_currentTheme;
    int m_languageIndex = 0;
    int m_themeIndex = 0;
    QString m_currentGroup;
    QStringList m_itemGroups;
    QStringList m_tabTitles;
    QStringList m_pictures;
    bool m_enableMirror = false;
    bool m_shadowMirror = false;
    bool m_linked = false;
    // True while optActivated sets the controls: the change signals that loading causes do not
    // write the theme.
    bool m_loadingItem = false;
    // The working copy holds changes that are not saved into a theme file.
    bool m_unsavedEdits = false;

    ProcessControl m_proc;
    // Box_W, Box_H and Fit of the item being edited.
    TextBoxRows *m_textBoxRows = nullptr;

    // Controls of the tabs.
    QPointer<ZComboBox> m_itemSelector;
    QPointer<ZCheckBox> m_enableBox;
    QPointer<ZCheckBox> m_shadowBox;
    QPointer<ZNumPicker> m_sizePicker;
    QPointer<ZNumPicker> m_posXPicker;
    QPointer<ZNumPicker> m_posYPicker;
    QPointer<ZNumPicker> m_imgWPicker;
    QPointer<ZNumPicker> m_imgHPicker;
    QPointer<ZNumPicker> m_rotatePicker;
    QPointer<ZSlider> m_redSlider;
    QPointer<ZSlider> m_greenSlider;
    QPointer<ZSlider> m_blueSlider;
    QPointer<ZLabel> m_colorSample;
    QPointer<ZComboBox> m_pictureSelector;
    QPointer<ZNumPicker> m_imgXPicker;
    QPointer<ZNumPicker> m_imgYPicker;
    QPointer<ZComboBox> m_weatherDay;
    QPointer<ZLabel> m_weatherDayHint;
    QPointer<ZComboBox> m_languageSelector;
    QPointer<ZComboBox> m_themeSelector;
    QPointer<ZPressButton> m_rotatorButton;
    QPointer<QWidget> m_itemPage;
    // Further controls, reachable for the keypad and for checks.
    QPointer<ZCheckBox> m_autorunBox;
    QPointer<ZCheckBox> m_refreshBox;
    QPointer<ZCheckBox> m_idleRefreshBox;
    QPointer<ZComboBox> m_desktopTarget;
    QPointer<ZComboBox> m_desktopScale;
    QPointer<ZComboBox> m_desktopAnchor;
    QPointer<ZPressButton> m_themeListButton;
    QPointer<ZCheckBox> m_festivalBox;
    QPointer<ZCheckBox> m_customBox;
    QPointer<ZCheckBox> m_customFestivalBox;
    QPointer<ZPressButton> m_notifyButton;
    QPointer<ZPressButton> m_festivalButton;
    QPointer<ZPressButton> m_wallpaperButton;
    QPointer<ZComboBox> m_modeSelector;
    QPointer<ZNumPicker> m_intervalPicker;
    QPointer<ZCheckBox> m_weatherBox;
};
