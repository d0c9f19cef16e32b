// Mapping a colour onto a palette index. The web cube is the only palette the
// program uses: 6 levels per channel, red varying slowest.
#pragma once

#include <cstdint>

#include "gif/GIFColor.h"

namespace gif {

constexpr int kCubeLevels = 6;
constexpr int kCubeColors = kCubeLevels * kCubeLevels * kCubeLevels;  // 216
constexpr int kCubeStep = 51;

// Entry 36r + 6g + b is (51r, 51g, 51b).
TPalette WebCubePalette();

class TColorLookup {
public:
    explicit TColorLookup(int colors) : colors_(colors) {}
    virtual ~TColorLookup() = default;

    int Colors() const noexcept { return colors_; }
    // Returns the index of the chosen palette entry and replaces the channels
    // with that entry's colour (error diffusion measures the difference).
    virtual std::uint8_t Lookup(std::uint8_t& red, std::uint8_t& green,
                                std::uint8_t& blue) const = 0;

private:
    int colors_;
};

// Pure arithmetic on the cube, no table: level(c) = (c + 3) / 51, switching at
// 48, 99, 150, 201 and 252. It is not the nearest level ((c + 25) / 51 would
// be): a colour up to 48 above a level still falls to that level, and saved
// pictures depend on exactly these thresholds.
class TNetscapeColorLookup final : public TColorLookup {
public:
    TNetscapeColorLookup() : TColorLookup(kCubeColors) {}

    static constexpr int Level(std::uint8_t channel) noexcept { return (channel + 3) / kCubeStep; }
    static constexpr std::uint8_t Index(std::uint8_t red, std::uint8_t green,
                                        std::uint8_t blue) noexcept
    {
        return static_cast<std::uint8_t>(36 * Level(red) + 6 * Level(green) + Level(blue));
    }

    std::uint8_t Lookup(std::uint8_t& red, std::uint8_t& green,
                        std::uint8_t& blue) const override
    {
        const int r = Level(red), g = Level(green), b = Level(blue);
        red = static_cast<std::uint8_t>(r * kCubeStep);
        green = static_cast<std::uint8_t>(g * kCubeStep);
        blue = static_cast<std::uint8_t>(b * kCubeStep);
        return static_cast<std::uint8_t>(36 * r + 6 * g + b);
    }
};

}  // namespace gif
