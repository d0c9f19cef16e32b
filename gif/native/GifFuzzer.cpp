// libFuzzer target: random sizes and pixels through the whole writer, every
// output decoded by giflib and compared with the expected indices.
//
// Input: 2 bytes width, 2 bytes height, 1 byte of flags, then pixel bytes
// (repeated to fill the picture). Flags: bit 0 reads 32-bit rows, bit 1 fills
// the picture with noise seeded by the pixel bytes, bit 2 swaps in a small
// colour table (1 to 8 bits, chosen by bits 3-5) to exercise short codes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "GiflibDecode.h"
#include "gif/ByteSink.h"
#include "gif/ColorLookup.h"
#include "gif/GIFImage.h"

namespace {

[[noreturn]] void Fail(const char* what, long a = 0, long b = 0)
{
    std::fprintf(stderr, "gif fuzz: %s (%ld, %ld)\n", what, a, b);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5) return 0;
    const int width = 1 + ((data[0] | data[1] << 8) % 700);
    int height = 1 + ((data[2] | data[3] << 8) % 700);
    if (width * height > 65536) height = 65536 / width;
    const std::uint8_t flags = data[4];
    const std::uint8_t* pixelBytes = data + 5;
    const std::size_t pixelCount = size - 5;

    const int bpp = (flags & 1) ? 32 : 24;
    const int stride = (width * bpp / 8 + 3) / 4 * 4;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * height);
    std::uint32_t state = 2463534242u;
    for (std::size_t i = 0; i < pixelCount; ++i) state = state * 31 + pixelBytes[i];
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (flags & 2) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            pixels[i] = static_cast<std::uint8_t>(state);
        } else {
            pixels[i] = pixelCount ? pixelBytes[i % pixelCount] : 0;
        }
    }
    const gif::PixelRows rows{width, height, bpp, pixels.data(), stride};

    gif::TGIFImage image;
    image.Assign(rows);
    std::vector<std::uint8_t> expected(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = rows.Row(y) + x * (bpp / 8);
            expected[static_cast<std::size_t>(y) * width + x] =
                gif::TNetscapeColorLookup::Index(p[2], p[1], p[0]);
        }

    int colors = 256;
    const bool smallTable = (flags & 4) != 0;
    if (smallTable) {
        const int bits = 1 + ((flags >> 3) & 7);
        colors = 1 + (pixelCount ? pixelBytes[0] : 0) % (1 << bits);
        gif::TGIFSubImage& sub = image.Image(0);
        sub.ColorMap().Clear();
        for (int i = 0; i < colors; ++i)
            sub.ColorMap().Add({static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(255 - i)});
        for (std::size_t i = 0; i < expected.size(); ++i) {
            expected[i] = static_cast<std::uint8_t>(expected[i] % colors);
            sub.Data()[i] = expected[i];
        }
    }

    std::vector<std::uint8_t> file;
    gif::MemorySink sink(file);
    image.SaveToStream(sink);

    const gifnative::DecodedGif decoded = gifnative::DecodeWithGiflib(file);
    if (!decoded.ok) Fail(decoded.error.c_str());
    if (decoded.imageCount != 1) Fail("image count", decoded.imageCount);
    if (decoded.width != width || decoded.height != height) Fail("size", decoded.width, decoded.height);
    if (decoded.screenWidth != width || decoded.screenHeight != height) Fail("screen size");
    if (decoded.raster != expected) Fail("indices differ", width, height);
    if (!smallTable) {
        for (int i = 0; i < 256; ++i) {
            const int r = i < 216 ? 51 * (i / 36) : 0, g = i < 216 ? 51 * (i / 6 % 6) : 0,
                      b = i < 216 ? 51 * (i % 6) : 0;
            if (decoded.colors[3 * i] != r || decoded.colors[3 * i + 1] != g ||
                decoded.colors[3 * i + 2] != b)
                Fail("colour table entry", i);
        }
    } else {
        int bits = 1;
        while ((1 << bits) < colors) ++bits;
        if (decoded.colorCount != (1 << bits)) Fail("table size", decoded.colorCount, colors);
    }
    return 0;
}
