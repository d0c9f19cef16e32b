// Screenshot-like pictures for the oracle files and the benchmarks: a desktop
// gradient, windows with title bars, text, flat panels, a photo-like corner
// and a few sharp icons; plus the pixel dumps the outside tools read.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "win/Bitmap.h"
#include "win/Gdi.h"

namespace screenpic {

inline std::uint32_t NextRandom(std::uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

inline void Fill(win::Bitmap& b, int width, int height, win::PixelFormat format, std::uint32_t seed = 1)
{
    b.Clear();
    b.SetPixelFormat(format);
    b.SetSize(width, height);
    ::GdiFlush();
    const int bytes = b.BitsPerPixel() / 8;
    std::uint32_t rnd = seed;
    // Desktop: a vertical gradient; the lower-right quarter photo-like noise.
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = b.Row(y);
        for (int x = 0; x < width; ++x, p += bytes) {
            if (x > width * 3 / 4 && y > height * 3 / 4) {
                const std::uint32_t r = NextRandom(rnd);
                p[0] = static_cast<std::uint8_t>(90 + (x + y) % 60 + (r & 31));
                p[1] = static_cast<std::uint8_t>(120 + (x * 3) % 50 + ((r >> 5) & 31));
                p[2] = static_cast<std::uint8_t>(60 + (y * 2) % 70 + ((r >> 10) & 31));
            } else {
                p[0] = static_cast<std::uint8_t>(160 + 80 * y / height);
                p[1] = static_cast<std::uint8_t>(90 + 60 * y / height);
                p[2] = static_cast<std::uint8_t>(40 + 20 * x / width);
            }
            if (bytes == 4) p[3] = 0;
        }
    }
    HDC dc = b.Canvas();
    win::SavedDCState state(dc);
    ::SetBkMode(dc, TRANSPARENT);
    const int windows = 3 + width / 640;
    for (int w = 0; w < windows; ++w) {
        const int left = static_cast<int>(NextRandom(rnd) % static_cast<std::uint32_t>(width * 2 / 3 + 1));
        const int top = static_cast<int>(NextRandom(rnd) % static_cast<std::uint32_t>(height * 2 / 3 + 1));
        const int right = std::min(width, left + width / 3 + 40);
        const int bottom = std::min(height, top + height / 3 + 40);
        win::FillSolidRect(dc, RECT{left, top, right, bottom}, RGB(240, 240, 240));
        win::FillSolidRect(dc, RECT{left, top, right, top + 24}, RGB(0, 84, 166));
        ::SetTextColor(dc, RGB(255, 255, 255));
        const std::wstring title = L"Document " + std::to_wstring(w + 1) + L" - Editor";
        ::TextOutW(dc, left + 8, top + 4, title.c_str(), static_cast<int>(title.size()));
        ::SetTextColor(dc, RGB(20, 20, 20));
        for (int line = top + 32; line + 16 < bottom; line += 18) {
            const std::wstring text = L"The quick brown fox jumps over the lazy dog 0123456789 (" +
                                      std::to_wstring(line) + L")";
            ::TextOutW(dc, left + 10, line, text.c_str(), static_cast<int>(text.size()));
        }
    }
    for (int i = 0; i < 40; ++i) {
        const int x = static_cast<int>(NextRandom(rnd) % static_cast<std::uint32_t>(std::max(1, width - 32)));
        const int y = static_cast<int>(NextRandom(rnd) % static_cast<std::uint32_t>(std::max(1, height - 32)));
        win::FillSolidRect(dc, RECT{x, y, x + 32, y + 32}, RGB(NextRandom(rnd) & 255, NextRandom(rnd) & 255, 0));
        win::FillSolidRect(dc, RECT{x + 8, y + 8, x + 24, y + 24}, RGB(255, 255, NextRandom(rnd) & 255));
    }
    ::GdiFlush();
}

// The pixels as RGB bytes, rows top-down, no padding.
inline std::vector<std::uint8_t> RgbBytes(const win::Bitmap& b)
{
    ::GdiFlush();
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<size_t>(b.Width()) * b.Height() * 3);
    const int bytes = b.BitsPerPixel() / 8;
    for (int y = 0; y < b.Height(); ++y) {
        const std::uint8_t* p = b.Row(y);
        for (int x = 0; x < b.Width(); ++x, p += bytes) {
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
    }
    return out;
}

inline bool WriteWhole(const std::wstring& path, const std::string& head, const std::vector<std::uint8_t>& body)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    bool ok = std::fwrite(head.data(), 1, head.size(), f) == head.size() &&
              std::fwrite(body.data(), 1, body.size(), f) == body.size();
    return std::fclose(f) == 0 && ok;
}

// A binary PPM (what cjpeg reads) and the raw RGB bytes (what a decoder's
// "rgb:" output is compared with).
inline bool WriteDumps(const win::Bitmap& b, const std::wstring& stem)
{
    const std::vector<std::uint8_t> rgb = RgbBytes(b);
    const std::string header = "P6\n" + std::to_string(b.Width()) + " " + std::to_string(b.Height()) + "\n255\n";
    return WriteWhole(stem + L".ppm", header, rgb) && WriteWhole(stem + L".rgb", "", rgb);
}

}  // namespace screenpic
