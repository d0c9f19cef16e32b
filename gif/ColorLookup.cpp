#include "gif/ColorLookup.h"

namespace gif {

TPalette WebCubePalette()
{
    TPalette palette;
    palette.reserve(kCubeColors);
    for (int r = 0; r < kCubeLevels; ++r)
        for (int g = 0; g < kCubeLevels; ++g)
            for (int b = 0; b < kCubeLevels; ++b)
                palette.push_back({static_cast<std::uint8_t>(r * kCubeStep),
                                   static_cast<std::uint8_t>(g * kCubeStep),
                                   static_cast<std::uint8_t>(b * kCubeStep)});
    return palette;
}

}  // namespace gif
