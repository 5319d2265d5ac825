#include "phonewindow.h"

#include "idlefocus.h"
#include "phonescreen.h"
#include "qcopchannel.h"

#include <QDataStream>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIODevice>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

void sendKey(int code, int state)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << qint32(code) << qint32(state);
    QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", data);
}

} // namespace

PhoneWindow::PhoneWindow(QWidget *parent)
    : QWidget(parent)
    , m_screen(new PhoneScreen)
{
    setWindowTitle(tr("Quillora phone"));

    // The screen in a dark bezel, nothing drawn over it.
    auto *bezel = new QFrame;
    bezel->setStyleSheet(QStringLiteral("QFrame { background: #111; border-radius: 10px; }"));
    auto *bezelLayout = new QVBoxLayout(bezel);
    bezelLayout->setContentsMargins(12, 16, 12, 16);
    bezelLayout->addWidget(m_screen);

    auto *display = new QGroupBox(tr("Display"));
    m_display = new QPushButton;
    m_display->setCheckable(true);
    connect(m_display, &QPushButton::clicked, this, [this](bool off) {
        QCopChannel::send("EZX/System", off ? "LCDOff" : "LCDOn");
    });
    (new QVBoxLayout(display))->addWidget(m_display);

    auto *keys = new QGroupBox(tr("Theme keys"));
    auto *keyRow = new QHBoxLayout(keys);
    keyRow->addWidget(keyButton(tr("◀ Previous (4172)"), 4172));
    keyRow->addWidget(keyButton(tr("Next (4171) ▶"), 4171));

    auto *front = new QGroupBox(tr("In front"));
    m_idleFront = new QRadioButton(tr("Idle screen"));
    m_otherFront = new QRadioButton(tr("Another window"));
    connect(m_idleFront, &QRadioButton::toggled, this, [](bool on) {
        Platform::setIdleFocus(on);
    });
    auto *frontLayout = new QVBoxLayout(front);
    frontLayout->addWidget(m_idleFront);
    frontLayout->addWidget(m_otherFront);

    m_status = new QLabel;
    m_status->setWordWrap(true);

    auto *panel = new QVBoxLayout;
    panel->addWidget(display);
    panel->addWidget(keys);
    panel->addWidget(front);
    panel->addWidget(m_status);
    panel->addStretch(1);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(bezel, 0, Qt::AlignTop);
    layout->addLayout(panel);

    connect(m_screen, &PhoneScreen::stateChanged, this, &PhoneWindow::syncControls);
    connect(m_screen, &PhoneScreen::desktopChanged, this, &PhoneWindow::syncControls);
    syncControls();
}

QWidget *PhoneWindow::keyButton(const QString &text, int code)
{
    // Pressed sends state 1, released state 2, as the phone's keypad does.
    auto *button = new QPushButton(text);
    button->setAutoRepeat(false);
    connect(button, &QPushButton::pressed, this, [code] { sendKey(code, 1); });
    connect(button, &QPushButton::released, this, [code] { sendKey(code, 2); });
    return button;
}

void PhoneWindow::syncControls()
{
    const QSignalBlocker blockIdle(m_idleFront);
    const QSignalBlocker blockOther(m_otherFront);
    const bool on = m_screen->displayOn();
    m_display->setChecked(!on);
    m_display->setText(on ? tr("Switch off") : tr("Switch on"));
    m_idleFront->setChecked(m_screen->idleInFront());
    m_otherFront->setChecked(!m_screen->idleInFront());

    const QDateTime drawn = m_screen->desktopTime();
    m_status->setText(drawn.isValid()
                          ? tr("Desktop drawn at %1").arg(drawn.toString(QStringLiteral("HH:mm:ss")))
                          : tr("No desktop picture yet"));
}
