// Pictures with known pixels for the GDI-level tests, and byte comparisons.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "win/Bitmap.h"

namespace testpics {

// A colour that tells (x, y) apart over a few hundred pixels and is never
// black, white or a colour that OR with a mid colour leaves unchanged.
inline COLORREF PatternColor(int x, int y)
{
    return RGB(16 + (x * 7) % 224, 16 + (y * 5) % 224, 16 + ((x + y) * 3) % 224);
}

// A picture of the given depth (PixelFormat::Device for a capture's).
inline void FillPattern(win::Bitmap& b, int width, int height,
                        win::PixelFormat format = win::PixelFormat::Device)
{
    b.Clear();
    b.SetPixelFormat(format);
    b.SetSize(width, height);
    ::GdiFlush();
    const int bytes = b.BitsPerPixel() / 8;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < width; ++x, p += bytes) {
            const COLORREF c = PatternColor(x, y);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
}

// The pixel bytes of every row, without the row padding.
inline std::vector<std::uint8_t> PixelBytes(const win::Bitmap& b)
{
    ::GdiFlush();
    std::vector<std::uint8_t> out;
    const size_t rowBytes = static_cast<size_t>(b.Width()) * (b.BitsPerPixel() / 8);
    for (int y = 0; y < b.Height(); ++y) out.insert(out.end(), b.Row(y), b.Row(y) + rowBytes);
    return out;
}

// The colours of every pixel, row by row, whatever the depth.
inline std::vector<COLORREF> Colors(const win::Bitmap& b)
{
    std::vector<COLORREF> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) out.push_back(b.Pixel(x, y));
    return out;
}

}  // namespace testpics
