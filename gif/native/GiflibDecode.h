// Decoding a GIF held in memory with giflib, as an independent oracle.
#pragma once

#include <cstdint>
#include <functional>
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

namespace gifnative {

// An animation as a viewer shows it: each frame drawn over the one before
// (see-through pixels keep what was there), its delay in centiseconds.
struct DecodedAnimation {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    bool loops = false;                             // the looping extension is there
    std::vector<std::vector<std::uint32_t>> frames;  // 0x00RRGGBB per pixel
    std::vector<int> delays;
};

DecodedAnimation DecodeAnimationWithGiflib(const std::vector<std::uint8_t>& file);

// The same, one frame at a time: frame gets the canvas after each image and
// its delay. The empty text means the whole file played.
std::string PlayWithGiflib(const std::vector<std::uint8_t>& file, int& width, int& height, bool& loops,
                           const std::function<void(const std::vector<std::uint32_t>&, int)>& frame);

}  // namespace gifnative
