// The wallpaper-size sweep: times show as a whole process with a phone photo as the wallpaper.
//
// For each photo (1, 12 and 48 MP JPEG, 24 MP PNG, generated at start) show runs on a copy of
// the program directory: "first" is a run without the cached wallpaper (the photo is decoded),
// "cached" a run after it (the scaled copy is read). Figures are medians of wall time and of
// the CPU time of the process, and the largest resident size of any run. The aims are checked
// (on CPU time, which a busy machine disturbs less), and the program fails when one is missed:
// a 48 MP photo's first picture within 3 x the 1 MP one, its cached pictures within 1.1 x, and
// every run under 120 MB.
//
// Usage: bench_wallpaper_sizes [runs, default 15]

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

struct Photo
{
    const char *name;
    QSize size;
    const char *format;
};

struct Figures
{
    double firstMs = 0, cachedMs = 0;       // wall time
    double firstCpu = 0, cachedCpu = 0;     // CPU time of the process (user + system)
    long peakMB = 0;
};

struct Sample
{
    double ms = -1;
    double cpu = 0;
};

// A photo-like picture: smooth gradients with some detail, so that the encoders work as on a
// real photo.
QImage photo(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(30, 60, 140));
    sky.setColorAt(1, QColor(240, 170, 90));
    p.fillRect(image.rect(), sky);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 400; ++i) {
        p.setBrush(QColor::fromHsv((i * 37) % 360, 120, 200, 120));
        const int r = size.width() / 40 + (i * 13) % (size.width() / 20 + 1);
        p.drawEllipse(QPoint((i * 7919) % size.width(), (i * 104729) % size.height()), r, r);
    }
    return image;
}

// One run of show: its wall and CPU time in ms (wall -1 on failure); its peak resident size in
// MB raises *peakMB.
Sample runShow(const QByteArray &show, long *peakMB)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char *const args[] = {const_cast<char *>(show.constData()), nullptr};
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, show.constData(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return Sample();
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double ms = clock.nsecsElapsed() / 1e6;
    *peakMB = std::max(*peakMB, long(usage.ru_maxrss / 1024));
    Sample s;
    s.ms = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
    s.cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return s;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    // --photo FILE WIDTH HEIGHT FORMAT: the photos are made in a child process, so that this
    // one stays small and the memory it hands to each show it starts does not count.
    if (argc == 6 && QByteArray(argv[1]) == "--photo") {

        QImageWriter writer(QString::fromLocal8Bit(argv[2]), argv[5]);
        writer.setQuality(90);
        return writer.write(photo(QSize(atoi(argv[3]), atoi(argv[4])))) ? 0 : 1;
    }
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    const QString dir = work.path() + QLatin1Char('/');
    if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-R"), QStringLiteral(QUILLORA_PROGDIR_SOURCE "/."), dir}) != 0) {
        std::fprintf(stderr, "bench_wallpaper_sizes: cannot copy the program directory\n");
        return 1;
    }
    const QByteArray show = QFile::encodeName(dir + QStringLiteral("show"));
    const QList<Photo> photos = {{"1 MP JPEG", QSize(1152, 864), "jpeg"},
                                 {"12 MP JPEG", QSize(4032, 3024), "jpeg"},
                                 {"48 MP JPEG", QSize(8064, 6048), "jpeg"},
                                 {"24 MP PNG", QSize(5664, 4248), "png"}};
    QList<Figures> figures;
    long overallPeak = 0;
    std::printf("%-12s %10s %10s %10s %10s %9s\n", "wallpaper", "first ms", "cached ms", "first cpu", "cached cpu",
                "peak MB");
    for (const Photo &p : photos) {
        const QString file = dir + QStringLiteral("photo.") + QLatin1String(p.format);
        if (QProcess::execute(QCoreApplication::applicationFilePath(),
                              {QStringLiteral("--photo"), file, QString::number(p.size.width()),
                               QString::number(p.size.height()), QLatin1String(p.format)}) != 0) {
            std::fprintf(stderr, "bench_wallpaper_sizes: cannot write %s\n", p.name);
            return 1;
        }
        QFile setup(dir + QStringLiteral("device/setup.ini"));
        if (!setup.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        setup.write("[SETUP_THEME]\n9 = " + QFile::encodeName(file) + "\n");
        setup.close();

        Figures f;
        QList<double> first, cached, firstCpu, cachedCpu;
        for (int i = 0; i < runs; ++i) {
            QFile::remove(dir + QStringLiteral("device/idle/cache/wallpaper.raw"));
            const Sample a = runShow(show, &f.peakMB);
            const Sample b = runShow(show, &f.peakMB);
            first << a.ms;
            cached << b.ms;
            firstCpu << a.cpu;
            cachedCpu << b.cpu;
        }
        if (first.contains(-1) || cached.contains(-1)) {
            std::fprintf(stderr, "bench_wallpaper_sizes: show failed with the %s\n", p.name);
            return 1;
        }
        f.firstMs = median(first);
        f.cachedMs = median(cached);
        f.firstCpu = median(firstCpu);
        f.cachedCpu = median(cachedCpu);
        overallPeak = std::max(overallPeak, f.peakMB);
        figures << f;
        std::printf("%-12s %10.1f %10.1f %10.1f %10.1f %9ld\n", p.name, f.firstMs, f.cachedMs, f.firstCpu, f.cachedCpu,
                    f.peakMB);
        QFile::remove(file);
    }

    // The aims are checked on CPU time, which a busy machine disturbs far less than wall time.
    const double firstRatio = figures.at(2).firstCpu / figures.at(0).firstCpu;
    const double cachedRatio = figures.at(2).cachedCpu / figures.at(0).cachedCpu;
    std::printf("48 MP / 1 MP CPU time: first %.2f x (aim 3), cached %.2f x (aim 1.1); peak %ld MB (aim 120)\n",
                firstRatio, cachedRatio, overallPeak);
    const bool met = firstRatio <= 3.0 && cachedRatio <= 1.1 && overallPeak < 120;
    if (!met)
        std::printf("aim missed\n");
    return met ? 0 : 1;
}
