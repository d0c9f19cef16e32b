// Random sizes, strides, depths, masks (none, an ellipse, arbitrary bytes),
// pixels, levels and filters through EncodePng; every file is read back by
// libpng's own reader and compared pixel and alpha for pixel. A sink that
// fails at a random byte must give a clean failure with a message.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>
#include <png.h>

#include "output/PngEncoder.h"

namespace {

class VectorSink final : public output::PngSink {
public:
    std::vector<std::uint8_t> bytes;
    std::size_t failAt = SIZE_MAX;
    bool Write(const std::uint8_t* data, std::size_t size) override
    {
        if (bytes.size() + size > failAt) return false;
        bytes.insert(bytes.end(), data, data + size);
        return true;
    }
};

std::vector<std::uint8_t> MakeMask(FuzzedDataProvider& in, int w, int h, int kind)
{
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(w) * h, 0);
    if (kind == 1) {  // an ellipse inside a frame, as the round shapes have
        const double cx = w / 2.0, cy = h / 2.0, rx = w / 2.0 - 1, ry = h / 2.0 - 1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
                mask[static_cast<std::size_t>(y) * w + x] = dx * dx + dy * dy <= 1 ? 255 : 0;
            }
    } else {
        for (auto& a : mask) a = in.ConsumeIntegral<std::uint8_t>();
    }
    return mask;
}

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "mismatch: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const int w = in.ConsumeIntegralInRange(1, 300);
    const int h = in.ConsumeIntegralInRange(1, 300);
    const int bpp = in.ConsumeBool() ? 4 : 3;
    const int stride = w * bpp + in.ConsumeIntegralInRange(0, 7);
    const int maskKind = in.ConsumeIntegralInRange(0, 2);
    const int level = in.ConsumeIntegralInRange(0, 9);
    const int filters = in.ConsumeIntegralInRange(1, 31) << 3;
    const bool failing = in.ConsumeIntegralInRange(0, 7) == 0;
    const std::size_t failAt = in.ConsumeIntegralInRange<std::size_t>(0, 4096);
    const std::vector<std::uint8_t> mask = maskKind ? MakeMask(in, w, h, maskKind) : std::vector<std::uint8_t>();

    // Pixels from a generator seeded by the input: small inputs, big pictures.
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * h);
    std::uint32_t seed = in.ConsumeIntegral<std::uint32_t>();
    const int runs = in.ConsumeIntegralInRange(0, 3);  // flat runs compress differently
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        pixels[i] = static_cast<std::uint8_t>((seed >> 24) >> (runs * 2));
    }

    output::PngSource source;
    source.top = pixels.data();
    source.stride = stride;
    source.width = w;
    source.height = h;
    source.bytesPerPixel = bpp;
    source.alpha = mask.empty() ? nullptr : mask.data();
    source.alphaStride = w;
    source.level = level;
    source.filters = filters;
    VectorSink sink;
    if (failing) sink.failAt = failAt;
    std::string error;
    const bool ok = output::EncodePng(source, sink, error);
    if (failing && !ok) {
        Check(!error.empty(), "a failed write without a message");
        return 0;
    }
    Check(ok, error.c_str());

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    Check(png_image_begin_read_from_memory(&image, sink.bytes.data(), sink.bytes.size()), "header");
    Check(image.width == static_cast<png_uint_32>(w) && image.height == static_cast<png_uint_32>(h), "size");
    Check(((image.format & PNG_FORMAT_FLAG_ALPHA) != 0) == !mask.empty(), "alpha channel");
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> decoded(PNG_IMAGE_SIZE(image));
    Check(png_image_finish_read(&image, nullptr, decoded.data(), 0, nullptr), "decode");
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = pixels.data() + static_cast<std::size_t>(y) * stride + x * bpp;
            const std::uint8_t* q = decoded.data() + (static_cast<std::size_t>(y) * w + x) * 4;
            Check(q[0] == p[2] && q[1] == p[1] && q[2] == p[0], "colour");
            Check(q[3] == (mask.empty() ? 255 : mask[static_cast<std::size_t>(y) * w + x]), "alpha");
        }
    return 0;
}
