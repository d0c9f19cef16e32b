// The palettes of a recording's frames. Colours are 0x00RRGGBB words, as a
// 32-bit screen picture holds them. A palette holds at most 255 colours: the
// entry after its last colour is the see-through index, never a colour that
// could also appear in the picture.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/GIFColor.h"

namespace gif {

constexpr std::uint32_t kColorMask = 0x00FFFFFFu;
constexpr int kMaxAnimationColors = 255;

struct AnimationPalette {
    std::vector<std::uint32_t> colors;

    int Transparent() const noexcept { return static_cast<int>(colors.size()); }
    // The table's bit size: room for the colours and the see-through index.
    int Bits() const noexcept;
    int TableSize() const noexcept { return 1 << Bits(); }
    // The table as written: the colours, then black up to its size.
    TPalette Table() const;
};

// The distinct colours of a set of pixels, counted up to a limit (past it the
// set only says it overflowed).
class ColorSet {
public:
    explicit ColorSet(int limit = kMaxAnimationColors);

    // False once more than limit colours were seen.
    bool Add(std::uint32_t color);
    bool Overflowed() const noexcept { return overflowed_; }
    const std::vector<std::uint32_t>& Colors() const noexcept { return colors_; }

private:
    int limit_;
    bool overflowed_ = false;
    std::vector<std::uint32_t> slots_;
    std::vector<std::uint32_t> colors_;
};

// Up to maxColors colours that stand for many: median cut over a histogram of
// 5 bits per channel, each box given the mean of its pixels.
AnimationPalette MedianCutPalette(const std::vector<std::uint32_t>& pixels, int maxColors);

// Up to maxColors colours for pixels of more: the colours covering large
// areas exactly (at most half the palette), the median cut of the rest.
AnimationPalette ReducedPalette(const std::vector<std::uint32_t>& pixels, int maxColors);

// Colour to palette index: the palette's own colours exactly, any other
// colour to its nearest entry (remembered, so each colour is looked for once).
class ColorIndex {
public:
    explicit ColorIndex(const AnimationPalette& palette);

    bool Contains(std::uint32_t color) const noexcept;
    std::uint8_t Index(std::uint32_t color);

private:
    int Find(std::uint32_t color) const noexcept;
    void Insert(std::uint32_t color, std::uint8_t index, bool exact);
    void Rebuild();
    std::uint8_t Nearest(std::uint32_t color) const noexcept;

    const AnimationPalette& palette_;
    int bits_ = 10;
    int used_ = 0;
    std::vector<std::uint32_t> keys_;
    std::vector<std::uint16_t> values_;  // index, with kExact when it is the palette's own
};

}  // namespace gif
