// The ditherer base, used as it is for nearest-colour mapping. It walks rows in
// alternating directions (serpentine), the order the error-diffusing kinds need;
// with no diffusion the order does not change any index.
#pragma once

#include <cstdint>

#include "gif/ColorLookup.h"

namespace gif {

class TDitherEngine {
public:
    TDitherEngine(int width, const TColorLookup& lookup) : lookup_(lookup), width_(width) {}
    virtual ~TDitherEngine() = default;
    TDitherEngine(const TDitherEngine&) = delete;
    TDitherEngine& operator=(const TDitherEngine&) = delete;

    int Direction() const noexcept { return direction_; }
    int Column() const noexcept { return column_; }
    bool InRow() const noexcept { return column_ >= 0 && column_ < width_; }

    // Index of the colour at the current column; then steps to the next column.
    virtual std::uint8_t Dither(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        // The channels the lookup gives back are for error diffusion: unused here.
        const std::uint8_t index = lookup_.Lookup(red, green, blue);
        column_ += direction_;
        return index;
    }

    // Reverses the direction and goes to the start of the next row.
    virtual void NextLine()
    {
        direction_ = -direction_;
        column_ = direction_ > 0 ? 0 : width_ - 1;
    }

protected:
    int direction_ = 1;
    int column_ = 0;
    const TColorLookup& lookup_;
    int width_;
};

// The base engine bound to a concrete, final lookup: the same indices, with the
// per-pixel calls direct and inlined (a screen has millions of pixels).
template <typename Lookup>
class TNearestEngine final : public TDitherEngine {
public:
    TNearestEngine(int width, const Lookup& lookup) : TDitherEngine(width, lookup), concrete_(lookup) {}

    std::uint8_t Dither(std::uint8_t red, std::uint8_t green, std::uint8_t blue) override
    {
        const std::uint8_t index = concrete_.Lookup(red, green, blue);
        column_ += direction_;
        return index;
    }

private:
    const Lookup& concrete_;
};

}  // namespace gif
