// How the wallpaper manager grows with the length of wallpaper.list: opening it (rows laid out
// and the first screen drawn) and rebuilding its rows after a change, for N entries, each its
// own small picture. Linear growth shows as a factor of about 10 from N = 1000 to N = 10000.
#include "benchprogdir.h"
#include "thumbnails.h"
#include "wallpaperlist.h"
#include "wallpapermng.h"
#include "zlistbox.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>

namespace {

BenchProgramDir *g_dir = nullptr;
QStringList g_pictures; // as many as the largest list

void makePictures(int count)
{
    const QString folder = g_dir->path() + QStringLiteral("pictures");
    QDir().mkpath(folder);
    QImage image(60, 80, QImage::Format_RGB32);
    for (int i = g_pictures.size(); i < count; ++i) {
        image.fill(QColor::fromHsv((i * 37) % 360, 180, 220));
        const QString path = QStringLiteral("%1/wallpaper%2.png").arg(folder).arg(i, 5, 10, QLatin1Char('0'));
        image.save(path);
        g_pictures << path;
    }
}

void writeList(int entries)
{
    makePictures(entries);
    WallpaperList::writeList(g_dir->path() + QStringLiteral("wallpaper.list"), g_pictures.mid(0, entries));
}

// Opening the manager: every row, the layout, and the first screen drawn.
void BM_WallpaperManagerOpen(benchmark::State &state)
{
    const int n = int(state.range(0));
    writeList(n);
    for (auto _ : state) {
        ThumbnailLoader::clearCache();
        WallpaperMng mng(nullptr);
        mng.show();
        benchmark::DoNotOptimize(mng.grab());
        if (!listIsLinear(state, mng.listBox(), n))
            break;
    }
    state.SetComplexityN(n);
}

// Rebuilding the rows after a change of one entry (what add, reorder and remove mode do once
// the file is written), with the highlight in the middle of the list.
void BM_WallpaperManagerRebuild(benchmark::State &state)
{
    const int n = int(state.range(0));
    writeList(n);
    ThumbnailLoader::clearCache();
    WallpaperMng mng(nullptr);
    mng.show();
    mng.listBox()->setCurrentItem(n / 2);
    for (auto _ : state) {
        mng.writeList();
        mng.addItem(QStringLiteral("%I%M"));
        mng.listBox()->setCurrentItem(n / 2);
        benchmark::DoNotOptimize(mng.grab());
        if (mng.listBox()->count() != n) {
            state.SkipWithError("rows missing");
            break;
        }
    }
    state.SetComplexityN(n);
}


} // namespace

BENCHMARK(BM_WallpaperManagerOpen)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_WallpaperManagerRebuild)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

int main(int argc, char **argv)
{
    BenchProgramDir dir(QStringLiteral(QUILLORA_PROGDIR_SOURCE));
    g_dir = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
