// minute_watch FOLDER MINUTES LIMIT_MS: watches FOLDER (a program directory's device/idle) and
// notes when a new desktop.png lands in it, against the start of the minute. Prints one line per
// picture (the minute, the milliseconds after its start) and ends once MINUTES minute starts
// have passed; the status is 1 when a picture of the span came LIMIT_MS or more after its
// minute began (one landing in the last second before a minute counts as early, and fails as
// well), or a minute passed without a picture.
#include <sys/inotify.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

long long nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return (long long)t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: minute_watch FOLDER MINUTES LIMIT_MS\n");
        return 2;
    }
    const int minutes = std::atoi(argv[2]);
    const long long limit = std::atoll(argv[3]);
    const int fd = inotify_init1(IN_CLOEXEC);
    if (fd < 0 || inotify_add_watch(fd, argv[1], IN_MOVED_TO | IN_CLOSE_WRITE) < 0) {
        std::perror("minute_watch");
        return 2;
    }
    // The span starts with the next minute: whatever was drawn before it is not counted.
    const long long first = (nowMs() / 60000 + 1) * 60000;
    const long long end = first + (long long)minutes * 60000 - 1000;
    int late = 0, seen = 0;
    long long lastMinute = -1;
    alignas(inotify_event) char buffer[4096];
    while (nowMs() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0)
            continue;
        const long long at = nowMs();
        const ssize_t n = read(fd, buffer, sizeof buffer);
        for (ssize_t i = 0; i < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + i);
            i += ssize_t(sizeof(inotify_event) + event->len);
            if (event->len == 0 || std::strcmp(event->name, "desktop.png") != 0 || at < first)
                continue;
            long long into = at % 60000;
            long long minute = at / 60000;
            if (into >= 59000) { // a picture just before a minute: early
                into -= 60000;
                ++minute;
            }
            const time_t seconds = time_t(minute * 60);
            char stamp[32];
            std::strftime(stamp, sizeof stamp, "%H:%M", std::localtime(&seconds));
            std::printf("%s %+5lld ms\n", stamp, into);
            std::fflush(stdout);
            if (minute != lastMinute)
                ++seen;
            lastMinute = minute;
            if (into < 0 || into >= limit)
                ++late;
        }
    }
    std::printf("%d minutes, %d with a picture, %d pictures outside [0, %lld) ms of their minute\n", minutes, seen,
                late, limit);
    return late == 0 && seen >= minutes ? 0 : 1;
}
