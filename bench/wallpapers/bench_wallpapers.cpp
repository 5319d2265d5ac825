// How long the wallpaper list takes to show a folder of 200 large pictures.
#include "filebrowser.h"
#include "thumbnails.h"
#include "wallpapermng.h"
#include "zapplication.h"
#include "zlistbox.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

namespace {

constexpr int kPictures = 200;
QString g_pictures; // the folder of pictures
QString g_progDir;  // the program directory, with trailing "/"

void makePictures(const QString &folder)
{
    QImage image(2000, 1500, QImage::Format_RGB32);
    for (int i = 0; i < kPictures; ++i) {
        QPainter p(&image);
        QLinearGradient g(0, 0, image.width(), image.height());
        g.setColorAt(0, QColor::fromHsv((i * 37) % 360, 200, 230));
        g.setColorAt(1, QColor::fromHsv((i * 37 + 90) % 360, 220, 90));
        p.fillRect(image.rect(), g);
        p.setPen(QPen(Qt::white, 9));
        for (int k = 0; k < 12; ++k)
            p.drawEllipse(QPoint(150 * k + i, 90 * k + 2 * i), 120 + 8 * k, 80 + 5 * k);
        p.end();
        const bool jpeg = i % 2 == 0;
        image.save(QStringLiteral("%1/picture%2.%3").arg(folder).arg(i, 3, 10, QLatin1Char('0')).arg(QLatin1String(jpeg ? "jpg" : "png")),
                   jpeg ? "JPG" : "PNG", jpeg ? 90 : -1);
    }
}

void writeList()
{
    QFile list(g_progDir + QStringLiteral("wallpaper.list"));
    list.open(QIODevice::WriteOnly | QIODevice::Truncate);
    for (const QString &name : QDir(g_pictures).entryList(QDir::Files, QDir::Name))
        list.write((g_pictures + QLatin1Char('/') + name + QLatin1Char('\n')).toUtf8());
}

// The manager up to its rows, each with its name, path and (for now) a placeholder.
void BM_ManagerRows(benchmark::State &state)
{
    for (auto _ : state) {
        ThumbnailLoader::clearCache();
        WallpaperMng mng(nullptr);
        benchmark::DoNotOptimize(mng.listBox()->count());
        if (mng.listBox()->count() != kPictures)
            state.SkipWithError("rows missing");
    }
}

// The manager until the rows of the first screen show their thumbnails.
void BM_ManagerFirstScreen(benchmark::State &state)
{
    for (auto _ : state) {
        ThumbnailLoader::clearCache();
        WallpaperMng mng(nullptr);
        mng.show();
        int decoded = 0;
        QObject::connect(mng.thumbnails(), &ThumbnailLoader::ready, [&](int row) { decoded += row < 8 ? 1 : 0; });
        while (decoded < 8)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// The manager until every thumbnail is decoded.
void BM_ManagerAllThumbnails(benchmark::State &state)
{
    for (auto _ : state) {
        ThumbnailLoader::clearCache();
        WallpaperMng mng(nullptr);
        mng.thumbnails()->finish();
    }
}

// Rebuilding the rows once the thumbnails are known (after an add, remove or reorder).
void BM_ManagerRebuildCached(benchmark::State &state)
{
    ThumbnailLoader::clearCache();
    WallpaperMng mng(nullptr);
    mng.thumbnails()->finish();
    for (auto _ : state) {
        mng.addItem(QStringLiteral("%I%M"));
        if (!mng.thumbnails()->isIdle())
            state.SkipWithError("thumbnails not cached");
    }
}

// The picker listing the folder.
void BM_PickerListing(benchmark::State &state)
{
    FileBrowser browser(QStringLiteral("*"), QStringLiteral("%I%M"));
    for (auto _ : state) {
        ThumbnailLoader::clearCache();
        browser.setDir(g_pictures);
        if (browser.count() != kPictures + 1)
            state.SkipWithError("rows missing");
    }
}

} // namespace

BENCHMARK(BM_ManagerRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManagerFirstScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManagerAllThumbnails)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ManagerRebuildCached)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickerListing)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QTemporaryDir tmp;
    g_progDir = tmp.path() + QLatin1Char('/');
    g_pictures = g_progDir + QStringLiteral("pictures");
    QDir().mkpath(g_pictures);
    // The shipped icons of the build's program directory; everything else is private.
    QFile::link(QStringLiteral(QUILLORA_PROGDIR_SOURCE "/resource"), g_progDir + QStringLiteral("resource"));

    QByteArray argv0 = (g_progDir + QStringLiteral("quillora")).toLocal8Bit();
    int appArgc = 1;
    char *appArgv[] = {argv0.data(), nullptr};
    ZApplication::chooseHeadlessPlatform();
    ZApplication app(appArgc, appArgv);

    makePictures(g_pictures);
    writeList();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
