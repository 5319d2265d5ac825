#include "weatherpanel.h"

#include "cities.h"
#include "device.h"
#include "formrows.h"
#include "langtext.h"
#include "processcontrol.h"
#include "scriptedits.h"
#include "weatherupdate.h"
#include "zcombobox.h"
#include "zconfig.h"
#include "zgui.h"
#include "zlabel.h"
#include "zlineedit.h"
#include "znoticedlg.h"
#include "zpressbutton.h"

#include <QApplication>
#include <QDoubleValidator>
#include <QEventLoop>
#include <QFocusEvent>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kGroup = QStringLiteral("Weather");
const char *const kUpdater = "fetchweather";
// Minutes of the interval selector's entries.
const int kIntervals[] = {30, 60, 120, 180};

} // namespace

WeatherPanel::WeatherPanel(ZConfig *settings, const ZConfig *lang, const QString &programDir, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_lang(lang), m_programDir(programDir)
{
    const Weather::Lang language = Weather::langOfLanguageFile(languageFileFor(
        programDir + QStringLiteral("resource/language/"), settings->readEntry(QStringLiteral("Quillora"), QStringLiteral("Language"))));

    m_city = new ZComboBox(this, QStringLiteral("weatherCity"));
    m_city->addItem(text("WeatherNoCity", "No forecast"));
    for (int i = 0; i < Weather::cityCount(); ++i)
        m_city->addItem(Weather::cityName(Weather::city(i), language));
    m_city->addItem(text("WeatherOtherPlace", "Other place"));

    m_name = new ZLineEdit(this, QStringLiteral("weatherName"));
    m_name->setMaxLength(40);
    m_latitude = new ZLineEdit(this, QStringLiteral("weatherLatitude"));
    m_latitude->setValidator(new QDoubleValidator(-90, 90, 4, m_latitude));
    m_longitude = new ZLineEdit(this, QStringLiteral("weatherLongitude"));
    m_longitude->setValidator(new QDoubleValidator(-180, 180, 4, m_longitude));
    m_latitude->installEventFilter(this);
    m_longitude->installEventFilter(this);

    m_interval = new ZComboBox(this, QStringLiteral("weatherInterval"));
    for (int minutes : kIntervals)
        m_interval->addItem(minutes < 60 ? text("WeatherMinutes", "%1 minutes").arg(minutes)
                                         : text("WeatherHours", "%1 h").arg(minutes / 60));
    m_updateNow = new ZPressButton(text("WeatherUpdateNow", "Update now"), this, QStringLiteral("weatherUpdateNow"));
    m_lastUpdate = new ZLabel(QString(), this);
    m_lastUpdate->setObjectName(QStringLiteral("weatherLastUpdate"));
    m_lastUpdate->setWordWrap(true);

    QVBoxLayout *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FormRows::caption(text("WeatherCity", "City")));
    layout->addWidget(m_city);
    layout->addWidget(FormRows::labelled(text("WeatherName", "Name"), m_name, 70));
    layout->addWidget(FormRows::labelled(text("WeatherLatitude", "Latitude"), m_latitude, 70));
    layout->addWidget(FormRows::labelled(text("WeatherLongitude", "Longitude"), m_longitude, 70));
    layout->addWidget(FormRows::labelled(text("WeatherInterval", "Update every"), m_interval, 70));
    layout->addWidget(m_updateNow);
    layout->addWidget(m_lastUpdate);
    // The rows wrap their fields, which puts the fields last in the focus chain: Down goes
    // through them top to bottom.
    const QList<QWidget *> order = {m_city, m_name, m_latitude, m_longitude, m_interval, m_updateNow};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));

    // Everything is shown before a signal is connected: building the panel writes nothing.
    showPlace();
    showInterval();
    showLastUpdate();

    connect(m_city, SIGNAL(activated(int)), this, SLOT(cityActivated(int)));
    for (ZLineEdit *edit : {m_name.data(), m_latitude.data(), m_longitude.data()})
        connect(edit, &QLineEdit::editingFinished, this, &WeatherPanel::placeEdited);
    connect(m_interval, SIGNAL(activated(int)), this, SLOT(intervalActivated(int)));
    connect(m_updateNow, &QPushButton::clicked, this, &WeatherPanel::updateNow);
}

bool WeatherPanel::eventFilter(QObject *watched, QEvent *event)
{
    // The field keeps what was typed and nothing is stored, so leaving it says why. A menu or
    // another window taking the keys is not leaving it. The notice comes once the focus has
    // moved on, not within the move.
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
            && !edit->text().trimmed().isEmpty() && !edit->hasAcceptableInput())
            QMetaObject::invokeMethod(
                this,
                [this] {
                    notice(text("WeatherRangeText", "A latitude lies between -90 and 90, a longitude between -180 and 180."), 1);
                },
                Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

QString WeatherPanel::text(const char *key, const char *english) const
{
    return getText(m_lang, QLatin1String(key), QString::fromUtf8(english));
}

void WeatherPanel::showPlace()
{
    Weather::Request request;
    QString error;
    const bool set = Weather::readRequest(*m_settings, &request, &error);
    const QString name = m_settings->readEntry(kGroup, QStringLiteral("City"));
    int entry = 0;
    if (set) {
        const int known = Weather::findCity(name);
        const bool same = known >= 0 && qAbs(Weather::city(known).latitude - request.latitude) < 1e-4
                          && qAbs(Weather::city(known).longitude - request.longitude) < 1e-4;
        entry = same ? known + 1 : m_city->count() - 1;
    }
    m_city->setCurrentIndex(entry);
    m_name->setText(set ? (entry > 0 && entry < m_city->count() - 1 ? m_city->itemText(entry) : name) : QString());
    m_latitude->setText(set ? QString::number(request.latitude, 'f', 4) : QString());
    m_longitude->setText(set ? QString::number(request.longitude, 'f', 4) : QString());
}

void WeatherPanel::showInterval()
{
    const int interval = Weather::updateInterval(*m_settings);
    int entry = int(std::size(kIntervals)) - 1;
    for (int i = 0; i < int(std::size(kIntervals)); ++i)
        if (kIntervals[i] <= interval)
            entry = i;
    m_interval->setCurrentIndex(entry);
}

void WeatherPanel::showLastUpdate()
{
    const QString updated = Weather::weatherFileUpdated();
    m_lastUpdate->setText(text("WeatherLastUpdate", "Last update: %1")
                              .arg(updated.isEmpty() ? text("WeatherNever", "never") : updated));
}

void WeatherPanel::cityActivated(int index)
{
    if (index <= 0) {
        storePlace(QString(), 0, 0);
    } else if (index <= Weather::cityCount()) {
        const Weather::City &city = Weather::city(index - 1);
        storePlace(m_city->itemText(index), city.latitude, city.longitude);
    } else {
        // Any coordinates: the fields wait for the user's values.
        m_name->setFocus();
        return;
    }
    showPlace();
}

void WeatherPanel::placeEdited()
{
    bool latOk = false;
    bool lonOk = false;
    const double latitude = m_latitude->text().toDouble(&latOk);
    const double longitude = m_longitude->text().toDouble(&lonOk);
    if (!latOk || !lonOk || !m_latitude->hasAcceptableInput() || !m_longitude->hasAcceptableInput())
        return; // not a place yet
    Weather::Request stored;
    QString error;
    const QString name = m_name->text().simplified();
    if (Weather::readRequest(*m_settings, &stored, &error) && qAbs(stored.latitude - latitude) < 1e-6
        && qAbs(stored.longitude - longitude) < 1e-6 && name == m_settings->readEntry(kGroup, QStringLiteral("City")))
        return; // nothing changed
    storePlace(name, latitude, longitude);
    const QSignalBlocker quiet(m_city.data());
    showPlace();
}

void WeatherPanel::storePlace(const QString &name, double latitude, double longitude)
{
    bool stored = true;
    if (name.isNull()) {
        for (const char *key : {"City", "Latitude", "Longitude"})
            stored = m_settings->removeEntry(kGroup, QLatin1String(key)) && stored;
    } else {
        stored = m_settings->writeEntry(kGroup, QStringLiteral("City"), name)
                 && m_settings->writeEntry(kGroup, QStringLiteral("Latitude"), QString::number(latitude, 'f', 4))
                 && m_settings->writeEntry(kGroup, QStringLiteral("Longitude"), QString::number(longitude, 'f', 4));
    }
    // The updater goes by the file: it is left alone when the file does not hold the new place.
    if (!stored) {
        settingsFailed();
        return;
    }
    setUpdater(!name.isNull());
}

void WeatherPanel::settingsFailed()
{
    // What the panel shows next is what the file holds.
    m_settings->reload();
    notice(text("SettingsFailedText", "The settings could not be saved."), 1);
}

void WeatherPanel::setUpdater(bool on)
{
    const ProcessControl control(m_programDir);
    ProcessControl::run(control.stopCommand(QLatin1String(kUpdater)));
    if (on)
        ProcessControl::run(Platform::shellQuote(control.programFile(QLatin1String(kUpdater)))
                            + QStringLiteral(" --background >/dev/null 2>&1 &"));
    // The phone starts the updater with itself while a place is chosen.
    ScriptEdits::Message failed{};
    if (!ScriptEdits::updateStartup(ZGui::autorunFile(), m_programDir, on, QLatin1String(kUpdater), &failed))
        notice(text(failed.key, failed.english), 1);
}

void WeatherPanel::intervalActivated(int index)
{
    if (index < 0 || index >= int(std::size(kIntervals)))
        return;
    if (!m_settings->writeEntry(kGroup, QStringLiteral("Interval"), kIntervals[index])) {
        settingsFailed();
        showInterval();
    }
}

QString WeatherPanel::failureText(Failure failure) const
{
    switch (failure) {
    case Failure::NoPlace:
        return text("WeatherNoPlaceText", "Choose a city or enter coordinates first.");
    case Failure::NotStarted:
        return text("WeatherNotStartedText", "The weather updater could not be started.");
    case Failure::NoEnd:
        return text("WeatherNoEndText", "The weather updater did not finish in time.");
    case Failure::Fetch:
        break;
    }
    return text("WeatherFetchFailedText", "The forecast server could not be reached or gave no usable answer.");
}

void WeatherPanel::updateNow()
{
    placeEdited();
    Weather::Request request;
    QString unused;
    if (!Weather::readRequest(*m_settings, &request, &unused)) {
        // Nothing to fetch for: said before a program runs.
        updateFailed(Failure::NoPlace, QString());
        return;
    }
    // The fetch runs in a nested event loop, like a modal dialog: the window stays drawn, and
    // the button waits until the fetch has ended (fetchweather gives up after 10 s itself).
    QProcess fetch;
    fetch.setStandardOutputFile(QProcess::nullDevice());
    QEventLoop loop;
    connect(&fetch, &QProcess::finished, &loop, &QEventLoop::quit);
    connect(&fetch, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(40000, &loop, &QEventLoop::quit);
    m_updateNow->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    fetch.start(ProcessControl(m_programDir).programFile(QLatin1String(kUpdater)), {});
    loop.exec();
    QApplication::restoreOverrideCursor();
    m_updateNow->setEnabled(true);
    const bool ended = fetch.state() == QProcess::NotRunning && fetch.exitStatus() == QProcess::NormalExit;
    const QString error = QString::fromUtf8(fetch.readAllStandardError()).trimmed().section(QLatin1Char('\n'), 0, 0);
    showLastUpdate();
    if (ended && fetch.exitCode() == 0) {
        notice(text("WeatherUpdated", "The forecast was updated."), 0);
        return;
    }
    if (ended && fetch.exitCode() == 3) { // written, but the desktop was not redrawn
        notice(text("WeatherUpdated", "The forecast was updated.") + QLatin1Char('\n') + error, 1);
        return;
    }
    if (fetch.error() == QProcess::FailedToStart)
        updateFailed(Failure::NotStarted, fetch.errorString());
    else if (!ended)
        updateFailed(Failure::NoEnd, error);
    else
        updateFailed(Failure::Fetch, error);
    if (fetch.state() != QProcess::NotRunning) {
        fetch.kill();
        fetch.waitForFinished(1000);
    }
}

void WeatherPanel::updateFailed(Failure failure, const QString &detail)
{
    // The reason in the interface language; the updater's own line, as it wrote it, only below.
    QString message = text("WeatherUpdateFailed", "The forecast could not be updated:") + QLatin1Char('\n')
                      + failureText(failure);
    if (!detail.isEmpty())
        message += QStringLiteral("\n\n") + text("WeatherDetail", "Detail: %1").arg(detail);
    notice(message, 1);
}

void WeatherPanel::notice(const QString &text, int type)
{
    ZNoticeDlg::inform(type, type == 0 ? 1000 : 0, text, window());
}
