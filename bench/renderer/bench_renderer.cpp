// Composition of the desktop picture: the default theme, a theme with every item enabled, and
// the same picture as the latter drawn with bare QPainter calls.

#include "allitems.h"
#include "drawimg.h"
#include "renderclock.h"
#include "zapplication.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QString g_dir;
QByteArray g_defaultSettings;

void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo &info : source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (info.isDir())
            copyTree(info.filePath(), to + QLatin1Char('/') + info.fileName());
        else if (info.isExecutable())
            continue; // programs are not needed
        else
            QFile::copy(info.filePath(), to + QLatin1Char('/') + info.fileName());
    }
}

void writeSettings(const QByteArray &text)
{
    QFile file(g_dir + QStringLiteral("settings.ini"));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
}

void BM_ComposeDefaultTheme(benchmark::State &state)
{
    writeSettings(g_defaultSettings);
    for (auto _ : state) {
        DrawImg renderer;
        benchmark::DoNotOptimize(renderer.getPixmap());
    }
}

void BM_ComposeAllItems(benchmark::State &state)
{
    writeSettings(AllItems::settingsFor(QStringLiteral("AllItems.theme")));
    for (auto _ : state) {
        DrawImg renderer;
        benchmark::DoNotOptimize(renderer.getPixmap());
    }
}

void BM_BareQPainterAllItems(benchmark::State &state)
{
    for (auto _ : state) {
        QImage picture = AllItems::drawBare(g_dir);
        // The renderer hands out a pixmap; so does the baseline.
        QPixmap pixmap = QPixmap::fromImage(std::move(picture));
        benchmark::DoNotOptimize(pixmap);
    }
}

// Encoding the composed picture as PNG: -1 the encoder's default level, 1 stored uncompressed,
// 11 (zlib level 1) what show uses.
void BM_EncodePng(benchmark::State &state)
{
    writeSettings(AllItems::settingsFor(QStringLiteral("AllItems.theme")));
    const QImage picture = DrawImg().getPixmap()->toImage();
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (state.range(0) >= 0)
            writer.setCompression(int(state.range(0)));
        writer.write(picture);
        bytes = buffer.size();
    }
    state.counters["bytes"] = double(bytes);
}

BENCHMARK(BM_ComposeDefaultTheme)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeAllItems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareQPainterAllItems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePng)->Arg(-1)->Arg(1)->Arg(11)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir tmp;
    if (!tmp.isValid())
        return 2;
    g_dir = tmp.path() + QLatin1Char('/');
    copyTree(QStringLiteral(QUILLORA_PROGDIR_SOURCE), tmp.path());
    QFile settings(g_dir + QStringLiteral("settings.ini"));
    settings.open(QIODevice::ReadOnly);
    g_defaultSettings = settings.readAll();
    settings.close();
    if (!AllItems::prepare(g_dir)) {
        std::fprintf(stderr, "cannot prepare %s\n", qPrintable(g_dir));
        return 2;
    }

    // The renderer takes its program directory from the first argument.
    QByteArray argv0 = (g_dir + QStringLiteral("bench_renderer")).toLocal8Bit();
    int qtArgc = 1;
    char *qtArgv[] = {argv0.data(), nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(qtArgc, qtArgv);
    ZApplication::substitutePhoneFont();
    RenderClock::setFixed(AllItems::instant());

    // The two drawings of the all-items theme should be the same picture.
    writeSettings(AllItems::settingsFor(QStringLiteral("AllItems.theme")));
    const QImage composed = DrawImg().getPixmap()->toImage().convertToFormat(QImage::Format_RGB32);
    const QImage bare = AllItems::drawBare(g_dir);
    int differing = 0;
    for (int y = 0; y < composed.height(); ++y)
        for (int x = 0; x < composed.width(); ++x)
            differing += composed.pixel(x, y) != bare.pixel(x, y);
    std::printf("all-items picture: %d of %d pixels differ between renderer and bare drawing\n", differing,
                composed.width() * composed.height());
    if (qEnvironmentVariableIsSet("BENCH_SAVE_PICTURES")) {
        composed.save(QString::fromLocal8Bit(qgetenv("BENCH_SAVE_PICTURES")) + QStringLiteral("/composed.png"));
        bare.save(QString::fromLocal8Bit(qgetenv("BENCH_SAVE_PICTURES")) + QStringLiteral("/bare.png"));
    }

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
