#include "FuzzSupport.h"

#include "GiflibDecode.h"
#include "gif/ColorLookup.h"

namespace gifnative {

void MakePixels(std::vector<std::uint8_t>& pixels, const std::uint8_t* bytes, std::size_t count,
                bool noise)
{
    std::uint32_t state = 2463534242u;
    for (std::size_t i = 0; i < count; ++i) state = state * 31 + bytes[i];
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (noise) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            pixels[i] = static_cast<std::uint8_t>(state);
        } else {
            pixels[i] = count ? bytes[i % count] : 0;
        }
    }
}

std::vector<std::uint8_t> CubeIndices(const gif::PixelRows& rows)
{
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(rows.width) * rows.height);
    const int bytes = rows.bitsPerPixel / 8;
    for (int y = 0; y < rows.height; ++y)
        for (int x = 0; x < rows.width; ++x) {
            const std::uint8_t* p = rows.Row(y) + x * bytes;
            indices[static_cast<std::size_t>(y) * rows.width + x] =
                gif::TNetscapeColorLookup::Index(p[2], p[1], p[0]);
        }
    return indices;
}

std::string CheckWithGiflib(const std::vector<std::uint8_t>& file, int width, int height,
                            const std::vector<std::uint8_t>& expected, int smallTableColors)
{
    const DecodedGif decoded = DecodeWithGiflib(file);
    if (!decoded.ok) return "giflib: " + decoded.error;
    if (decoded.imageCount != 1) return "image count " + std::to_string(decoded.imageCount);
    if (decoded.width != width || decoded.height != height) return "image size";
    if (decoded.screenWidth != width || decoded.screenHeight != height) return "screen size";
    if (decoded.raster != expected) return "indices differ";
    if (smallTableColors == 0) {
        if (decoded.colorCount != 256) return "table size";
        for (int i = 0; i < 256; ++i) {
            const int r = i < 216 ? 51 * (i / 36) : 0, g = i < 216 ? 51 * (i / 6 % 6) : 0,
                      b = i < 216 ? 51 * (i % 6) : 0;
            if (decoded.colors[3 * i] != r || decoded.colors[3 * i + 1] != g ||
                decoded.colors[3 * i + 2] != b)
                return "colour table entry " + std::to_string(i);
        }
    } else {
        int bits = 1;
        while ((1 << bits) < smallTableColors) ++bits;
        if (decoded.colorCount != (1 << bits)) return "small table size";
    }
    return {};
}

}  // namespace gifnative
