#include "preview/TransformKernels.h"

#include <algorithm>
#include <cstring>

namespace {

// Tiles of this many pixels square keep the source rows being read and the
// destination rows being written in the first-level cache together; a plain
// walk down a 4K column misses the cache on every pixel.
constexpr int kTile = 64;

inline void CopyPixel24(std::uint8_t* d, const std::uint8_t* s) noexcept
{
    std::uint16_t lo;
    std::memcpy(&lo, s, 2);
    std::memcpy(d, &lo, 2);
    d[2] = s[2];
}

// Reverses one row of 24-bit pixels. Four pixels (12 bytes) go per step as
// three 32-bit words: pixels a b c d become d c b a.
void ReverseRow24(std::uint8_t* d, const std::uint8_t* s, int width) noexcept
{
    const std::uint8_t* from = s + static_cast<std::ptrdiff_t>(width) * 3;
    int x = 0;
    for (; x + 4 <= width; x += 4, d += 12) {
        from -= 12;
        // Source words (little-endian): a0 a1 a2 b0 | b1 b2 c0 c1 | c2 d0 d1 d2.
        std::uint32_t w0, w1, w2;
        std::memcpy(&w0, from, 4);
        std::memcpy(&w1, from + 4, 4);
        std::memcpy(&w2, from + 8, 4);
        // Wanted: d0 d1 d2 c0 | c1 c2 b0 b1 | b2 a0 a1 a2.
        const std::uint32_t d0 = (w2 >> 8) | (w1 << 8 & 0xFF000000u);
        const std::uint32_t d1 = (w1 >> 24) | (w2 & 0xFFu) << 8 | (w0 >> 24) << 16 | (w1 & 0xFFu) << 24;
        const std::uint32_t d2 = (w1 >> 8 & 0xFFu) | w0 << 8;
        std::memcpy(d, &d0, 4);
        std::memcpy(d + 4, &d1, 4);
        std::memcpy(d + 8, &d2, 4);
    }
    for (; x < width; ++x, d += 3) {
        from -= 3;
        CopyPixel24(d, from);
    }
}

void ReverseRow32To24(std::uint8_t* d, const std::uint8_t* s, int width) noexcept
{
    for (int x = width - 1; x >= 0; --x, d += 3) CopyPixel24(d, s + static_cast<std::ptrdiff_t>(x) * 4);
}

void CopyRow32To24(std::uint8_t* d, const std::uint8_t* s, int width) noexcept
{
    for (int x = 0; x < width; ++x, d += 3, s += 4) CopyPixel24(d, s);
}

}  // namespace

void RotateRows24(const gif::PixelRows& src, const gif::MutablePixelRows& dst, bool clockwise) noexcept
{
    const int w = src.width;
    const int h = src.height;
    for (int y0 = 0; y0 < h; y0 += kTile) {
        const int y1 = std::min(y0 + kTile, h);
        for (int x0 = 0; x0 < w; x0 += kTile) {
            const int x1 = std::min(x0 + kTile, w);
            for (int x = x0; x < x1; ++x) {
                // One destination row segment per source column of the tile.
                std::uint8_t* d;
                std::ptrdiff_t step;
                if (clockwise) {
                    d = dst.Row(x) + static_cast<std::ptrdiff_t>(h - 1 - y0) * 3;
                    step = -3;
                } else {
                    d = dst.Row(w - 1 - x) + static_cast<std::ptrdiff_t>(y0) * 3;
                    step = 3;
                }
                const std::uint8_t* s = src.Row(y0) + static_cast<std::ptrdiff_t>(x) * 3;
                for (int y = y0; y < y1; ++y, d += step, s += src.stride) CopyPixel24(d, s);
            }
        }
    }
}

void FlipRows(const gif::PixelRows& src, const gif::MutablePixelRows& dst, bool vertical, bool horizontal) noexcept
{
    const size_t rowBytes = static_cast<size_t>(src.width) * 3;
    for (int y = 0; y < src.height; ++y) {
        const std::uint8_t* s = src.Row(vertical ? src.height - 1 - y : y);
        std::uint8_t* d = dst.Row(y);
        if (src.BytesPerPixel() == 3) {
            if (horizontal)
                ReverseRow24(d, s, src.width);
            else
                std::memcpy(d, s, rowBytes);
        } else if (horizontal) {
            ReverseRow32To24(d, s, src.width);
        } else {
            CopyRow32To24(d, s, src.width);
        }
    }
}
