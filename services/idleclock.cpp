#include "idleclock.h"
#include "themefile.h"

#include "zconfig.h"

#include <QFont>
#include <QFontMetrics>

namespace IdleClock {

Item readItem(const ZConfig &theme)
{
    const QString g = QStringLiteral("SysTime");
    Item item;
    item.fontSize = theme.readNumEntry(g, ThemeKey::FontSize, -1);
    item.red = theme.readNumEntry(g, ThemeKey::FontColorR, -1);
    item.green = theme.readNumEntry(g, ThemeKey::FontColorG, -1);
    item.blue = theme.readNumEntry(g, ThemeKey::FontColorB, -1);
    item.posX = theme.readNumEntry(g, ThemeKey::PositionX, -1);
    item.posY = theme.readNumEntry(g, ThemeKey::PositionY, -1);
    item.enable = theme.readBoolEntry(g, ThemeKey::Enable, false);
    return item;
}

bool canHandOver(const Item &item, const QString &phoneDir)
{
    // A coordinate of 0 is a clock never placed. A missing item reads -1 everywhere and, like a
    // disabled one, is handed over below the screen.
    return !phoneDir.isEmpty() && item.posX != 0 && item.posY != 0;
}

int colorValue(int red, int green, int blue)
{
    auto part = [](int v) {
        return QStringLiteral("%1").arg(qBound(0, v, 255), 2, 16, QLatin1Char(' '));
    };
    QString hex = QStringLiteral("%1%2%3").arg(part(red), part(green), part(blue));
    hex.replace(QLatin1Char(' '), QLatin1Char('0'));
    bool ok = false;
    const int value = hex.toInt(&ok, 16);
    return ok ? value : 0;
}

Values compute(const Item &item, int textWidth, int lineHeight, int softKeyHeight)
{
    const int y = item.enable ? item.posY : 400;
    Values v;
    v.paddingRight = 240 - (item.posX + textWidth);
    v.paddingBottom = 320 - softKeyHeight - (y + lineHeight);
    v.size = item.fontSize;
    v.color = colorValue(item.red, item.green, item.blue);
    return v;
}

void measure(int fontSize, int *textWidth, int *lineHeight)
{
    QFont font(QStringLiteral("AMCSL"));
    font.setPointSize(qMax(1, fontSize));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    const QFontMetrics fm(font);
    *textWidth = fm.horizontalAdvance(QStringLiteral("00:00"));
    *lineHeight = fm.height();
}

bool write(const QString &phoneIniPath, const Values &values)
{
    ZConfig ini(phoneIniPath);
    bool ok = ini.writeEntry(QStringLiteral("Idle"), QStringLiteral("Padding_Right"), values.paddingRight);
    ok = ini.writeEntry(QStringLiteral("Idle"), QStringLiteral("Padding_Bottom"), values.paddingBottom) && ok;
    ok = ini.writeEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Size"), values.size) && ok;
    ok = ini.writeEntry(QStringLiteral("Font_DigitalClockStd"), QStringLiteral("Color"), values.color) && ok;
    return ok;
}

QString phoneIniPath(const QString &phoneDir)
{
    return phoneDir + QStringLiteral("/phone_p.ini");
}

Outcome handOver(const Item &item, const QString &phoneDir, int softKeyHeight)
{
    if (!canHandOver(item, phoneDir))
        return Outcome::Refused;
    int width = 0;
    int height = 0;
    measure(item.fontSize, &width, &height);
    return write(phoneIniPath(phoneDir), compute(item, width, height, softKeyHeight)) ? Outcome::Written
                                                                                      : Outcome::Failed;
}

const char *const FollowKey = "ClockFollowsTheme";

bool follows(const ZConfig &settings)
{
    return settings.readBoolEntry(QStringLiteral("Quillora"), QLatin1String(FollowKey), false);
}

Outcome followTheme(const ZConfig &settings, const QString &themeFile, const QString &phoneDir,
                    int softKeyHeight)
{
    if (!follows(settings))
        return Outcome::Skipped;
    // A theme without a visible clock of its own moves the phone's clock below the screen, so
    // the phone never shows a clock over the theme's own.
    return handOver(readItem(ZConfig(themeFile)), phoneDir, softKeyHeight);
}

} // namespace IdleClock
