#pragma once
// The forecast part of the weather tab: the place (a city of the list, or any coordinates), the
// interval of the automatic updates, "Update now" and the time of the last update. A failed
// update is told in the interface language, the updater's own line only as its detail. Choosing a
// place writes group "Weather" of settings.ini and keeps the background updater
// ("fetchweather --background") running, with its line in the phone's autorun file; choosing no
// place stops it and drops the line.

#include <QPointer>
#include <QWidget>

class ZComboBox;
class ZConfig;
class ZLabel;
class ZLineEdit;
class ZPressButton;

class WeatherPanel : public QWidget
{
    Q_OBJECT
public:
    WeatherPanel(ZConfig *settings, const ZConfig *lang, const QString &programDir, QWidget *parent = nullptr);

public slots:
    void cityActivated(int index);
    void placeEdited();
    void intervalActivated(int index);
    void updateNow();

protected:
    // Tells when a coordinate field is left holding what cannot be a coordinate.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Why "Update now" brought no forecast.
    enum class Failure { NoPlace, NotStarted, NoEnd, Fetch };
    QString failureText(Failure failure) const;
    // Says so in the interface language, with the updater's own line as the detail.
    void updateFailed(Failure failure, const QString &detail);
    QString text(const char *key, const char *english) const;
    void showPlace();
    void showInterval();
    void showLastUpdate();
    // Writes the place (or removes it when name is null) and starts or stops the updater; when
    // the place cannot be stored it says so and leaves the updater as it is.
    void storePlace(const QString &name, double latitude, double longitude);
    void settingsFailed();
    void setUpdater(bool on);
    void notice(const QString &text, int type);

    ZConfig *m_settings;
    const ZConfig *m_lang;
    QString m_programDir;
    QPointer<ZComboBox> m_city;
    QPointer<ZLineEdit> m_name;
    QPointer<ZLineEdit> m_latitude;
    QPointer<ZLineEdit> m_longitude;
    QPointer<ZComboBox> m_interval;
    QPointer<ZPressButton> m_updateNow;
    QPointer<ZLabel> m_lastUpdate;
};
