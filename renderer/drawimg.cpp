#include "drawimg.h"

#include "device.h"
#include "themefile.h"
#include "renderclock.h"
#include "setuptheme.h"
#include "textconv.h"
#include "configsnapshot.h"
#include "notifydb.h"
#include "readlog.h"
#include "settingsfile.h"
#include "boundedfile.h"
#include "textbox.h"
#include "wallpaperloader.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

#include <utility>

namespace {

// The largest font the renderer draws; a bigger size in a theme would only stall the
// rendering of glyphs that cannot fit the screen anyway.
constexpr int kMaxFontSize = 200;
// Positions and sizes of a theme are kept within this range, far beyond the picture, so
// that adding them up never overflows.
constexpr int kMaxCoord = 100000;

int clampColour(int c) { return qBound(0, c, 255); }

} // namespace

DrawImg::DrawImg()
{
    compose(nullptr);
}

DrawImg::DrawImg(const RenderInput &given)
{
    compose(&given);
}

DrawImg::DrawImg(Overlay overlay)
    : overlayScale(qMax(1, overlay.scale))
{
    compose(nullptr);
}

DrawImg::DrawImg(Layer drawn, QImage over)
    : layer(drawn)
{
    compose(nullptr, std::move(over));
}

DrawImg::ClockDrawing DrawImg::drawClock(QList<QImage> pictures)
{
    ClockDrawing drawing;
    if (pictures.isEmpty())
        return drawing;
    DrawImg clock(Layer::Clock, std::exchange(pictures.first(), QImage()));
    drawing.pictures << clock.picture->toImage();
    for (qsizetype i = 1; i < pictures.size(); ++i) {
        delete clock.picture;
        clock.picture = new QPixmap(QPixmap::fromImage(std::exchange(pictures[i], QImage())));
        clock.drawPixmap();
        drawing.pictures << clock.picture->toImage();
    }
    drawing.problems = clock.problems();
    return drawing;
}

QStringList DrawImg::drawClockAt(const QImage &still, const QList<QDateTime> &instants,
                                 const std::function<void(qsizetype, const QImage &, const QImage &)> &take)
{
    const QImage clear = clearPicture();
    DrawImg clock(Layer::Clock, clear);
    for (qsizetype i = 0; i < instants.size(); ++i) {
        clock.now = instants.at(i);
        QImage pictures[2] = {clear, still};
        for (QImage &picture : pictures) {
            delete clock.picture;
            clock.picture = new QPixmap(QPixmap::fromImage(std::exchange(picture, QImage())));
            clock.drawPixmap();
            picture = clock.picture->toImage();
        }
        take(i, pictures[0], pictures[1]);
    }
    return clock.problems();
}

QImage DrawImg::clearPicture(int scale)
{
    QImage clear(Width * scale, Height * scale, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    return clear;
}

bool DrawImg::isClockItem(const QString &group)
{
    return group == QLatin1String("SysTime") || group == QLatin1String("Time_Hour")
        || group == QLatin1String("Time_Minute");
}

QImage DrawImg::drawItemsAt(int scale)
{
    DrawImg items(Overlay{scale});
    return items.getPixmap()->toImage();
}

void DrawImg::compose(const RenderInput *given, QImage over)
{
    input = given;
    now = input ? input->now : RenderClock::now();

    if (layer != Layer::Clock) {
        tagDate today{now.date().day(), now.date().month(), now.date().year()};
        getLunar(today);
    }

    programDir = getProgramDir();
    if (input) {
        settings = new ConfigSnapshot(ConfigSnapshot::fromText(input->settings));
        theme = new ConfigSnapshot(input->themePath);
    } else {
        settings = new ConfigSnapshot(SettingsFile::snapshot(programDir));
        currentTheme = settings->readEntry(ThemeFile::kSettingsGroup, ThemeFile::kCurrentTheme, QString());
        const QString path = currentThemePath(programDir, *settings);
        theme = path.isEmpty() ? new ConfigSnapshot(ConfigSnapshot::fromText(QByteArray())) : new ConfigSnapshot(path);
    }

    if (layer == Layer::Clock || layer == Layer::AfterClock)
        picture = new QPixmap(QPixmap::fromImage(std::move(over)));
    else
        loadWallpaper(input != nullptr);
    // The desktop's own run keeps its decoded pictures for the next minute's.
    const bool cached = !input && overlayScale == 0 && layer != Layer::Clock;
    if (cached)
        pictureFiles.useCache(Platform::phonePath(QStringLiteral("/idle/cache/pictures.raw")));
    painter = new QPainter;
    drawPixmap();
    if (cached)
        pictureFiles.saveCache();
    input = nullptr;
}

QString DrawImg::currentThemePath(const QString &programDir, const ConfigSnapshot &settings)
{
    // The working copy of a theme under edit is drawn in place of the current theme. A theme
    // is a file of theme/: a name that leads elsewhere draws as a missing theme.
    const QString workingCopy = ThemeFile::workingCopy();
    ReadLog::note(workingCopy);
    if (QFile::exists(workingCopy))
        return workingCopy;
    const QString name = settings.readEntry(ThemeFile::kSettingsGroup, ThemeFile::kCurrentTheme, QString());
    return ThemeFile::path(programDir, name);
}

QString DrawImg::wallpaperPath()
{
    const QString path = SETUP_THEME::getThemeValue(SETUP_THEME::Wallpaper);
    // A phone path ("/mmc/mmca1/...") that is not a file of this machine lies under the
    // device root. A file that is in neither place keeps the name it was set by, which the
    // message then shows.
    ReadLog::note(path);
    if (path.isEmpty() || QFile::exists(path))
        return path;
    const QString onPhone = Platform::phonePath(path);
    ReadLog::note(onPhone);
    return QFile::exists(onPhone) ? onPhone : path;
}

DrawImg::~DrawImg()
{
    delete painter;
    delete picture;
    delete settings;
    delete theme;
    delete notifyDb;
}

QPixmap *DrawImg::getPixmap()
{
    return picture;
}

QString DrawImg::getProgramDir()
{
    return Platform::programDir();
}

void DrawImg::loadWallpaper(bool plain)
{
    if (overlayScale > 0) {
        QImage clear = clearPicture(overlayScale);
        clear.setDevicePixelRatio(overlayScale);
        picture = new QPixmap(QPixmap::fromImage(std::move(clear)));
        return;
    }
    const QString path = plain ? QString() : wallpaperPath();

    QImage wallpaper;
    if (!path.isEmpty()) {
        const WallpaperLoader::Result loaded = WallpaperLoader::load(
            path, QSize(Width, Height), Platform::phonePath(QStringLiteral("/idle/cache/wallpaper.raw")));
        wallpaper = loaded.image;
        if (wallpaper.isNull())
            problemLines << QStringLiteral("wallpaper %1: %2").arg(path, loaded.problem);
    }
    if (wallpaper.isNull()) {
        // No usable wallpaper: a plain dark picture, and the items are still drawn over it.
        wallpaper = QImage(Width, Height, QImage::Format_RGB32);
        wallpaper.fill(QColor(24, 26, 32));
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
    if (layer == Layer::Clock) {
        painter->end();
        return;
    }
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
    enabled = theme->readBoolEntry(itemName, ThemeKey::Enable, false);
    return enabled;
}

QFont DrawImg::itemFont(int pointSize)
{
    QFont font(QStringLiteral("AMCSL"));
    font.setPointSize(qBound(1, pointSize, kMaxFontSize));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

// Loads a picture into scratchImage and draws it at the placement keys of the item (its own
// size when BGImage_W/BGImage_H are missing), in picture coordinates. The painter scales it
// to its rectangle, so only what shows of it is ever drawn.
void DrawImg::drawBackground(const QString &path)
{
    // The clock layer holds no picture, and the drawings before the clock's first text lie
    // under it whatever comes after.
    if (layer == Layer::Clock || (layer == Layer::AfterClock && !clockReached)) {
        scratchImage = QImage();
        return;
    }
    const QSize stored = pictureFiles.storedSize(path);
    bgX = readCoord("BGImage_X", -1);
    bgY = readCoord("BGImage_Y", -1);
    bgW = qBound(0, theme->readNumEntry(itemName, ThemeKey::BGImageW, stored.width()), kMaxCoord);
    bgH = qBound(0, theme->readNumEntry(itemName, ThemeKey::BGImageH, stored.height()), kMaxCoord);
    if (!stored.isValid() || bgW <= 0 || bgH <= 0) {
        scratchImage = QImage();
        return;
    }
    // A picture larger than its rectangle is scaled to the rectangle's size first.
    const bool larger = stored.width() > bgW && stored.height() > bgH;
    scratchImage = pictureFiles.picture(path, larger ? QSize(bgW, bgH) : QSize());
    if (scratchImage.isNull())
        return;
    const QRect target(bgX, bgY, bgW, bgH);
    if (scratchImage.size() == target.size()) {
        painter->drawImage(target.topLeft(), scratchImage);
    } else {
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter->drawImage(target, scratchImage);
        painter->restore();
    }
    extentOf(itemName).pictures << target;
    extentOf(itemName).pictureImages << scratchImage;
}

// The item's own background picture, a file of "theme/images/" named by BGImage, when it
// names one.
void DrawImg::drawItemBackground()
{
    bgImage = theme->readEntry(itemName, ThemeKey::BGImage, QString());
    if (!bgImage.isEmpty())
        drawBackground(ThemeFile::imagePath(programDir, bgImage));
}

// The colour and the position of the item's text.
void DrawImg::readTextPlacement()
{
    fontR = theme->readNumEntry(itemName, ThemeKey::FontColorR, -1);
    fontG = theme->readNumEntry(itemName, ThemeKey::FontColorG, -1);
    fontB = theme->readNumEntry(itemName, ThemeKey::FontColorB, -1);
    posX = readCoord("Position_X", -1);
    posY = readCoord("Position_Y", -1);
}

// A position of the item, kept within a range in which no arithmetic of the items overflows.
int DrawImg::readCoord(const char *key, int def)
{
    return qBound(-kMaxCoord, theme->readNumEntry(itemName, QLatin1String(key), def), kMaxCoord);
}

// The item's text box: Box_W x Box_H from its origin, 240 x 320 when missing.
QSize DrawImg::readBoxSize()
{
    return QSize(qBound(1, theme->readNumEntry(itemName, ThemeKey::BoxW, Width), kMaxCoord),
                 qBound(1, theme->readNumEntry(itemName, ThemeKey::BoxH, Height), kMaxCoord));
}

// The part of a box of `boxSize` from (x, y) of the painter's frame that lies on the picture.
QSize DrawImg::visibleBoxFrom(int x, int y, QSize boxSize) const
{
    const QRectF screen = painter->transform().inverted().mapRect(QRectF(0, 0, Width, Height));
    return TextBox::visibleBox(boxSize, screen.translated(-x, -y));
}

// The part of the current item's box that lies on the picture, from the item's place and turn.
QSize DrawImg::textRoom()
{
    QTransform frame;
    frame.translate(readCoord("Position_X", -1), readCoord("Position_Y", -1));
    frame.rotate(theme->readNumEntry(itemName, QStringLiteral("RotateAngle"), 0) % 360);
    return TextBox::visibleBox(readBoxSize(), frame.inverted().mapRect(QRectF(0, 0, Width, Height)));
}

// One text in a box: left and top aligned, no word wrap, a new line at every "\n", clipped to
// the box.
void DrawImg::drawTextAt(const QRect &box, const QString &text, int r, int g, int b)
{
    painter->setPen(QColor(clampColour(r), clampColour(g), clampColour(b)));
    painter->drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
}

// The item's text in its box from (x, y) of the painter's frame, fitted as Fit says, with the
// grey shadow one pixel right and down when `shadow`; notes where it went.
void DrawImg::drawBoxedText(int x, int y, const QString &shown)
{
    if (isClockItem(itemName)) {
        clockReached = true;
        if (layer == Layer::Still || layer == Layer::AfterClock)
            return;
    }
    const QSize boxSize = readBoxSize();
    const TextBox::Fit mode = TextBox::fitFrom(theme->readEntry(itemName, ThemeKey::Fit, QString()));
    const QSize visible = visibleBoxFrom(x, y, boxSize);
    const TextBox::Layout layout = TextBox::fit(shown, itemFont(fontSize), visible, mode);
    const QRect box(QPoint(x, y), boxSize);
    painter->setFont(layout.font);
    if (shadow)
        drawTextAt(box.translated(1, 1), layout.text, 128, 128, 128);
    drawTextAt(box, layout.text, fontR, fontG, fontB);
    if (!layout.text.isEmpty()) {
        const QRect area = (layout.laidOut & QRect(QPoint(0, 0), boxSize)).translated(x, y);
        // Text cut where the box leaves the screen leaves the screen (the area reaches past
        // it); it overflows the box only when the whole box shows.
        recordText(area, box, layout.overflows && visible == boxSize);
        recordRun(area, box, layout.text);
    }
}

ItemExtent &DrawImg::extentOf(const QString &item)
{
    for (ItemExtent &extent : itemExtents)
        if (extent.item == item)
            return extent;
    itemExtents.append(ItemExtent{item, QRect(), QRect(), false, {}, {}, {}, 0, 0});
    return itemExtents.last();
}

// Notes a text area and box given in the painter's current frame, in picture coordinates.
void DrawImg::recordText(const QRect &area, const QRect &box, bool overflows)
{
    const QTransform frame = painter->transform();
    ItemExtent &extent = extentOf(itemName);
    extent.textArea |= frame.mapRect(QRectF(area)).toAlignedRect();
    extent.box |= frame.mapRect(QRectF(box)).toAlignedRect();
    extent.overflows = extent.overflows || overflows;
    extent.descent = qMax(extent.descent, QFontMetrics(painter->font()).descent());
}

// Notes a text just drawn in the painter's pen in the rectangle `drawnIn`, its area given in
// the painter's current frame. Drawings for the theme check keep where its letters lie.
void DrawImg::recordRun(const QRect &area, const QRect &drawnIn, const QString &text)
{
    TextRun run{painter->transform().mapRect(QRectF(area)).toAlignedRect(), painter->pen().color(), QImage()};
    if (input && !run.area.isEmpty()) {
        run.ink = QImage(run.area.size(), QImage::Format_Alpha8);
        run.ink.fill(0);
        QPainter ink(&run.ink);
        ink.setTransform(painter->transform() * QTransform::fromTranslate(-run.area.x(), -run.area.y()));
        ink.setFont(painter->font());
        ink.setPen(Qt::black);
        ink.drawText(drawnIn, Qt::AlignLeft | Qt::AlignTop, text);
    }
    ItemExtent &extent = extentOf(itemName);
    if (!run.area.isEmpty() && !extent.runs.contains(run))
        extent.runs << run;
    const int points = painter->font().pointSize();
    if (!run.area.isEmpty() && points > 0 && TextBox::shrinkFloor(text) == TextBox::kShrinkFloorCjk)
        extent.cjkPointSize = extent.cjkPointSize ? qMin(extent.cjkPointSize, points) : points;
}

const ConfigSnapshot &DrawImg::notifyDatabase()
{
    if (!notifyDb)
        notifyDb = input ? new ConfigSnapshot(ConfigSnapshot::fromText(input->notifyDb))
                         : new ConfigSnapshot(NoticeDb::snapshot(programDir));
    return *notifyDb;
}

void DrawImg::drawItem(QString text)
{
    painter->save();
    drawItemBackground();

    fontSize = theme->readNumEntry(itemName, ThemeKey::FontSize, -1);
    if (fontSize > 0) {
        shadow = theme->readBoolEntry(itemName, ThemeKey::Shadow, false);
        rotateAngle = theme->readNumEntry(itemName, ThemeKey::RotateAngle, 0);
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
    drawBoxedText(0, 0, ChineseAndEnglish(byteString));
}

// The text of a formatted item: TextFormat of the item (its default when empty) applied to
// the values. The result is a UTF-8 byte string.
QString DrawImg::formatItem(const QString &defaultFormat, const QList<FormatArg> &values)
{
    textFormat = UnicodeAndChinese(theme->readEntry(itemName, ThemeKey::TextFormat, QString()));
    if (textFormat.isEmpty())
        textFormat = UnicodeAndChinese(defaultFormat);
    return bytesToByteString(formatText(byteStringToBytes(textFormat), values));
}

void DrawImg::drawFormattedItem(const QString &defaultFormat, const QList<FormatArg> &values)
{
    drawItem(formatItem(defaultFormat, values));
}
