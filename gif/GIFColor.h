// One colour-table entry, in the file's order.
#pragma once

#include <cstdint>
#include <vector>

namespace gif {

struct TGIFColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const TGIFColor&, const TGIFColor&) = default;
};

using TPalette = std::vector<TGIFColor>;

}  // namespace gif
