#include "drawimg.h"

#include "device.h"
#include "renderclock.h"
#include "setuptheme.h"
#include "textconv.h"
#include "configsnapshot.h"

#include <QFile>
#include <QFont>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

namespace {

// The largest font the renderer draws; a bigger size in a theme would only stall the
// rendering of glyphs that cannot fit the screen anyway.
constexpr int kMaxFontSize = 200;
// Background pictures larger than this (per side) are not scaled in memory but painted
// scaled, so a theme cannot make the renderer allocate a huge picture.
constexpr int kMaxScaledSide = 4096;

int clampColour(int c) { return qBound(0, c, 255); }

} // namespace

DrawImg::DrawImg()
{
    now = RenderClock::now();

    tagDate today{now.date().day(), now.date().month(), now.date().year()};
    getLunar(today);

    programDir = getProgramDir();
    settings = new ConfigSnapshot(programDir + QStringLiteral("settings.ini"));
    currentTheme = settings->readEntry(QStringLiteral("Quillora"), QStringLiteral("CurrentTheme"), QString());

    // The working copy of a theme under edit is drawn in place of the current theme.
    const QString workingCopy = Platform::phonePath(QStringLiteral("/tmp/tmp.theme"));
    if (QFile::exists(workingCopy))
        theme = new ConfigSnapshot(workingCopy);
    else
        theme = new ConfigSnapshot(programDir + QStringLiteral("theme/") + currentTheme);

    loadWallpaper();
    painter = new QPainter;
    drawPixmap();
}

DrawImg::~DrawImg()
{
    delete painter;
    delete picture;
    delete settings;
    delete theme;
}

QPixmap *DrawImg::getPixmap()
{
    return picture;
}

QString DrawImg::getProgramDir()
{
    return Platform::programDir();
}

void DrawImg::loadWallpaper()
{
    QString path = SETUP_THEME::getThemeValue(SETUP_THEME::Wallpaper);
    // A phone path ("/mmc/mmca1/...") that is not a file of this machine lies under the
    // device root.
    if (!path.isEmpty() && !QFile::exists(path))
        path = Platform::phonePath(path);

    QImage wallpaper;
    if (!path.isEmpty()) {
        QImageReader reader(path);
        reader.setAutoTransform(true); // photos stand as a viewer shows them
        wallpaper = reader.read();
    }
    if (wallpaper.isNull()) {
        // No usable wallpaper: a plain dark picture, and the items are still drawn over it.
        wallpaper = QImage(Width, Height, QImage::Format_RGB32);
        wallpaper.fill(QColor(24, 26, 32));
    } else if (wallpaper.size() != QSize(Width, Height)) {
        wallpaper = wallpaper.scaled(Width, Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    picture = new QPixmap(QPixmap::fromImage(std::move(wallpaper)));
}

void DrawImg::drawPixmap()
{
    if (!painter->begin(picture))
        return;
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    drawSysTime();
    drawHour();
    drawMinute();
    drawYear();
    drawMonth();
    drawDay();
    drawLunarYear();
    drawLunarMonth();
    drawLunarDay();
    drawWeek();
    drawCalendar();
    drawNotify();
    drawNote();
    drawWeather();
    painter->end();
}

bool DrawImg::readEnabled(const QString &group)
{
    itemName = group;
    enabled = theme->readBoolEntry(itemName, QStringLiteral("Enable"), false);
    return enabled;
}

QFont DrawImg::itemFont(int pointSize) const
{
    QFont font(QStringLiteral("AMCSL"));
    font.setPointSize(qBound(1, pointSize, kMaxFontSize));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

// Loads a picture into scratchImage and draws it at the placement keys of the item (its own
// size when BGImage_W/BGImage_H are missing), in picture coordinates.
void DrawImg::drawBackground(const QString &path)
{
    scratchImage = QImage(path);
    bgX = theme->readNumEntry(itemName, QStringLiteral("BGImage_X"), -1);
    bgY = theme->readNumEntry(itemName, QStringLiteral("BGImage_Y"), -1);
    bgW = theme->readNumEntry(itemName, QStringLiteral("BGImage_W"), scratchImage.width());
    bgH = theme->readNumEntry(itemName, QStringLiteral("BGImage_H"), scratchImage.height());
    if (scratchImage.isNull() || bgW <= 0 || bgH <= 0)
        return;
    if (bgW <= kMaxScaledSide && bgH <= kMaxScaledSide) {
        if (scratchImage.size() != QSize(bgW, bgH))
            scratchImage = scratchImage.scaled(bgW, bgH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter->drawImage(bgX, bgY, scratchImage);
    } else {
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter->drawImage(QRect(bgX, bgY, bgW, bgH), scratchImage);
        painter->restore();
    }
}

// The item's own background picture, a file of "theme/images/" named by BGImage, when it
// names one.
void DrawImg::drawItemBackground()
{
    bgImage = theme->readEntry(itemName, QStringLiteral("BGImage"), QString());
    if (!bgImage.isEmpty())
        drawBackground(programDir + QStringLiteral("theme/images/") + bgImage);
}

// The colour and the position of the item's text.
void DrawImg::readTextPlacement()
{
    fontR = theme->readNumEntry(itemName, QStringLiteral("FontColor_R"), -1);
    fontG = theme->readNumEntry(itemName, QStringLiteral("FontColor_G"), -1);
    fontB = theme->readNumEntry(itemName, QStringLiteral("FontColor_B"), -1);
    posX = theme->readNumEntry(itemName, QStringLiteral("Position_X"), -1);
    posY = theme->readNumEntry(itemName, QStringLiteral("Position_Y"), -1);
}

// One text in the text box: left and top aligned, no word wrap, a new line at every "\n",
// clipped to 240 x 320 from its corner.
void DrawImg::drawTextAt(int x, int y, const QString &text, int r, int g, int b)
{
    painter->setPen(QColor(clampColour(r), clampColour(g), clampColour(b)));
    painter->drawText(QRect(x, y, Width, Height), Qt::AlignLeft | Qt::AlignTop, text);
}

void DrawImg::drawItem(QString text)
{
    painter->save();
    drawItemBackground();

    fontSize = theme->readNumEntry(itemName, QStringLiteral("FontSize"), -1);
    if (fontSize > 0) {
        shadow = theme->readBoolEntry(itemName, QStringLiteral("Shadow"), false);
        rotateAngle = theme->readNumEntry(itemName, QStringLiteral("RotateAngle"), 0);
        readTextPlacement();
        drawTurnedText(text);
    }
    painter->restore();
}

// The text of an item in its font, colour and shadow, in the frame moved to (posX, posY) and
// turned clockwise by rotateAngle; the shadow's offset is taken in the turned frame.
void DrawImg::drawTurnedText(const QString &byteString)
{
    painter->setFont(itemFont(fontSize));
    painter->translate(posX, posY);
    painter->rotate(rotateAngle % 360);
    const QString shown = ChineseAndEnglish(byteString);
    if (shadow)
        drawTextAt(1, 1, shown, 128, 128, 128);
    drawTextAt(0, 0, shown, fontR, fontG, fontB);
}

// The text of a formatted item: TextFormat of the item (its default when empty) applied to
// the values. The result is a UTF-8 byte string.
QString DrawImg::formatItem(const QString &defaultFormat, const QList<FormatArg> &values)
{
    textFormat = UnicodeAndChinese(theme->readEntry(itemName, QStringLiteral("TextFormat"), QString()));
    if (textFormat.isEmpty())
        textFormat = UnicodeAndChinese(defaultFormat);
    return bytesToByteString(formatText(byteStringToBytes(textFormat), values));
}

void DrawImg::drawFormattedItem(const QString &defaultFormat, const QList<FormatArg> &values)
{
    drawItem(formatItem(defaultFormat, values));
}
