#include "minutesheet.h"

#include "posixfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace MinuteSheet {

namespace {

const char kMark[4] = {'Q', 'M', 'S', '1'};
constexpr std::uint32_t kVersion = 1;
// The mark, the version and the size of the index.
constexpr std::uint64_t kHeadBytes = 16;
// The largest index a reader takes: the environment and the list of files are its bulk.
constexpr std::uint64_t kIndexCap = 4 * 1024 * 1024;
constexpr std::uint32_t kMaxBands = 1024;

void putU32(std::string &out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += char((value >> (8 * i)) & 0xff);
}

void putU64(std::string &out, std::uint64_t value)
{
    putU32(out, std::uint32_t(value));
    putU32(out, std::uint32_t(value >> 32));
}

void putText(std::string &out, const std::string &text)
{
    putU32(out, std::uint32_t(text.size()));
    out += text;
}

// Reads the index's fields in turn; every read past the end fails, and so do all after it.
class Cursor
{
public:
    explicit Cursor(const std::string &bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }

    std::uint32_t u32()
    {
        if (!take(4))
            return 0;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= std::uint32_t(std::uint8_t(m_bytes[m_at - 4 + std::size_t(i)])) << (8 * i);
        return value;
    }
    std::uint64_t u64()
    {
        const std::uint64_t low = u32();
        return low | (std::uint64_t(u32()) << 32);
    }
    std::string text()
    {
        const std::uint32_t size = u32();
        if (!take(size))
            return std::string();
        return m_bytes.substr(m_at - size, size);
    }

private:
    bool take(std::uint64_t size)
    {
        if (!m_ok || size > m_bytes.size() - m_at) {
            m_ok = false;
            return false;
        }
        m_at += std::size_t(size);
        return true;
    }
    const std::string &m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};

void putBand(std::string &index, const Band &band, std::uint64_t *offset)
{
    putU64(index, *offset);
    putU32(index, band.sums.size);
    putU32(index, band.sums.adler);
    putU32(index, band.sums.crc);
    putU32(index, std::uint32_t(band.sums.rows));
    *offset += band.sums.size;
}

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

std::string hex(std::uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

std::string identity(const struct stat &st)
{
    return std::to_string(std::uint64_t(st.st_dev)) + ':' + std::to_string(std::uint64_t(st.st_ino)) + ' '
        + std::to_string(PosixFile::nanoseconds(st.st_mtim)) + ' ' + std::to_string(PosixFile::nanoseconds(st.st_ctim));
}

} // namespace

std::string path(const std::string &programDir)
{
    return programDir + "device/idle/cache/minutes.sheet";
}

std::string fileStamp(const std::string &path, bool byContent, std::int64_t *changed)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return "-";
    if (changed)
        *changed = PosixFile::nanoseconds(st.st_ctim);
    if (byContent && S_ISREG(st.st_mode) && st.st_size <= kContentBytes) {
        std::string content;
        bool whole = false;
        if (!PosixFile::readRegular(path, std::size_t(kContentBytes), &content, &whole))
            return "?" + identity(st);
        const auto *bytes = reinterpret_cast<const Bytef *>(content.data());
        return (whole ? "c" : "+") + std::to_string(content.size()) + ' ' + hex(std::uint32_t(::crc32_z(0, bytes, content.size())))
            + hex(std::uint32_t(::adler32_z(1, bytes, content.size())));
    }
    if (S_ISREG(st.st_mode))
        return 's' + std::to_string(std::uint64_t(st.st_size)) + ' ' + identity(st);
    return 'n' + std::to_string(unsigned(st.st_mode)) + ' ' + identity(st);
}

std::string startFolder(const char *startPath)
{
    const std::string given = startPath ? startPath : "";
    const std::size_t slash = given.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : given.substr(0, slash + 1);
    if (folder.empty() || folder[0] != '/') {
        char *current = ::getcwd(nullptr, 0);
        if (!current)
            return std::string();
        folder = std::string(current) + '/' + folder;
        std::free(current);
    }
    // "." and empty parts go, ".." takes the part before it (none above the root).
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at <= folder.size()) {
        const std::size_t end = std::min(folder.find('/', at), folder.size());
        const std::string part = folder.substr(at, end - at);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        at = end + 1;
    }
    std::string clean = "/";
    for (const std::string &part : parts)
        clean += part + '/';
    return clean;
}

std::string environmentText(char **environment)
{
    std::vector<std::string> variables;
    // "_" is the shell's note of the command it last ran, which nothing of the suite reads.
    for (char **variable = environment; variable && *variable; ++variable)
        if (std::strncmp(*variable, "_=", 2) != 0)
            variables.emplace_back(*variable);
    std::sort(variables.begin(), variables.end());
    std::string text;
    // A variable cannot hold a zero byte: nothing else can be mistaken for the separator.
    for (const std::string &variable : variables)
        text += variable + '\0';
    return text;
}

bool write(const std::string &path, const Sheet &sheet, std::string *error)
{
    std::string index;
    putText(index, sheet.date);
    putText(index, sheet.startFolder);
    putText(index, sheet.environment);
    putText(index, sheet.desktopPath);
    putText(index, sheet.waitingPath);
    putU32(index, std::uint32_t(sheet.files.size()));
    for (const auto &file : sheet.files) {
        putText(index, file.first);
        putText(index, file.second);
    }
    putU32(index, std::uint32_t(sheet.width));
    putU32(index, std::uint32_t(sheet.height));
    std::uint64_t offset = 0;
    putU32(index, std::uint32_t(sheet.still.size()));
    for (const Band &band : sheet.still)
        putBand(index, band, &offset);
    putU32(index, std::uint32_t(sheet.minutes.size()));
    for (const Minute &minute : sheet.minutes) {
        putU32(index, std::uint32_t(minute.minuteOfDay));
        putU32(index, std::uint32_t(minute.firstBand));
        putText(index, minute.problems);
        putU32(index, std::uint32_t(minute.bands.size()));
        for (const Band &band : minute.bands)
            putBand(index, band, &offset);
    }
    std::string head(kMark, sizeof kMark);
    putU32(head, kVersion);
    putU64(head, index.size());
    return PosixFile::replace(path, [&](int fd) {
        if (!writeAll(fd, head.data(), head.size()) || !writeAll(fd, index.data(), index.size()))
            return false;
        for (const Band &band : sheet.still)
            if (!writeAll(fd, band.deflated.data(), band.deflated.size()))
                return false;
        for (const Minute &minute : sheet.minutes)
            for (const Band &band : minute.bands)
                if (!writeAll(fd, band.deflated.data(), band.deflated.size()))
                    return false;
        return true;
    }, error);
}

Reader::~Reader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Reader::open(const std::string &path)
{
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    m_fileSize = std::uint64_t(st.st_size);
    std::string head(kHeadBytes, '\0');
    if (::pread(m_fd, &head[0], head.size(), 0) != ssize_t(head.size()) || head.compare(0, 4, kMark, 4) != 0)
        return false;
    Cursor headCursor(head);
    headCursor.u32(); // the mark
    const std::uint32_t version = headCursor.u32();
    const std::uint64_t indexBytes = headCursor.u64();
    if (version != kVersion || indexBytes > kIndexCap || indexBytes > m_fileSize - kHeadBytes)
        return false;
    std::string bytes(std::size_t(indexBytes), '\0');
    if (::pread(m_fd, &bytes[0], bytes.size(), off_t(kHeadBytes)) != ssize_t(bytes.size()))
        return false;

    const std::uint64_t dataStart = kHeadBytes + indexBytes;
    const std::uint64_t dataSize = m_fileSize - dataStart;
    Cursor in(bytes);
    m_index.date = in.text();
    m_index.startFolder = in.text();
    m_index.environment = in.text();
    m_index.desktopPath = in.text();
    m_index.waitingPath = in.text();
    const std::uint32_t files = in.u32();
    for (std::uint32_t i = 0; i < files && in.ok(); ++i) {
        std::string file = in.text();
        m_index.files.emplace_back(std::move(file), in.text());
    }
    m_index.width = int(in.u32());
    m_index.height = int(in.u32());
    const auto readBands = [&](std::vector<Band> *bands, std::vector<Place> *places) {
        const std::uint32_t count = in.u32();
        if (count > kMaxBands)
            return false;
        for (std::uint32_t i = 0; i < count && in.ok(); ++i) {
            Place place;
            place.offset = in.u64();
            Band band;
            band.sums.size = in.u32();
            band.sums.adler = in.u32();
            band.sums.crc = in.u32();
            band.sums.rows = int(in.u32());
            place.size = band.sums.size;
            if (place.offset > dataSize || place.size > dataSize - place.offset || band.sums.rows <= 0)
                return false;
            place.offset += dataStart;
            bands->push_back(band);
            places->push_back(place);
        }
        return in.ok();
    };
    if (!readBands(&m_index.still, &m_still))
        return false;
    int rows = 0;
    for (const Band &band : m_index.still)
        rows += band.sums.rows;
    if (m_index.width <= 0 || m_index.height <= 0 || rows != m_index.height)
        return false;
    const std::uint32_t minutes = in.u32();
    for (std::uint32_t i = 0; i < minutes && in.ok(); ++i) {
        Minute minute;
        minute.minuteOfDay = int(in.u32());
        minute.firstBand = int(in.u32());
        minute.problems = in.text();
        std::vector<Place> places;
        if (!readBands(&minute.bands, &places))
            return false;
        // The minute's bands stand in for as many of the still part's, row for row.
        if (minute.firstBand < 0 || std::size_t(minute.firstBand) + minute.bands.size() > m_index.still.size())
            return false;
        for (std::size_t b = 0; b < minute.bands.size(); ++b)
            if (minute.bands[b].sums.rows != m_index.still[std::size_t(minute.firstBand) + b].sums.rows)
                return false;
        m_index.minutes.push_back(std::move(minute));
        m_minutes.push_back(std::move(places));
    }
    return in.ok();
}

bool Reader::filesUnchanged() const
{
    // A stamp of size, identity and times is taken again the same way, whatever the size.
    for (const auto &file : m_index.files)
        if (fileStamp(file.first, file.second.empty() || (file.second[0] != 's' && file.second[0] != 'n')) != file.second)
            return false;
    return true;
}

const Minute *Reader::find(int minuteOfDay) const
{
    for (const Minute &minute : m_index.minutes)
        if (minute.minuteOfDay == minuteOfDay)
            return &minute;
    return nullptr;
}

bool Reader::writePicture(int fd, const Minute &minute) const
{
    const std::size_t which = std::size_t(&minute - m_index.minutes.data());
    if (which >= m_index.minutes.size())
        return false;
    // The still part's bands with the minute's in their place.
    std::vector<PngFrame::BandSums> sums;
    std::vector<Place> places;
    const std::size_t first = std::size_t(minute.firstBand);
    for (std::size_t b = 0; b < m_index.still.size(); ++b) {
        const bool own = b >= first && b < first + minute.bands.size();
        sums.push_back(own ? minute.bands[b - first].sums : m_index.still[b].sums);
        places.push_back(own ? m_minutes[which][b - first] : m_still[b]);
    }
    const std::string head = PngFrame::head(m_index.width, m_index.height, sums);
    if (!writeAll(fd, head.data(), head.size()))
        return false;
    // Runs of bands that lie one after the other in the sheet go in one copy, file to file.
    for (std::size_t b = 0; b < places.size();) {
        off_t from = off_t(places[b].offset);
        std::uint64_t size = places[b].size;
        for (++b; b < places.size() && places[b].offset == std::uint64_t(from) + size; ++b)
            size += places[b].size;
        while (size > 0) {
            const ssize_t n = ::sendfile(fd, m_fd, &from, std::size_t(size));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            size -= std::uint64_t(n);
        }
    }
    const std::string tail = PngFrame::tail(m_index.width, sums);
    return writeAll(fd, tail.data(), tail.size());
}

} // namespace MinuteSheet
