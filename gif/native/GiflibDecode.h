// Decoding a GIF held in memory with giflib, as an independent oracle.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gifnative {

struct DecodedGif {
    bool ok = false;
    std::string error;
    int screenWidth = 0, screenHeight = 0;
    int imageCount = 0;
    int width = 0, height = 0;
    int colorCount = 0;               // of the image's local table
    std::vector<std::uint8_t> colors;  // r, g, b per entry
    std::vector<std::uint8_t> raster;  // the first image's indices
};

DecodedGif DecodeWithGiflib(const std::vector<std::uint8_t>& file);

}  // namespace gifnative
