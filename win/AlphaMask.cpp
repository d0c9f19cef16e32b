#include "win/AlphaMask.h"

#include <algorithm>

namespace win {

AlphaMask::AlphaMask(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      alpha_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kTransparent)
{
    if (alpha_.empty()) width_ = height_ = 0;
}

void AlphaMask::MakeOpaque(int left, int top, int right, int bottom) noexcept
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right) return;
    for (int y = top; y < bottom; ++y) std::fill(Row(y) + left, Row(y) + right, kOpaque);
}

AlphaMask AlphaMask::Rotated(bool clockwise) const
{
    AlphaMask turned(height_, width_);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src = Row(y);
        for (int x = 0; x < width_; ++x) {
            if (clockwise)
                turned.Row(x)[height_ - 1 - y] = src[x];
            else
                turned.Row(width_ - 1 - x)[y] = src[x];
        }
    }
    return turned;
}

AlphaMask AlphaMask::Mirrored() const
{
    AlphaMask mirrored(width_, height_);
    for (int y = 0; y < height_; ++y) std::reverse_copy(Row(y), Row(y) + width_, mirrored.Row(y));
    return mirrored;
}

}  // namespace win
