#include "morvessa.h"

#include "desktoprefresh.h"
#include "device.h"
#include "idlefocus.h"
#include "qcopchannel.h"
#include "setuptheme.h"
#include "wallpaperlist.h"
#include "settingsfile.h"
#include "zmainwidget.h"
#include "zmyapp.h"

#include <QFile>
#include <QTimer>

#include <climits>
#include <cstdlib>
#include <ctime>

namespace {
const QString kGroup = QStringLiteral("Quillora");
}

Morvessa::Morvessa()
    : m_timer(new QTimer)
{
    connect(m_timer, &QTimer::timeout, this, &Morvessa::updateTime);
    auto *system = new QCopChannel("EZX/System", this);
    connect(system, &QCopChannel::received, this, &Morvessa::systemStatusChanged);
    auto *keys = new QCopChannel("/hardkey/bc", this);
    connect(keys, &QCopChannel::received, this, &Morvessa::KeyChanged);
    m_listening = QCopChannel::checkListening({system, keys});
    if (!m_listening)
        return;

    m_position = 0;
    m_programDir = getProgramDir();

    const ConfigSnapshot settings = SettingsFile::snapshot(m_programDir);
    m_changeTime = settings.readNumEntry(kGroup, QStringLiteral("ChangeTime"), -1);
    m_randomMode = settings.readBoolEntry(kGroup, QStringLiteral("ChangeMode"), false);
    m_refresh = settings.readBoolEntry(kGroup, QStringLiteral("Refresh"), false);

    // The same reader as the manager's: blank lines are no wallpapers.
    WallpaperList::readList(WallpaperList::listFile(m_programDir), m_list);

    if (m_list.size() < 2)
        ZMyApp::quit();
}

Morvessa::~Morvessa()
{
    delete m_timer;
}

QString Morvessa::getProgramDir() const
{
    return Platform::programDir();
}

void Morvessa::Start()
{
    startTimer();
}

void Morvessa::startTimer()
{
    if (m_changeTime <= 0) {
        m_timer->stop();
        return;
    }
    m_timer->start(int(qMin<qint64>(qint64(m_changeTime) * 1000, INT_MAX)));
}

void Morvessa::randomStep()
{
    // Seeded from the clock at every step; never lands on the current position.
    std::srand(unsigned(std::time(nullptr)));
    const unsigned count = unsigned(m_list.size());
    int next;
    do {
        next = int(unsigned(std::rand()) % count);
    } while (next == m_position);
    m_position = next;
}

void Morvessa::showMomentaryWindow()
{
    // A full window covers the idle screen for a moment and goes away.
    auto *window = new ZKbMainWidget(ZMainWidget::TitleHeader, nullptr, QStringLiteral("ZMainWidget"), 0);
    window->show();
    delete window;
}

void Morvessa::refreshDesktop()
{
    Platform::runShow(m_programDir);
}

void Morvessa::updateTime()
{
    if (m_list.size() < 2 || UTIL_GetIdleFocus() == 0)
        return;
    SETUP_THEME::updateTheme(SETUP_THEME::Wallpaper, m_list.at(m_position));
    showMomentaryWindow();
    if (m_refresh)
        refreshDesktop();
    if (m_randomMode)
        randomStep();
    else
        m_position = (m_position + 1) % int(m_list.size());
}

void Morvessa::systemStatusChanged(const QByteArray &msg, const QByteArray &)
{
    if (msg == "LCDOn") {
        updateTime();
        startTimer();
    } else if (msg == "LCDOff") {
        m_timer->stop();
    }
}

void Morvessa::KeyChanged(const QByteArray &msg, const QByteArray &data)
{
    qint32 code = 0;
    qint32 state = 0;
    if (!decodeKeyMsg(msg, data, &code, &state) || m_list.size() < 2)
        return;
    if (UTIL_GetIdleFocus() == 0)
        return;
    if ((code != NextKey && code != PreviousKey) || state != KeyPressed)
        return;

    const int count = int(m_list.size());
    if (m_randomMode)
        randomStep();
    else if (code == NextKey)
        m_position = (m_position + 1) % count;
    else
        m_position = (m_position + count - 1) % count;

    auto *window = new ZKbMainWidget(ZMainWidget::TitleHeader, nullptr, QStringLiteral("ZMainWidget"), 0);
    window->show();
    SETUP_THEME::updateTheme(SETUP_THEME::Wallpaper, m_list.at(m_position));
    delete window;

    if (m_refresh) {
        showMomentaryWindow();
        refreshDesktop();
    }
}
