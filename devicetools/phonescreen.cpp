#include "phonescreen.h"

#include "atomicfile.h"
#include "boundedfile.h"
#include "device.h"
#include "idlefocus.h"
#include "qcopchannel.h"
#include "zmainwidget.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QImageReader>
#include <QPainter>
#include <QTimer>

PhoneScreen::PhoneScreen(QWidget *parent)
    : QWidget(parent)
    , m_watcher(new QFileSystemWatcher(this))
    , m_clockTimer(new QTimer(this))
{
    setFixedSize(ZMainWidget::ScreenWidth, ZMainWidget::ScreenHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_clock = PhoneClock::read(PhoneClock::settingsPath());
    m_clockFont = PhoneClock::font(m_clock);
    m_clockRect = PhoneClock::placement(m_clock, m_clockFont);

    // The picture is replaced by a rename, which the folder reports; the focus file too.
    const QString folder = QFileInfo(desktopPath()).absolutePath();
    QDir().mkpath(folder);
    m_watcher->addPath(folder);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &PhoneScreen::folderChanged);

    auto *system = new QCopChannel("EZX/System", this);
    connect(system, &QCopChannel::received, this,
            [this](const QByteArray &msg, const QByteArray &) { displayMessage(msg); });

    m_clockTimer->setSingleShot(true);
    connect(m_clockTimer, &QTimer::timeout, this, [this] {
        update(m_clockRect);
        scheduleClock();
    });
    scheduleClock();

    m_idleInFront = UTIL_GetIdleFocus() != 0;
    // The display stays as it was when the phone was restarted (for a clock handed over, say).
    m_displayOn = BoundedFile::read(displayStatePath(), 16).trimmed() != "0";
    reloadDesktop();
}

QString PhoneScreen::desktopPath()
{
    return Platform::phonePath(QStringLiteral("/idle/desktop.png"));
}

QString PhoneScreen::displayStatePath()
{
    return Platform::phonePath(QStringLiteral("/idle/display"));
}

QSize PhoneScreen::sizeHint() const
{
    return QSize(ZMainWidget::ScreenWidth, ZMainWidget::ScreenHeight);
}

void PhoneScreen::folderChanged()
{
    const bool idle = UTIL_GetIdleFocus() != 0;
    if (idle != m_idleInFront) {
        m_idleInFront = idle;
        update();
        emit stateChanged();
    }
    reloadDesktop();
}

void PhoneScreen::reloadDesktop()
{
    const QFileInfo info(desktopPath());
    if (!info.exists()) {
        if (!m_desktop.isNull()) {
            m_desktop = QImage();
            m_desktopTime = QDateTime();
            m_desktopSize = -1;
            update();
            emit desktopChanged();
        }
        return;
    }
    if (info.lastModified() == m_desktopTime && info.size() == m_desktopSize)
        return;
    QImageReader reader(info.filePath());
    const QImage image = reader.read();
    if (image.isNull())
        return; // keep what is on screen
    m_desktop = image;
    m_desktopTime = info.lastModified();
    m_desktopSize = info.size();
    update();
    emit desktopChanged();
}

void PhoneScreen::displayMessage(const QByteArray &msg)
{
    const bool on = msg == "LCDOn" ? true : msg == "LCDOff" ? false : m_displayOn;
    if (on == m_displayOn)
        return;
    m_displayOn = on;
    AtomicFile::replace(displayStatePath(), on ? QByteArray("1") : QByteArray("0"));
    if (on)
        scheduleClock();
    else
        m_clockTimer->stop();
    update();
    emit stateChanged();
}

void PhoneScreen::scheduleClock()
{
    // Wakes once a minute, just after the minute changes.
    const int intoMinute = QTime::currentTime().msecsSinceStartOfDay() % 60000;
    m_clockTimer->start(60000 - intoMinute + 50);
}

void PhoneScreen::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect screen = rect();
    if (!m_displayOn) {
        p.fillRect(screen, Qt::black);
        return;
    }
    if (!m_idleInFront) {
        // Another program's window covers the idle screen.
        p.fillRect(screen, QColor(0xe8, 0xe8, 0xe8));
        const QRect band(0, 0, screen.width(), 24);
        p.fillRect(band, QColor(0x3a, 0x5f, 0x9f));
        p.setPen(Qt::white);
        p.drawText(band.adjusted(6, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, tr("Another window"));
        return;
    }
    if (m_desktop.isNull()) {
        p.fillRect(screen, QColor(0x20, 0x20, 0x20));
    } else {
        p.drawImage(screen, m_desktop.size() == screen.size()
                                ? m_desktop
                                : m_desktop.scaled(screen.size(), Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation));
    }
    // A clock placed partly or wholly off the screen is the phone's way of hiding it: a theme
    // with a clock of its own hands the phone's clock over below the screen.
    if (!screen.contains(m_clockRect))
        return;
    p.setFont(m_clockFont);
    p.setPen(m_clock.color);
    p.drawText(m_clockRect, Qt::AlignLeft | Qt::AlignVCenter,
               QTime::currentTime().toString(QStringLiteral("hh:mm")));
}
