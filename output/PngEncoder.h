// The PNG compressor: one thin function around libpng. It takes rows of
// pixels in a bitmap's byte order and an optional alpha plane and writes the
// file to a sink. This file does not see windows.h, so the fuzzer and the
// benchmarks build it natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace output {

// The largest width and height a PNG file holds (2^31 - 1 in the format;
// libpng refuses more than a million by default).
constexpr int kMaxPngDimension = 1000000;

// zlib level and row filter of the Save command. Screenshots are flat areas,
// text and a few photos: on such a 1920 x 1080 desktop the Sub filter alone at
// level 6 writes a file 9% smaller than ImageMagick's default PNG in a third of
// the time convert takes; the adaptive choice among all five filters costs 50%
// more time for a larger file, and levels above 6 gain almost nothing for a lot
// of time (make bench-save prints the figures).
constexpr int kPngLevel = 6;
constexpr int kPngFilters = 0x10;  // PNG_FILTER_SUB

struct PngSource {
    // Rows of pixels: blue, green, red (and an unused fourth byte for 4 bytes
    // a pixel), stride bytes apart from the top row down.
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    int bytesPerPixel = 3;  // 3 or 4
    // One byte a pixel, 0 transparent to 255 opaque, alphaStride bytes apart;
    // null writes RGB without an alpha channel.
    const std::uint8_t* alpha = nullptr;
    std::ptrdiff_t alphaStride = 0;
    int level = kPngLevel;
    int filters = kPngFilters;
};

// Where the file goes. Write takes all of data or returns false; after a
// false the encoder stops and reports a failed write.
class PngSink {
public:
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;

protected:
    ~PngSink() = default;
};

// Writes source as a PNG file (8 bits a sample, RGB or RGBA, not interlaced)
// to sink. On failure returns false with libpng's message (or ours) in error;
// whatever libpng reports comes back here: it never ends the program.
bool EncodePng(const PngSource& source, PngSink& sink, std::string& error);

}  // namespace output
