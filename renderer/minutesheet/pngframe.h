#pragma once
// The frame of a PNG whose pixels are given as compressed bands (PngFile::Bands): the bytes
// before the bands (signature, header, the start of the one data chunk and of its zlib stream)
// and after them (the stream's Adler-32 sum, the chunk's CRC, the end). A writer puts the bands
// between the two as they are, so a picture is written without compressing or even reading
// most of its rows.

#include <cstdint>
#include <string>
#include <vector>

namespace PngFrame {

// One compressed band: its size, the Adler-32 sum of its rows, the CRC-32 of its bytes, and the
// number of rows it holds.
struct BandSums
{
    std::uint32_t size = 0;
    std::uint32_t adler = 0;
    std::uint32_t crc = 0;
    int rows = 0;
};

// For an 8-bit RGB picture of width x height in `bands`, top to bottom.
std::string head(int width, int height, const std::vector<BandSums> &bands);
std::string tail(int width, const std::vector<BandSums> &bands);

} // namespace PngFrame
