// show's own program: a lean front that loads no Qt. The daemon starts show every minute, and
// most of those minutes are in the minute sheet that the drawing program leaves behind
// (minutesheet.h): the front writes such a minute's picture from the sheet, exactly as the
// drawing would have written it. Any other run, a minute the sheet does not hold, and a sheet
// drawn from anything that has changed since, go to the drawing program (showdraw, beside the
// front's own file), which takes over the process with the same arguments.
#include "minutesheet.h"
#include "posixfile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include <unistd.h>

extern char **environ;

namespace {

[[noreturn]] void draw(char **argv)
{
    // Beside the front's own file, links followed (a user's program directory links the
    // installed programs); without /proc, beside the path it was started by.
    char self[PATH_MAX];
    const ssize_t size = ::readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string path = size > 0 ? std::string(self, std::size_t(size)) : std::string();
    const std::string program = (path.empty() ? MinuteSheet::startFolder(argv[0]) : path.substr(0, path.rfind('/') + 1))
        + "showdraw";
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "show: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    std::exit(1);
}

bool digits(const char *text, int count, int *value)
{
    *value = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        *value = *value * 10 + (text[i] - '0');
    }
    return true;
}

std::string dateText(int year, int month, int day)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

// A minute as "2026-12-08T09:06": its date and its minute of the day. Anything else is left to
// the drawing program, which tells what is wrong with it.
bool parseMinute(const char *text, std::string *date, int *minuteOfDay)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (std::strlen(text) != 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':'
        || !digits(text, 4, &year) || !digits(text + 5, 2, &month) || !digits(text + 8, 2, &day)
        || !digits(text + 11, 2, &hour) || !digits(text + 14, 2, &minute))
        return false;
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > days[month - 1] || (month == 2 && day == 29 && !leap)
        || hour > 23 || minute > 59)
        return false;
    *date = dateText(year, month, day);
    *minuteOfDay = hour * 60 + minute;
    return true;
}

bool currentMinute(std::string *date, int *minuteOfDay)
{
    const std::time_t now = std::time(nullptr);
    struct tm local;
    if (!::localtime_r(&now, &local))
        return false;
    *date = dateText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    *minuteOfDay = local.tm_hour * 60 + local.tm_min;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // "show" draws the current minute, "show --at MINUTE" a coming one into the waiting picture.
    const bool ahead = argc == 3 && std::strcmp(argv[1], "--at") == 0;
    std::string date;
    int minuteOfDay = 0;
    if ((argc != 1 && !ahead) || !(ahead ? parseMinute(argv[2], &date, &minuteOfDay) : currentMinute(&date, &minuteOfDay)))
        draw(argv);
    // A sheet lies only in a program directory that show was started from and may write.
    const std::string folder = MinuteSheet::startFolder(argv[0]);
    MinuteSheet::Reader sheet;
    if (folder.empty() || ::access(folder.c_str(), W_OK) != 0 || !sheet.open(MinuteSheet::path(folder)))
        draw(argv);
    const MinuteSheet::Sheet &index = sheet.index();
    const MinuteSheet::Minute *minute = sheet.find(minuteOfDay);
    if (!minute || index.date != date || index.startFolder != folder
        || index.environment != MinuteSheet::environmentText(environ) || !sheet.filesUnchanged())
        draw(argv);
    const std::string &target = ahead ? index.waitingPath : index.desktopPath;
    if (!PosixFile::replace(target, [&](int fd) { return sheet.writePicture(fd, *minute); }))
        draw(argv);
    // What the drawing told about its files, as the drawing program tells it.
    std::size_t at = 0;
    while (at < minute->problems.size()) {
        const std::size_t end = minute->problems.find('\n', at);
        std::fprintf(stderr, "show: %s\n", minute->problems.substr(at, end - at).c_str());
        at = end == std::string::npos ? minute->problems.size() : end + 1;
    }
    std::printf("%s\n", target.c_str());
    return 0;
}
