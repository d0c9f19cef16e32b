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

// zlib level and row filters of the Save command. Screenshots are mostly flat
// areas, text and a few photos: level 6 with the Sub and Up filters (chosen by
// libpng row by row) compresses them about as well as every filter at a
// higher level, in a fraction of the time (see bench-png).
constexpr int kPngLevel = 6;
constexpr int kPngFilters = 0x08 | 0x10 | 0x20;  // PNG_FAST_FILTERS: None, Sub, Up

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
