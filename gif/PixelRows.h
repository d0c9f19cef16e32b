// A read-only view of a picture's pixels: rows of 24-bit (blue, green, red) or
// 32-bit (blue, green, red, unused) pixels, row 0 at the top. A negative stride
// walks a bottom-up buffer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gif {

struct PixelRows {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;

    bool Empty() const noexcept { return width <= 0 || height <= 0 || top == nullptr; }
    const std::uint8_t* Row(int y) const noexcept { return top + y * stride; }
};

}  // namespace gif
