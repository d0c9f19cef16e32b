// Which pixels of a picture are see-through: one byte a pixel, 0 transparent
// and 255 opaque, rows top-down. An empty mask means the whole picture is
// opaque. The turns and the mirror move the bytes exactly as the picture's
// pixels move, so a mask stays aligned with the picture it belongs to.
#pragma once

#include <cstdint>
#include <vector>

namespace win {

class AlphaMask {
public:
    static constexpr std::uint8_t kTransparent = 0;
    static constexpr std::uint8_t kOpaque = 255;

    AlphaMask() = default;
    // A mask of the given size, every pixel transparent.
    AlphaMask(int width, int height);

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    bool Empty() const noexcept { return alpha_.empty(); }

    std::uint8_t* Row(int y) noexcept { return alpha_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint8_t* Row(int y) const noexcept
    {
        return alpha_.data() + static_cast<std::size_t>(y) * width_;
    }
    std::uint8_t At(int x, int y) const noexcept { return Row(y)[x]; }

    // Makes the rectangle [left, right) x [top, bottom), clipped to the mask, opaque.
    void MakeOpaque(int left, int top, int right, int bottom) noexcept;

    // A quarter turn as RotateBitmap turns a picture: clockwise, source
    // (x, y) goes to column height - 1 - y of row x.
    AlphaMask Rotated(bool clockwise) const;
    // Left to right.
    AlphaMask Mirrored() const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> alpha_;
};

}  // namespace win
