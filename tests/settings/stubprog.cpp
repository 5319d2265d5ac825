// Stands in for a program of the program directory (tarnwick, morvessa, show, phone) in the
// settings program's tests. It appends "started <name> <args>" to stub.log beside itself and,
// when stopped with SIGTERM, "stopped <name>". "show" ends at once; the others wait until they
// are stopped, or 30 seconds at most.

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {
char g_log[4096];
char g_stopped[256];

void append(const char *path, const char *text)
{
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return;
    ssize_t n = ::write(fd, text, std::strlen(text));
    (void)n;
    ::close(fd);
}

void onTerm(int)
{
    append(g_log, g_stopped);
    _exit(0);
}
} // namespace

int main(int argc, char **argv)
{
    const std::string self = argv[0];
    const std::size_t slash = self.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : self.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? self : self.substr(slash + 1);
    std::strncpy(g_log, (dir + "stub.log").c_str(), sizeof g_log - 1);
    std::strncpy(g_stopped, ("stopped " + name + "\n").c_str(), sizeof g_stopped - 1);

    std::signal(SIGTERM, onTerm);
    std::string line = "started " + name;
    for (int i = 1; i < argc; ++i)
        line += " " + std::string(argv[i]);
    append(g_log, (line + "\n").c_str());
    if (name == "show")
        return 0;

    // Let go of the test's output, so nothing waits for this process to end.
    const int devnull = ::open("/dev/null", O_RDWR);
    for (int fd = 0; fd < 3; ++fd)
        ::dup2(devnull, fd);
    for (int i = 0; i < 300; ++i)
        ::usleep(100000);
    return 0;
}
