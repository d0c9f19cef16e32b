// A view of a picture's pixels: rows of 24-bit (blue, green, red) or 32-bit
// (blue, green, red, unused) pixels, row 0 at the top. A negative stride walks
// a bottom-up buffer. The codec reads through PixelRows; the transforms also
// write through MutablePixelRows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace gif {

template <typename Byte>
struct BasicPixelRows {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    Byte* top = nullptr;
    std::ptrdiff_t stride = 0;

    bool Empty() const noexcept { return width <= 0 || height <= 0 || top == nullptr; }
    Byte* Row(int y) const noexcept { return top + y * stride; }
    int BytesPerPixel() const noexcept { return bitsPerPixel / 8; }

    // Writable rows can always be read.
    operator BasicPixelRows<const Byte>() const noexcept
        requires(!std::is_const_v<Byte>)
    {
        return {width, height, bitsPerPixel, top, stride};
    }
};

using PixelRows = BasicPixelRows<const std::uint8_t>;
using MutablePixelRows = BasicPixelRows<std::uint8_t>;

}  // namespace gif
