// A picture's pixels as the renderer sees them: rows of 24- or 32-bit BGR(x)
// pixels and, for a shaped capture, a see-through mask of one byte per pixel
// (0 clear, 255 solid). The memory belongs to the caller.
#pragma once
#include <cstddef>
#include <cstdint>

#include "markup/Mark.h"

namespace markup {

struct Raster {
    std::uint8_t* pixels = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    int bytesPerPixel = 4;
    std::uint8_t* mask = nullptr;  // null: every pixel solid
    std::ptrdiff_t maskStride = 0;

    std::uint8_t* Pixel(int x, int y) const noexcept
    {
        return pixels + static_cast<std::ptrdiff_t>(y) * stride + static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
    }
    std::uint8_t* MaskAt(int x, int y) const noexcept
    {
        return mask ? mask + static_cast<std::ptrdiff_t>(y) * maskStride + x : nullptr;
    }
    PixelRect Bounds() const noexcept { return {0, 0, width, height}; }
};

// Copies the pixels (and mask) of area from source to target, same size and depth.
void CopyArea(const Raster& source, Raster& target, PixelRect area);

}  // namespace markup
