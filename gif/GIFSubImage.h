// One image of a GIF: its 10-byte descriptor, local colour table and pixel
// buffer (one colour index per pixel, rows from the top).
#pragma once

#include <cstdint>
#include <vector>

#include "gif/ByteSink.h"
#include "gif/GIFColorMap.h"
#include "gif/GIFHeader.h"
#include "gif/PixelRows.h"

namespace gif {

class TGIFImage;

class TGIFSubImage {
public:
    static constexpr std::uint8_t kSeparator = 0x2C;

    explicit TGIFSubImage(TGIFImage& owner) : owner_(owner) {}
    TGIFSubImage(const TGIFSubImage&) = delete;
    TGIFSubImage& operator=(const TGIFSubImage&) = delete;

    int Left() const noexcept { return left_; }
    int Top() const noexcept { return top_; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    std::uint8_t Packed() const noexcept { return packed_; }
    bool Interlaced() const noexcept { return (packed_ & 0x40) != 0; }

    // Each change of size reallocates the pixel buffer, zero-filled, and
    // widens the owner's logical screen to hold the image.
    void SetWidth(int width);
    void SetHeight(int height);

    TGIFLocalColorMap& ColorMap() noexcept { return colorMap_; }
    const TGIFLocalColorMap& ColorMap() const noexcept { return colorMap_; }
    std::vector<std::uint8_t>& Data() noexcept { return data_; }
    const std::vector<std::uint8_t>& Data() const noexcept { return data_; }

    bool Empty() const noexcept { return data_.empty() || width_ == 0 || height_ == 0; }
    // 89a only for what 87a cannot say: a sorted local table.
    TGIFVersion Version() const noexcept;

    // Fills the image from a true-colour picture through the owner's colour
    // reduction; an empty picture leaves the image empty.
    void Assign(const PixelRows& source);

    // Descriptor, local table and image data; nothing for an empty image.
    void WriteTo(ByteSink& sink);

private:
    void Reallocate();
    void RecomputePacked() noexcept;

    TGIFImage& owner_;
    std::uint16_t left_ = 0;
    std::uint16_t top_ = 0;
    std::uint16_t width_ = 0;
    std::uint16_t height_ = 0;
    std::uint8_t packed_ = 0;
    TGIFLocalColorMap colorMap_;
    std::vector<std::uint8_t> data_;
};

}  // namespace gif
