#include "pngframe.h"

#include <zlib.h>

namespace PngFrame {

namespace {

// The zlib stream's header: deflate with a 32 KB window, fastest level.
const char kZlibHeader[] = {'\x78', '\x01'};

void appendBigEndian(std::string &bytes, std::uint32_t value)
{
    bytes += char(value >> 24);
    bytes += char(value >> 16);
    bytes += char(value >> 8);
    bytes += char(value);
}

std::uint32_t crcOf(std::uint32_t crc, const std::string &bytes)
{
    return std::uint32_t(::crc32_z(crc, reinterpret_cast<const Bytef *>(bytes.data()), bytes.size()));
}

std::uint64_t dataSize(const std::vector<BandSums> &bands)
{
    std::uint64_t size = sizeof kZlibHeader + 4;
    for (const BandSums &band : bands)
        size += band.size;
    return size;
}

} // namespace

std::string head(int width, int height, const std::vector<BandSums> &bands)
{
    std::string file("\x89PNG\r\n\x1a\n", 8);
    std::string header("IHDR");
    appendBigEndian(header, std::uint32_t(width));
    appendBigEndian(header, std::uint32_t(height));
    header.append("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, deflate, no filters, not interlaced
    appendBigEndian(file, std::uint32_t(header.size() - 4));
    file += header;
    appendBigEndian(file, crcOf(0, header));
    appendBigEndian(file, std::uint32_t(dataSize(bands)));
    file += "IDAT";
    file.append(kZlibHeader, sizeof kZlibHeader);
    return file;
}

std::string tail(int width, const std::vector<BandSums> &bands)
{
    // The chunk's CRC runs over its type and data: the bands' own CRCs are combined, so the
    // bands themselves are not read again.
    std::uint32_t crc = crcOf(0, std::string("IDAT") + std::string(kZlibHeader, sizeof kZlibHeader));
    uLong adler = 1;
    const std::uint64_t rowBytes = 1 + 3 * std::uint64_t(width);
    for (const BandSums &band : bands) {
        crc = std::uint32_t(::crc32_combine(crc, band.crc, z_off_t(band.size)));
        adler = ::adler32_combine(adler, band.adler, z_off_t(band.rows * rowBytes));
    }
    std::string sum;
    appendBigEndian(sum, std::uint32_t(adler));
    std::string bytes = sum;
    appendBigEndian(bytes, crcOf(crc, sum));
    appendBigEndian(bytes, 0);
    const std::string end("IEND");
    bytes += end;
    appendBigEndian(bytes, crcOf(0, end));
    return bytes;
}

} // namespace PngFrame
