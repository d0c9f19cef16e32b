#include "preview/ViewRender.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Output is rendered in square tiles: a turned view reads the frozen picture
// down its columns, and a tile keeps the rows it reads in the cache.
constexpr int kTile = 64;

// Calls copy(targetRow, sourcePixelOffset, step, count) for every run of
// target pixels, a tile row at a time; offsets are in source pixels.
template <typename Copy>
void ForEachRun(const PointMap& map, const RECT& area, Copy copy)
{
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    for (int ty = 0; ty < h; ty += kTile)
        for (int tx = 0; tx < w; tx += kTile) {
            const int tw = std::min(kTile, w - tx);
            for (int y = ty; y < std::min(h, ty + kTile); ++y) {
                const POINT start = map(POINT{area.left + tx, area.top + y});
                copy(y, tx, start, tw);
            }
        }
}

}  // namespace

void RenderView(const win::Bitmap& frozen, const PointMap& map, const RECT& area, win::Bitmap& target)
{
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    win::Bitmap out;
    out.SetPixelFormat(win::PixelFormat::Bits24);
    out.SetSize(w, h);
    if (w <= 0 || h <= 0) {
        target.TakeFrom(out);
        return;
    }
    ::GdiFlush();
    const int bytes = frozen.BitsPerPixel() / 8;
    const std::ptrdiff_t stride = frozen.Stride();
    const std::uint8_t* base = frozen.Row(0);
    // One step along a target row moves by (xx, yx) in the frozen picture.
    const std::ptrdiff_t step = map.xx * bytes + map.yx * stride;
    ForEachRun(map, area, [&](int y, int x, POINT start, int count) {
        const std::uint8_t* s = base + start.y * stride + static_cast<std::ptrdiff_t>(start.x) * bytes;
        std::uint8_t* d = out.Row(y) + static_cast<std::ptrdiff_t>(x) * 3;
        if (step == bytes && bytes == 3) {
            std::memcpy(d, s, static_cast<std::size_t>(count) * 3);
            return;
        }
        for (int i = 0; i < count; ++i, s += step, d += 3) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    });
    target.TakeFrom(out);
}

win::AlphaMask RenderViewMask(const win::AlphaMask& frozen, const PointMap& map, const RECT& area)
{
    if (frozen.Empty()) return {};
    win::AlphaMask out(area.right - area.left, area.bottom - area.top);
    if (out.Empty()) return out;
    const std::ptrdiff_t step = map.xx + static_cast<std::ptrdiff_t>(map.yx) * frozen.Width();
    ForEachRun(map, area, [&](int y, int x, POINT start, int count) {
        const std::uint8_t* s = frozen.Row(start.y) + start.x;
        std::uint8_t* d = out.Row(y) + x;
        for (int i = 0; i < count; ++i, s += step) d[i] = *s;
    });
    return out;
}

void PaintSeeThrough(win::Bitmap& target, const win::AlphaMask& mask, COLORREF color) noexcept
{
    if (mask.Empty()) return;
    ::GdiFlush();
    const int bytes = target.BitsPerPixel() / 8;
    for (int y = 0; y < target.Height(); ++y) {
        const std::uint8_t* m = mask.Row(y);
        std::uint8_t* p = target.Row(y);
        for (int x = 0; x < target.Width(); ++x, p += bytes)
            if (m[x] == win::AlphaMask::kTransparent) {
                p[0] = GetBValue(color);
                p[1] = GetGValue(color);
                p[2] = GetRValue(color);
                if (bytes == 4) p[3] = 0;
            }
    }
}

void CopyArea(const win::Bitmap& picture, const RECT& area, win::Bitmap& target)
{
    const int bits = picture.BitsPerPixel();
    win::Bitmap out;
    out.SetPixelFormat(bits == 24 ? win::PixelFormat::Bits24 : bits == 32 ? win::PixelFormat::Bits32 : picture.Format());
    out.SetSize(area.right - area.left, area.bottom - area.top);
    if (!out.Empty()) {
        ::GdiFlush();
        const std::ptrdiff_t left = static_cast<std::ptrdiff_t>(area.left) * (bits / 8);
        for (int y = 0; y < out.Height(); ++y)
            std::memcpy(out.Row(y), picture.Row(area.top + y) + left, static_cast<std::size_t>(out.Width()) * (bits / 8));
    }
    target.TakeFrom(out);
}

void PutArea(const win::Bitmap& tile, win::Bitmap& target, POINT at) noexcept
{
    ::GdiFlush();
    const int bytes = target.BitsPerPixel() / 8;
    for (int y = 0; y < tile.Height(); ++y)
        std::memcpy(target.Row(at.y + y) + static_cast<std::ptrdiff_t>(at.x) * bytes, tile.Row(y),
                    static_cast<std::size_t>(tile.Width()) * bytes);
}

void PutArea(const win::AlphaMask& tile, win::AlphaMask& target, POINT at) noexcept
{
    for (int y = 0; y < tile.Height(); ++y)
        std::memcpy(target.Row(at.y + y) + at.x, tile.Row(y), static_cast<std::size_t>(tile.Width()));
}
