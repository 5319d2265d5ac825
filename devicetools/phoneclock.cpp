#include "phoneclock.h"

#include "setuptheme.h"
#include "zconfig.h"
#include "zmainwidget.h"
#include "zsoftkey.h"

#include <QFontMetrics>

namespace PhoneClock {

QString settingsPath()
{
    return SETUP_THEME::getThemeValue(SETUP_THEME::IdleClockDir) + QStringLiteral("/phone_p.ini");
}

Settings read(const QString &path)
{
    const ZConfig ini(path);
    Settings s;
    const QString idle = QStringLiteral("Idle");
    const QString clock = QStringLiteral("Font_DigitalClockStd");
    s.paddingRight = ini.readNumEntry(idle, QStringLiteral("Padding_Right"), s.paddingRight);
    s.paddingBottom = ini.readNumEntry(idle, QStringLiteral("Padding_Bottom"), s.paddingBottom);
    const int size = ini.readNumEntry(clock, QStringLiteral("Size"), s.size);
    if (size > 0 && size <= 200)
        s.size = size;
    const int color = ini.readNumEntry(clock, QStringLiteral("Color"), -1);
    if (color >= 0 && color <= 0xffffff)
        s.color = QColor(QRgb(color));
    return s;
}

QFont font(const Settings &settings)
{
    QFont f(QStringLiteral("AMCSL"));
    f.setPointSize(settings.size);
    f.setWeight(QFont::Normal);
    f.setItalic(false);
    return f;
}

QRect placement(const Settings &settings, const QFont &font)
{
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(QStringLiteral("00:00"));
    const int height = fm.height();
    const int right = ZMainWidget::ScreenWidth - settings.paddingRight;
    const int bottom = ZMainWidget::ScreenHeight - ZSoftKey::BarHeight - settings.paddingBottom;
    return QRect(right - width, bottom - height, width, height);
}

} // namespace PhoneClock
