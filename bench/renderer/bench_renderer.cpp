// Composition of the desktop picture: the default theme, a theme with every item enabled, and
// the same picture as the latter drawn with bare QPainter calls. The composition is timed warm
// (in a loop in this process) and cold (once in a new process per sample, as show composes:
// the font database is filled and the pictures are loaded for the first time).
// The benchmark fails, before timing anything, when the renderer's picture of the all-items
// theme differs from the bare drawing.

#include "allitems.h"
#include "drawimg.h"
#include "renderclock.h"
#include "phoneenv.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QFile>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <ctime>

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

// One composition in a new process per sample: the wall time of the composition alone, as the
// process measured it; counters: its CPU time ("cpu_ms") and the whole process from start to
// end ("process_ms").
void BM_ComposeCold(benchmark::State &state)
{
    writeSettings(state.range(0) ? AllItems::settingsFor(QStringLiteral("AllItems.theme")) : g_defaultSettings);
    double processMs = 0, cpuMs = 0;
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--compose-once"), g_dir});
        const bool finished = child.waitForFinished(30000) && child.exitCode() == 0;
        processMs += wall.nsecsElapsed() / 1e6;
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (!finished || figures.size() != 2) {
            state.SkipWithError("the composing process failed");
            break;
        }
        cpuMs += figures.at(1).toDouble() / 1e6;
        state.SetIterationTime(figures.at(0).toDouble() / 1e9);
    }
    state.counters["process_ms"] = benchmark::Counter(processMs, benchmark::Counter::kAvgIterations);
    state.counters["cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
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
BENCHMARK(BM_ComposeCold)->ArgName("allitems")->Arg(0)->Arg(1)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareQPainterAllItems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePng)->Arg(-1)->Arg(1)->Arg(11)->Unit(benchmark::kMillisecond);

// The program directory's settings name the theme; the font and clock are set as in main().
void startApplication(const QString &dir, QGuiApplication *&app)
{
    static QByteArray argv0 = (dir + QStringLiteral("bench_renderer")).toLocal8Bit();
    static int qtArgc = 1;
    static char *qtArgv[] = {argv0.data(), nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QGuiApplication(qtArgc, qtArgv);
    PhoneEnv::substitutePhoneFont();
    RenderClock::setFixed(AllItems::instant());
}

// The child of BM_ComposeCold: composes once, prints the wall and CPU nanoseconds it took.
int composeOnce(const QString &dir)
{
    QGuiApplication *app = nullptr;
    startApplication(dir, app);
    const auto cpuNow = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    const qint64 cpu = cpuNow();
    QElapsedTimer timer;
    timer.start();
    DrawImg renderer;
    benchmark::DoNotOptimize(renderer.getPixmap());
    std::printf("%lld %lld\n", static_cast<long long>(timer.nsecsElapsed()), static_cast<long long>(cpuNow() - cpu));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--compose-once") == 0)
        return composeOnce(QString::fromLocal8Bit(argv[2]));

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
    QGuiApplication *app = nullptr;
    startApplication(g_dir, app);

    // The two drawings of the all-items theme must be the same picture, or the bare drawing is
    // no yardstick for the renderer.
    writeSettings(AllItems::settingsFor(QStringLiteral("AllItems.theme")));
    const QImage composed = DrawImg().getPixmap()->toImage().convertToFormat(QImage::Format_RGB32);
    const QImage bare = AllItems::drawBare(g_dir);
    int differing = 0;
    for (int y = 0; y < composed.height(); ++y)
        for (int x = 0; x < composed.width(); ++x)
            differing += composed.pixel(x, y) != bare.pixel(x, y);
    if (qEnvironmentVariableIsSet("BENCH_SAVE_PICTURES")) {
        composed.save(QString::fromLocal8Bit(qgetenv("BENCH_SAVE_PICTURES")) + QStringLiteral("/composed.png"));
        bare.save(QString::fromLocal8Bit(qgetenv("BENCH_SAVE_PICTURES")) + QStringLiteral("/bare.png"));
    }
    if (composed.size() != bare.size() || differing != 0) {
        std::fprintf(stderr,
                     "bench_renderer: the all-items picture differs between renderer and bare drawing in %d of "
                     "%d pixels (BENCH_SAVE_PICTURES=DIR saves both)\n",
                     differing, composed.width() * composed.height());
        return 1;
    }
    std::printf("all-items picture: renderer and bare drawing agree in every pixel\n");

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
