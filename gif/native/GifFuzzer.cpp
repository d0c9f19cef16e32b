// libFuzzer target: random sizes and pixels through the whole writer, every
// output decoded by giflib and compared with the expected indices.
//
// Input: 2 bytes width, 2 bytes height, 1 byte of flags, then pixel bytes
// (repeated to fill the picture). Flags: bit 0 reads 32-bit rows, bit 1 fills
// the picture with noise seeded by the pixel bytes, bit 2 swaps in a small
// colour table (1 to 8 bits, chosen by bits 3-5) to exercise short codes, bit 6
// allows large pictures (several table clears); small ones keep runs fast.
// Bit 7 sends the rest of the bytes to the animation encoder instead.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "FuzzSupport.h"
#include "gif/ByteSink.h"
#include "gif/GIFImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5) return 0;
    const std::uint8_t flags = data[4];
    if (flags & 128) {
        const std::string problem = gifnative::CheckAnimation(data + 5, size - 5);
        if (problem.empty()) return 0;
        std::fprintf(stderr, "gif animation fuzz: %s\n", problem.c_str());
        std::abort();
    }
    const int side = (flags & 64) ? 700 : 64;
    const int width = 1 + ((data[0] | data[1] << 8) % side);
    int height = 1 + ((data[2] | data[3] << 8) % side);
    if (width * height > 65536) height = 65536 / width;

    const int bpp = (flags & 1) ? 32 : 24;
    const int stride = (width * bpp / 8 + 3) / 4 * 4;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * height);
    gifnative::MakePixels(pixels, data + 5, size - 5, (flags & 2) != 0);
    const gif::PixelRows rows{width, height, bpp, pixels.data(), stride};

    gif::TGIFImage image;
    image.Assign(rows);
    std::vector<std::uint8_t> expected = gifnative::CubeIndices(rows);

    int smallTableColors = 0;
    if (flags & 4) {
        const int bits = 1 + ((flags >> 3) & 7);
        smallTableColors = 1 + (size > 5 ? data[5] : 0) % (1 << bits);
        gif::TGIFSubImage& sub = image.Image(0);
        sub.ColorMap().Clear();
        for (int i = 0; i < smallTableColors; ++i)
            sub.ColorMap().Add({static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(255 - i)});
        for (std::size_t i = 0; i < expected.size(); ++i) {
            expected[i] = static_cast<std::uint8_t>(expected[i] % smallTableColors);
            sub.Data()[i] = expected[i];
        }
    }

    std::vector<std::uint8_t> file;
    gif::MemorySink sink(file);
    image.SaveToStream(sink);

    const std::string problem =
        gifnative::CheckWithGiflib(file, width, height, expected, smallTableColors);
    if (!problem.empty()) {
        std::fprintf(stderr, "gif fuzz: %s (%d x %d, flags %d)\n", problem.c_str(), width, height, flags);
        std::abort();
    }
    return 0;
}
