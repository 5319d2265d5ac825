#pragma once
// The minute sheet: the desktop pictures of the coming minutes, ready to be written.
//
// Within a day only the clock's texts change. When show finds its still part unchanged, it also
// draws the clock of the next kMinutes minutes of the same day over it, and keeps for each the
// compressed bands of the rows the clock touches, next to the still part's bands. The lean front
// of show (show's own program, which loads no Qt) answers a later minute from the sheet: it
// writes the still part's bands with the minute's own between them, as the full drawing would
// have written them, byte for byte.
//
// A sheet holds what its pictures were drawn from, and the front uses it only when all of it is
// as it was: the date, the folder show was started from (which is the program directory), the
// whole environment, and every file the drawing looked at, the libraries and fonts the drawing
// program had loaded, and the front's and the drawing program's own files. Otherwise the front
// starts the drawing program, which draws the minute and makes a new sheet.
//
// Plain C++ on the system's calls and zlib: the front links nothing else.

#include "pngframe.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace MinuteSheet {

// The minutes a sheet reaches ahead of the minute of the drawing that makes it.
constexpr int kMinutes = 60;

// The sheet of a program directory (its path ends with "/").
std::string path(const std::string &programDir);

// What a file holds, in a few bytes (the still part's key takes it too): the content's size and
// sums for a regular file up to
// kContentBytes, size, identity and times for a larger one, kind, identity and times for anything
// else, "-" when there is nothing at the path. Files that are only ever replaced whole (the
// system's libraries, which an update renames into place) are stamped by size, identity and
// times alone when `byContent` is false.
constexpr std::int64_t kContentBytes = 64 * 1024;
// `changed` (when given) is set to the change time of anything there, in nanoseconds.
std::string fileStamp(const std::string &path, bool byContent = true, std::int64_t *changed = nullptr);

// The folder of the path a program was started by, made absolute against the working folder
// and cleaned of "." and ".." (as the suite finds its program directory), with a trailing "/".
std::string startFolder(const char *startPath);

// The environment as text, sorted, each variable ended by a zero byte; without "_", which a
// shell sets to the program it starts.
std::string environmentText(char **environment);

struct Band
{
    std::string deflated;
    PngFrame::BandSums sums;
};

struct Minute
{
    int minuteOfDay = 0;    // hour * 60 + minute
    int firstBand = 0;      // the bands that differ from the still part's, from this one on
    std::vector<Band> bands;
    std::string problems;   // the lines the drawing told, each ending with a newline
};

struct Sheet
{
    std::string date;        // of the pictures, as 2026-12-09
    std::string startFolder; // which is the program directory
    std::string environment;
    std::string desktopPath; // the pictures' two places: the desktop, the waiting picture
    std::string waitingPath;
    std::vector<std::pair<std::string, std::string>> files; // path, fileStamp()
    int width = 0;
    int height = 0;
    std::vector<Band> still;
    std::vector<Minute> minutes;
};

// Replaces the sheet at `path` atomically.
bool write(const std::string &path, const Sheet &sheet, std::string *error = nullptr);

// A sheet on disk: its index read, its bands left in the file until a picture is written.
class Reader
{
public:
    Reader() = default;
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    // False when there is no readable, whole sheet at `path`.
    bool open(const std::string &path);

    const Sheet &index() const { return m_index; } // without the bands' bytes
    // True when every file of the sheet stamps as it did.
    bool filesUnchanged() const;
    // The minute's entry, or null.
    const Minute *find(int minuteOfDay) const;
    // Writes the PNG of `minute` to `fd`.
    bool writePicture(int fd, const Minute &minute) const;

private:
    struct Place
    {
        std::uint64_t offset = 0;
        std::uint32_t size = 0;
    };
    int m_fd = -1;
    std::uint64_t m_fileSize = 0;
    Sheet m_index;
    std::vector<Place> m_still;
    std::vector<std::vector<Place>> m_minutes;
};

} // namespace MinuteSheet
