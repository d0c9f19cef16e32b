// The signature, the logical screen descriptor (7 bytes in file order) and the
// global colour table.
#pragma once

#include <cstdint>

#include "gif/ByteSink.h"
#include "gif/GIFColorMap.h"

namespace gif {

enum class TGIFVersion { gvUnknown, gv87a, gv89a };

class TGIFHeader {
public:
    int ScreenWidth() const noexcept { return screenWidth_; }
    int ScreenHeight() const noexcept { return screenHeight_; }
    void SetScreenWidth(int width) noexcept { screenWidth_ = static_cast<std::uint16_t>(width); }
    void SetScreenHeight(int height) noexcept { screenHeight_ = static_cast<std::uint16_t>(height); }
    std::uint8_t Packed() const noexcept { return packed_; }
    void SetPacked(std::uint8_t packed) noexcept { packed_ = packed; }
    std::uint8_t BackgroundColorIndex() const noexcept { return background_; }
    std::uint8_t AspectRatio() const noexcept { return aspectRatio_; }

    TGIFGlobalColorMap& ColorMap() noexcept { return colorMap_; }
    const TGIFGlobalColorMap& ColorMap() const noexcept { return colorMap_; }

    // All 7 descriptor bytes 0, the global table empty.
    void Clear() noexcept;

    // "GIF", the version, the 7 bytes, then the global table when the packed
    // byte announces one.
    void WriteTo(ByteSink& sink, TGIFVersion version) const;

private:
    std::uint16_t screenWidth_ = 0;
    std::uint16_t screenHeight_ = 0;
    std::uint8_t packed_ = 0;
    std::uint8_t background_ = 0;
    std::uint8_t aspectRatio_ = 0;
    TGIFGlobalColorMap colorMap_;
};

// Little-endian 16-bit field.
inline void PutWord(std::uint8_t* at, std::uint16_t value) noexcept
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace gif
