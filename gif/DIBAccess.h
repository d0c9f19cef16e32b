// Row access for the colour reduction: TDIBReader over the source picture,
// TDIBWriter over the reduced result (an indexed bitmap with padded rows and a
// 256-slot colour table).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gif/GIFColor.h"
#include "gif/PixelRows.h"

namespace gif {

// A (blue, green, red, reserved) colour-table slot, as a device-independent
// bitmap stores it.
struct TRGBQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
};

// The result of a reduction: rows from the top, each padded to 4 bytes.
struct IndexedBitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int stride = 0;
    std::vector<std::uint8_t> pixels;
    std::array<TRGBQuad, 256> colorTable{};
    int colorsUsed = 0;
    int colorsImportant = 0;

    bool Empty() const noexcept { return pixels.empty(); }
    const std::uint8_t* Row(int y) const noexcept
    {
        return pixels.data() + static_cast<std::ptrdiff_t>(y) * stride;
    }
};

class TDIBReader {
public:
    // Accepts 24- and 32-bit rows; anything else is "Unsupported PixelFormat".
    explicit TDIBReader(const PixelRows& source);

    int Width() const noexcept { return source_.width; }
    int Height() const noexcept { return source_.height; }
    int BytesPerPixel() const noexcept { return source_.bitsPerPixel / 8; }
    const std::uint8_t* Row(int y) const;

private:
    PixelRows source_;
};

class TDIBWriter {
public:
    // Sizes target at 8 (or 24) bits per pixel and fills its colour table from
    // palette, the unused slots black.
    TDIBWriter(IndexedBitmap& target, int bitsPerPixel, int width, int height,
               const TPalette& palette);

    std::uint8_t* Row(int y);

private:
    IndexedBitmap& target_;
};

}  // namespace gif
