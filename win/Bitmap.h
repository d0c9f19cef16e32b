// A picture in memory: a top-down DIB section with a drawing surface and row
// access. A fresh capture keeps the display's depth (PixelFormat::Device); the
// transforms and the GIF save turn it into 24 bits per pixel.
#pragma once

#include <windows.h>

#include <cstdint>

#include "win/UniqueHandle.h"

namespace win {

enum class PixelFormat { Device, Bits24, Bits32 };

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    ~Bitmap();

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    bool Empty() const noexcept { return width_ == 0 || height_ == 0; }
    PixelFormat Format() const noexcept { return format_; }
    int BitsPerPixel() const { return bitsPerPixel_ ? bitsPerPixel_ : BitsFor(format_); }

    // Resizes; the pixels that lie inside both sizes are kept, new ones are black.
    void SetSize(int width, int height);
    // Changes the depth, keeping the colours.
    void SetPixelFormat(PixelFormat format);
    // Becomes a copy of other (size, depth and pixels).
    void Assign(const Bitmap& other);
    // Takes over other's pixels and leaves other empty.
    void TakeFrom(Bitmap& other) noexcept;
    // Hands the GDI bitmap over to the caller and leaves this picture empty.
    UniqueBitmap Detach() noexcept;
    // Back to an empty picture, releasing the GDI objects.
    void Clear() noexcept;

    // The drawing surface: a memory DC with this bitmap selected into it. Valid
    // until the next SetSize, SetPixelFormat, Assign or Clear.
    HDC Canvas();
    HBITMAP Handle() const noexcept { return bitmap_.get(); }

    // Row y from the top; Stride() bytes apart, BGR(A) order.
    std::uint8_t* Row(int y) noexcept { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
    const std::uint8_t* Row(int y) const noexcept
    {
        return bits_ + static_cast<std::ptrdiff_t>(y) * stride_;
    }
    int Stride() const noexcept { return stride_; }

    // Pixel colour in 0x00BBGGRR form (for tests and colour picking).
    COLORREF Pixel(int x, int y) const noexcept;

    // The depth a fresh capture gets on this display (24 or 32).
    static int DeviceBitsPerPixel();
    static int BitsFor(PixelFormat format);

private:
    void Create(int width, int height, int bitsPerPixel, UniqueBitmap& out, std::uint8_t*& bits,
                int& stride) const;
    void ReleaseCanvas() noexcept;

    UniqueBitmap bitmap_;
    std::uint8_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    int bitsPerPixel_ = 0;  // 0 until pixels exist: the format decides then
    PixelFormat format_ = PixelFormat::Device;
    UniqueMemoryDC canvas_;
    HGDIOBJ canvasOldBitmap_ = nullptr;
};

}  // namespace win
