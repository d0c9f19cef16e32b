#include "win/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "win/Error.h"
#include "win/Gdi.h"

namespace win {

Bitmap::~Bitmap() { Clear(); }

int Bitmap::DeviceBitsPerPixel()
{
    WindowDC screen(nullptr);
    int bits = ::GetDeviceCaps(screen.get(), BITSPIXEL) * ::GetDeviceCaps(screen.get(), PLANES);
    return bits == 24 ? 24 : 32;
}

int Bitmap::BitsFor(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Bits24: return 24;
    case PixelFormat::Bits32: return 32;
    case PixelFormat::Device: break;
    }
    return DeviceBitsPerPixel();
}

void Bitmap::Create(int width, int height, int bitsPerPixel, UniqueBitmap& out, std::uint8_t*& bits,
                    int& stride) const
{
    out.reset();
    bits = nullptr;
    stride = 0;
    if (width <= 0 || height <= 0) return;
    const std::int64_t rowBytes = ((static_cast<std::int64_t>(width) * bitsPerPixel + 31) / 32) * 4;
    const std::int64_t total = rowBytes * height;
    if (total > std::numeric_limits<std::int32_t>::max()) ThrowOutOfResources();

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    // A NULL handle is "not enough memory", even when GetLastError says nothing.
    HBITMAP h = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!h || !pixels) {
        if (h) ::DeleteObject(h);
        ThrowOutOfResources();
    }
    out.reset(h);
    bits = static_cast<std::uint8_t*>(pixels);
    stride = static_cast<int>(rowBytes);
}

void Bitmap::ReleaseCanvas() noexcept
{
    if (canvas_) {
        ::SelectObject(canvas_.get(), canvasOldBitmap_);
        canvas_.reset();
        canvasOldBitmap_ = nullptr;
    }
}

void Bitmap::Clear() noexcept
{
    ReleaseCanvas();
    bitmap_.reset();
    bits_ = nullptr;
    width_ = height_ = stride_ = 0;
    bitsPerPixel_ = 0;
}

UniqueBitmap Bitmap::Detach() noexcept
{
    ReleaseCanvas();
    UniqueBitmap out = std::move(bitmap_);
    Clear();
    return out;
}

HDC Bitmap::Canvas()
{
    if (!canvas_) {
        UniqueMemoryDC dc = CreateMemoryDC();
        if (!dc) ThrowOutOfResources();
        // An empty picture still gets a surface (with the DC's stock 1 x 1 bitmap).
        canvasOldBitmap_ = bitmap_ ? ::SelectObject(dc.get(), bitmap_.get()) : nullptr;
        canvas_ = std::move(dc);
    }
    return canvas_.get();
}

void Bitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_ && (bitmap_ || width == 0 || height == 0)) return;
    const int bpp = bitmap_ ? bitsPerPixel_ : BitsFor(format_);
    UniqueBitmap fresh;
    std::uint8_t* bits = nullptr;
    int stride = 0;
    Create(width, height, bpp, fresh, bits, stride);
    ::GdiFlush();
    const int keepRows = std::min(height, height_);
    const size_t keepBytes = static_cast<size_t>(std::min(width, width_)) * (bpp / 8);
    for (int y = 0; y < keepRows; ++y)
        std::memcpy(bits + static_cast<std::ptrdiff_t>(y) * stride, Row(y), keepBytes);
    ReleaseCanvas();
    bitmap_ = std::move(fresh);
    bits_ = bits;
    stride_ = stride;
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bpp;
}

void Bitmap::SetPixelFormat(PixelFormat format)
{
    const int bpp = BitsFor(format);
    if (!bitmap_) {
        format_ = format;
        bitsPerPixel_ = 0;
        return;
    }
    if (bpp == bitsPerPixel_) {
        format_ = format;
        return;
    }
    UniqueBitmap fresh;
    std::uint8_t* bits = nullptr;
    int stride = 0;
    Create(width_, height_, bpp, fresh, bits, stride);
    ::GdiFlush();
    const int from = bitsPerPixel_ / 8;
    const int to = bpp / 8;
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* s = Row(y);
        std::uint8_t* d = bits + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < width_; ++x, s += from, d += to) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            if (to == 4) d[3] = 0;
        }
    }
    ReleaseCanvas();
    bitmap_ = std::move(fresh);
    bits_ = bits;
    stride_ = stride;
    bitsPerPixel_ = bpp;
    format_ = format;
}

void Bitmap::Assign(const Bitmap& other)
{
    if (&other == this) return;
    UniqueBitmap fresh;
    std::uint8_t* bits = nullptr;
    int stride = 0;
    Create(other.width_, other.height_, other.bitsPerPixel_, fresh, bits, stride);
    ::GdiFlush();
    if (bits) std::memcpy(bits, other.bits_, static_cast<size_t>(stride) * other.height_);
    ReleaseCanvas();
    bitmap_ = std::move(fresh);
    bits_ = bits;
    stride_ = stride;
    width_ = other.width_;
    height_ = other.height_;
    bitsPerPixel_ = other.bitsPerPixel_;
    format_ = other.format_;
}

void Bitmap::TakeFrom(Bitmap& other) noexcept
{
    if (&other == this) return;
    Clear();
    other.ReleaseCanvas();
    bitmap_ = std::move(other.bitmap_);
    bits_ = other.bits_;
    stride_ = other.stride_;
    width_ = other.width_;
    height_ = other.height_;
    bitsPerPixel_ = other.bitsPerPixel_;
    format_ = other.format_;
    other.bits_ = nullptr;
    other.width_ = other.height_ = other.stride_ = 0;
}

COLORREF Bitmap::Pixel(int x, int y) const noexcept
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    ::GdiFlush();
    const std::uint8_t* p = Row(y) + static_cast<std::ptrdiff_t>(x) * (bitsPerPixel_ / 8);
    return RGB(p[2], p[1], p[0]);
}

}  // namespace win
