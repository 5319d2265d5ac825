#pragma once
// The renderer: composes one 240 x 320 desktop picture.
//
// All the work happens in the constructor: it reads settings.ini, the current theme (or the
// working copy "/tmp/tmp.theme" of a theme under edit), today's date, the wallpaper, the
// notice database and the weather file, and paints every enabled item over the wallpaper in a
// fixed order. getPixmap() lends the finished picture; to render again, build a new object.

#include <QDateTime>
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

#include "picturefiles.h"
#include "textbox.h"
#include "textformat.h"
#include "weatherfile.h"

class QPainter;
class QPixmap;
class QFont;
class ConfigSnapshot;

// A Gregorian date handed to getLunar().
struct tagDate
{
    qint32 day;   // 1 to 31
    qint32 month; // 1 to 12
    qint32 year;  // four digits
};

// What a rendering reads, given in place of the files: the theme check draws a theme with
// content of its own this way.
struct RenderInput
{
    QString themePath;   // the theme file to draw
    QDateTime now;       // the instant to show
    QByteArray settings; // text in place of settings.ini
    QByteArray notifyDb; // text in place of notify.db
    QByteArray weather;  // text in place of the weather file
};

// Where one item drew, in picture coordinates: the area its text covers (turned with the
// text), its text box, whether the text overflowed the box, and its pictures.
// A text drawn in one colour, in picture coordinates.
struct TextRun
{
    QRect area;
    QColor colour;
    QImage ink; // where the letters cover the area (alpha), drawn for the theme check only
    bool operator==(const TextRun &o) const { return area == o.area && colour == o.colour && ink == o.ink; }
};

struct ItemExtent
{
    QString item;
    QRect textArea;
    QRect box;
    bool overflows = false;
    QList<QRect> pictures;
    QList<QImage> pictureImages; // what was drawn in each of `pictures`, at its size or not
    QList<TextRun> runs;         // each text drawn, in its colour (the calendar: each cell)
    int descent = 0;             // the descent of the item's font: the bottom of a line box that holds no ink
    int cjkPointSize = 0;        // the smallest size (points) of its Han, kana or Hangul text; 0 for none
};

class DrawImg
{
public:
    // The size of the desktop picture.
    static constexpr int Width = 240;
    static constexpr int Height = 320;

    // What a composition from the files draws. The texts of the clock items (SysTime,
    // Time_Hour, Time_Minute) are the only drawings that change within a day; the rest is the
    // desktop's still part, which a run can keep for the next minute's.
    enum class Layer {
        Whole,      // everything, over the wallpaper
        Still,      // everything but the clock's texts, over the wallpaper
        Clock,      // the clock's texts alone, over the picture given
        AfterClock, // the still drawings that come after the clock's first text, over the picture given
    };

    DrawImg();
    // Draws from the given input instead of the files and the clock; the wallpaper is plain.
    explicit DrawImg(const RenderInput &input);
    // Draws one layer from the files; Clock and AfterClock draw over `over`, the others over
    // the wallpaper.
    DrawImg(Layer layer, QImage over);
    // The clock layer drawn over each of `pictures`, the files read once.
    struct ClockDrawing
    {
        QList<QImage> pictures;
        QStringList problems;
    };
    static ClockDrawing drawClock(QList<QImage> pictures);
    // The clock layer drawn at each of `instants` over a transparent picture and over `still`,
    // the files read once; `take` gets each instant's index and its two pictures in turn.
    // Returns the problems of the drawing.
    static QStringList drawClockAt(const QImage &still, const QList<QDateTime> &instants,
                                   const std::function<void(qsizetype, const QImage &, const QImage &)> &take);
    // A transparent picture of k x 240 by k x 320 pixels, to draw a layer over on its own.
    static QImage clearPicture(int scale = 1);
    // True for the items whose text shows the time of day.
    static bool isClockItem(const QString &group);
    // Draws the items alone from the files, over a transparent picture of k x 240 by k x 320
    // device pixels (device pixel ratio k): a real screen puts them over a wallpaper of its
    // own size, with text and shapes as sharp as its pixels.
    static QImage drawItemsAt(int scale);
    ~DrawImg();
    DrawImg(const DrawImg &) = delete;
    DrawImg &operator=(const DrawImg &) = delete;

    // The composed picture, still owned by the renderer.
    QPixmap *getPixmap();
    // The program directory with trailing "/", empty when the program was started by a bare
    // name.
    QString getProgramDir();

    // Where each item drew (items that drew nothing are missing).
    const QList<ItemExtent> &extents() const { return itemExtents; }
    // What could not be read as it should, one line each ("wallpaper FILE: REASON").
    const QStringList &problems() const { return problemLines; }

    // The picture files read by the composition.
    const PictureFiles &pictures() const { return pictureFiles; }

    // The font items are drawn in, its size kept to what the renderer draws.
    static QFont itemFont(int pointSize);
    // The theme file the desktop shows: the working copy of a theme under edit, else the current
    // theme of theme/; empty when the current theme names no file of theme/.
    // The wallpaper file of the phone settings, a phone path mapped to its place under the
    // device root; empty when none is set.
    static QString wallpaperPath();
    static QString currentThemePath(const QString &programDir, const ConfigSnapshot &settings);

private:
    struct Overlay { int scale; };
    explicit DrawImg(Overlay overlay);
    void compose(const RenderInput *input, QImage over = QImage());
    const ConfigSnapshot &notifyDatabase();
    int readCoord(const char *key, int def);
    QSize readBoxSize();
    QSize visibleBoxFrom(int x, int y, QSize boxSize) const;
    QSize textRoom();
    void drawBoxedText(int x, int y, const QString &shown);
    void recordText(const QRect &area, const QRect &box, bool overflows);
    void recordRun(const QRect &area, const QRect &drawnIn, const QString &text);
    ItemExtent &extentOf(const QString &item);

    void drawPixmap();

    void drawSysTime();
    void drawHour();
    void drawMinute();
    void drawYear();
    void drawMonth();
    void drawDay();
    void drawLunarYear();
    void drawLunarMonth();
    void drawLunarDay();
    void drawWeek();
    void drawCalendar();
    void drawNotify();
    void drawNote();
    void drawWeather();
    bool readweatherinfo();
    void drawWeatherItem(int day, int field);

    void getLunar(tagDate &date);
    void drawItem(QString text);

    // Shared steps of the items.
    bool readEnabled(const QString &group);
    void drawBackground(const QString &path);
    void drawItemBackground();
    void readTextPlacement();
    void drawTurnedText(const QString &byteString);
    void drawFormattedItem(const QString &defaultFormat, const QList<FormatArg> &values);
    QString formatItem(const QString &defaultFormat, const QList<FormatArg> &values);
    void drawTextAt(const QRect &box, const QString &text, int r, int g, int b);
    void loadWallpaper(bool plain);

    QPixmap *picture = nullptr;
    QImage scratchImage;
    PictureFiles pictureFiles;
    QPainter *painter = nullptr;
    QDateTime now;
    QString programDir;
    ConfigSnapshot *settings = nullptr;
    ConfigSnapshot *theme = nullptr;
    QString currentTheme;
    QString itemName;
    bool enabled = false;
    bool shadow = false;
    qint32 bgX = -1, bgY = -1, bgW = 0, bgH = 0;
    qint32 fontR = -1, fontG = -1, fontB = -1;
    qint32 fontSize = -1;
    qint32 posX = -1, posY = -1;
    qint32 rotateAngle = 0;
    QString bgImage;
    QString textFormat;
    WeatherFile::Contents weather;
    int weatherPast = 0; // leading days of the weather file before today
    qint32 lunarYear = 0, lunarMonth = 0, lunarDay = 0;
    // False when today lies outside the lunar table: the lunar items draw nothing then.
    bool lunarKnown = false;

    const RenderInput *input = nullptr; // during the constructor only
    int overlayScale = 0; // k when only the items are drawn, over a transparent picture
    Layer layer = Layer::Whole;
    bool clockReached = false; // a clock text was drawn, or would have been
    ConfigSnapshot *notifyDb = nullptr; // read once, shared by the notice and note items
    QList<ItemExtent> itemExtents;
    QStringList problemLines;
};
