#include "stillpicture.h"

#include "drawimg.h"
#include "phoneenv.h"
#include "pngfile.h"
#include "posixfile.h"
#include "rawimage.h"
#include "readlog.h"
#include "renderclock.h"

#include <QCoreApplication>
#include <QHash>
#include <QDataStream>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPixmap>
#include <QProcessEnvironment>

#include <limits>


namespace StillPicture {

namespace {

constexpr quint32 kCacheMark = 0x51535431; // "QST1"
// The largest cache: two pictures of the screen and the lists of what they read.
constexpr qint64 kCacheCap = 2 * 1024 * 1024;

// One part of the cache: a picture and what it was drawn from.
struct Part
{
    QStringList paths;   // the files its drawing looked at
    QByteArray key;      // of those files and the context; empty when not to be used
    QImage image;
};

struct Cache
{
    Part cover;          // where the still drawings after the clock's first text lie (Alpha8)
    Part still;          // the still part (the picture's own format)
    PngFile::Bands stillBands; // the still part's rows, compressed
    QStringList problems; // of the still part's drawing
};

// What `path` holds, in a few bytes (MinuteSheet::fileStamp, the rule the minute sheet keeps
// too); `changed` is set to its change time (left alone for a missing file).
QByteArray fileStamp(const QString &path, qint64 *changed)
{
    std::int64_t time = *changed;
    const std::string stamp = MinuteSheet::fileStamp(QFile::encodeName(path).toStdString(), true, &time);
    *changed = time;
    return QByteArray(stamp.data(), qsizetype(stamp.size()));
}

// The stamps of a run, each file looked at once however many keys name it.
class Stamps
{
public:
    QByteArray of(const QString &path, qint64 *changed)
    {
        auto it = m_stamps.find(path);
        if (it == m_stamps.end()) {
            Stamp stamp;
            stamp.bytes = fileStamp(path, &stamp.changed);
            it = m_stamps.insert(path, stamp);
        }
        *changed = it->changed;
        return it->bytes;
    }

private:
    struct Stamp
    {
        QByteArray bytes;
        qint64 changed = 0;
    };
    QHash<QString, Stamp> m_stamps;
};

// What every drawing depends on besides the files it reads: the day, the system's language, the
// settings of Qt and the font libraries that reach the environment, the fonts, Qt and show itself.
QByteArray context()
{
    QByteArray text = RenderClock::now().date().toString(Qt::ISODate).toLatin1();
    text += '\n' + QLocale::system().name().toLatin1() + '\n' + qVersion() + '\n';
    for (const QString &variable : QProcessEnvironment::systemEnvironment().toStringList())
        if (variable.startsWith(QLatin1String("QT_")) || variable.startsWith(QLatin1String("FONTCONFIG_"))
            || variable.startsWith(QLatin1String("FREETYPE_")))
            text += variable.toUtf8() + '\n';
    text += RawImage::stamp(QCoreApplication::applicationFilePath()) + '\n';
    for (const QString &font : PhoneEnv::phoneFontFiles())
        text += RawImage::stamp(font) + '\n';
    return text;
}

// The key of a drawing that read `paths`; empty when one of them changed so recently that the
// drawing may have seen it half written.
QByteArray keyOf(const QStringList &paths, const QByteArray &context, Stamps &stamps, qint64 drawnFrom = 0,
                 qint64 settleNs = 0)
{
    QByteArray key = context;
    qint64 newest = 0;
    for (const QString &path : paths) {
        qint64 changed = 0;
        key += QFile::encodeName(path) + '\0' + stamps.of(path, &changed) + '\n';
        newest = qMax(newest, changed);
    }
    if (drawnFrom > 0 && newest >= drawnFrom - settleNs)
        return QByteArray();
    return key;
}

qint64 wallClockNs()
{
    struct timespec t;
    ::clock_gettime(CLOCK_REALTIME, &t);
    return PosixFile::nanoseconds(t);
}

void readPart(QDataStream &in, Part &part)
{
    in >> part.paths >> part.key;
    part.image = RawImage::read(in);
}

void writePart(QDataStream &out, const Part &part)
{
    out << part.paths << part.key;
    RawImage::write(out, part.image);
}

Cache readCache(const QString &path)
{
    Cache cache;
    const bool read = RawImage::readCache(path, kCacheMark, kCacheCap, [&cache](QDataStream &in) {
        readPart(in, cache.cover);
        readPart(in, cache.still);
        in >> cache.stillBands.size >> cache.stillBands.deflated >> cache.stillBands.sums >> cache.problems;
        const QSize screen(DrawImg::Width, DrawImg::Height);
        return cache.cover.image.size() == screen && cache.cover.image.format() == QImage::Format_Alpha8
            && cache.still.image.size() == screen;
    });
    return read ? cache : Cache();
}

void writeCache(const QString &path, const Cache &cache)
{
    RawImage::writeCache(path, kCacheMark, [&cache](QDataStream &out) {
        writePart(out, cache.cover);
        writePart(out, cache.still);
        out << cache.stillBands.size << cache.stillBands.deflated << cache.stillBands.sums << cache.problems;
    });
}

// Every pixel that `drawn` (over a transparent picture) touches, and those next to it.
QImage widenedCover(const QImage &drawn)
{
    const QImage alpha = drawn.convertToFormat(QImage::Format_Alpha8);
    QImage cover(alpha.size(), QImage::Format_Alpha8);
    cover.fill(0);
    for (int y = 0; y < alpha.height(); ++y) {
        const uchar *row = alpha.constScanLine(y);
        for (int x = 0; x < alpha.width(); ++x) {
            if (!row[x])
                continue;
            for (int v = qMax(0, y - 1); v <= qMin(alpha.height() - 1, y + 1); ++v) {
                uchar *out = cover.scanLine(v);
                for (int u = qMax(0, x - 1); u <= qMin(alpha.width() - 1, x + 1); ++u)
                    out[u] = 255;
            }
        }
    }
    return cover;
}

// Where the clock's texts go: whether they reach a pixel of `cover`, and the rows they touch.
struct Ink
{
    bool reachesCover = false;
    int first = std::numeric_limits<int>::max();
    int last = -1;
};

// `drawn` is the clock layer over a transparent picture.
Ink inkOf(const QImage &drawn, const QImage &cover)
{
    Ink ink;
    const QImage pixels = drawn.format() == QImage::Format_ARGB32_Premultiplied
        ? drawn
        : drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = pixels.width();
    const int height = pixels.height();
    for (int y = 0; y < height; ++y) {
        const auto *touched = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        const uchar *covered = cover.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            if (!qAlpha(touched[x]))
                continue;
            ink.first = qMin(ink.first, y);
            ink.last = y;
            if (covered[x])
                ink.reachesCover = true;
        }
    }
    return ink;
}

// Draws `layer`, noting in `part` the files it read. They are looked at again once it is drawn:
// a file that changed while it drew (or just before) leaves the part without a key.
QImage drawLayer(DrawImg::Layer layer, const QImage &over, const QString &cacheFolder, const QByteArray &context,
                 qint64 settleNs, Part *part, QStringList *problems = nullptr)
{
    const qint64 began = wallClockNs();
    ReadLog::Recording recording(cacheFolder);
    DrawImg drawn(layer, over);
    if (problems)
        *problems = drawn.problems();
    part->paths = recording.paths();
    Stamps after;
    part->key = keyOf(part->paths, context, after, began, settleNs);
    return drawn.getPixmap()->toImage();
}

MinuteSheet::Band sheetBand(const PngFile::Bands &bands, const PngFrame::BandSums &sums, qsizetype band)
{
    const QByteArray &bytes = bands.deflated.at(band);
    return MinuteSheet::Band{std::string(bytes.constData(), size_t(bytes.size())), sums};
}

// The sheet of the `count` minutes from the one of RenderClock::now() over the kept still part,
// each minute the clock of which stays clear of the later drawings; empty (no minutes) when a
// file the drawings read changed meanwhile, or the clock read a file the still part did not.
MinuteSheet::Sheet aheadSheet(const Cache &cache, const QByteArray &context, const QString &cacheFolder, int count)
{
    MinuteSheet::Sheet sheet;
    const QDateTime now = RenderClock::now();
    const int first = now.time().hour() * 60 + now.time().minute();
    // A minute that the local time skips (the start of summer time) is left out.
    QList<QDateTime> instants;
    QList<int> minutes;
    for (int minute = first; minute < qMin(24 * 60, first + count); ++minute) {
        const QDateTime instant(now.date(), QTime(minute / 60, minute % 60));
        if (!instant.isValid() || instant.date() != now.date() || instant.time() != QTime(minute / 60, minute % 60))
            continue;
        instants << instant;
        minutes << minute;
    }

    const std::vector<PngFrame::BandSums> stillSums = PngFile::sumsOf(cache.stillBands);
    std::string problems;
    for (const QString &line : cache.problems)
        problems += line.toStdString() + '\n';
    ReadLog::Recording recording(cacheFolder);
    const QStringList clockProblems = DrawImg::drawClockAt(cache.still.image, instants,
        [&](qsizetype i, const QImage &ink, const QImage &picture) {
            const Ink where = inkOf(ink, cache.cover.image);
            if (where.reachesCover)
                return;
            MinuteSheet::Minute minute;
            minute.minuteOfDay = minutes.at(i);
            minute.problems = problems;
            if (where.last >= 0) {
                const PngFile::Bands bands = PngFile::deflateBands(picture, &cache.stillBands, where.first, where.last);
                if (!bands.isValid())
                    return;
                const std::vector<PngFrame::BandSums> sums = PngFile::sumsOf(bands);
                minute.firstBand = where.first / PngFile::kBandRows;
                for (int band = minute.firstBand; band <= where.last / PngFile::kBandRows; ++band)
                    minute.bands.push_back(sheetBand(bands, sums.at(size_t(band)), band));
            }
            sheet.minutes.push_back(std::move(minute));
        });
    if (!clockProblems.isEmpty())
        return MinuteSheet::Sheet(); // a sheet repeats the still part's lines only

    QStringList paths = cache.still.paths;
    for (const QString &path : cache.cover.paths)
        if (!paths.contains(path))
            paths << path;
    for (const QString &path : recording.paths())
        if (!paths.contains(path))
            return MinuteSheet::Sheet();
    for (const QString &path : paths) {
        const std::string name = QFile::encodeName(path).toStdString();
        sheet.files.emplace_back(name, MinuteSheet::fileStamp(name, true));
    }
    // Stamped first and checked after: a file that changed before its stamp was taken fails the
    // check, one that changed after fails the sheet's own check when it is read.
    Stamps fresh;
    if (keyOf(cache.still.paths, context, fresh) != cache.still.key
        || keyOf(cache.cover.paths, context, fresh) != cache.cover.key)
        return MinuteSheet::Sheet();
    sheet.width = cache.stillBands.size.width();
    sheet.height = cache.stillBands.size.height();
    for (qsizetype band = 0; band < cache.stillBands.deflated.size(); ++band)
        sheet.still.push_back(sheetBand(cache.stillBands, stillSums.at(size_t(band)), band));
    sheet.date = now.date().toString(Qt::ISODate).toStdString();
    return sheet;
}

} // namespace

Result compose(const QString &cacheFile, qint64 settleNs, int aheadMinutes)
{
    // One instant for every layer, so that the still part and the clock show the same day.
    RenderClock::setFixed(RenderClock::now());
    const QString cacheFolder = QFileInfo(cacheFile).absolutePath();
    const QByteArray shared = context();
    Stamps stamps;

    Cache cache = readCache(cacheFile);
    const bool coverKept = !cache.cover.key.isEmpty() && keyOf(cache.cover.paths, shared, stamps) == cache.cover.key;
    const bool stillKept = !cache.still.key.isEmpty() && keyOf(cache.still.paths, shared, stamps) == cache.still.key;
    if (!stillKept)
        cache.still.image = drawLayer(DrawImg::Layer::Still, QImage(), cacheFolder, shared, settleNs, &cache.still,
                                      &cache.problems);
    const bool bandsKept = stillKept && cache.stillBands.isValid() && cache.stillBands.size == cache.still.image.size();
    if (!bandsKept)
        cache.stillBands = PngFile::deflateBands(cache.still.image);
    if (!coverKept)
        cache.cover.image = widenedCover(
            drawLayer(DrawImg::Layer::AfterClock, DrawImg::clearPicture(), cacheFolder, shared, settleNs, &cache.cover));
    if (!bandsKept || !coverKept)
        writeCache(cacheFile, cache);

    // The clock's texts over a transparent picture show which pixels they touch.
    const DrawImg::ClockDrawing clock = DrawImg::drawClock({DrawImg::clearPicture(), cache.still.image});
    const Ink ink = inkOf(clock.pictures.at(0), cache.cover.image);
    Result result;
    if (ink.reachesCover) {
        DrawImg whole;
        result.image = whole.getPixmap()->toImage();
        result.problems = whole.problems();
    } else {
        result.image = clock.pictures.at(1);
        result.problems = cache.problems + clock.problems;
        result.stillKept = stillKept;
    }
    // The rows the clock left alone are compressed as they were in the still part.
    if (!result.image.hasAlphaChannel())
        result.bands = ink.reachesCover ? PngFile::deflateBands(result.image)
                                        : PngFile::deflateBands(result.image, &cache.stillBands, ink.first, ink.last);
    if (aheadMinutes > 0 && result.stillKept && coverKept && result.bands.isValid() && cache.stillBands.isValid())
        result.sheet = aheadSheet(cache, shared, cacheFolder, aheadMinutes);
    return result;
}

} // namespace StillPicture
