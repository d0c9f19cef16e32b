#include "gif/ColorReduction.h"

#include <string>

#include "gif/ColorLookup.h"
#include "gif/DitherEngine.h"
#include "gif/GIFException.h"

namespace gif {

namespace {

const char* MethodName(TReductionMethod method)
{
    static const char* const kNames[] = {
        "redNone",         "redWindows20",  "redHalftone256", "redWindowsGray4",
        "redMonochrome",   "redGrayScale256", "redWebCube216", "redQuantize",
        "redQuantizeWindows", "redCustomPalette"};
    return method <= redCustomPalette ? kNames[method] : nullptr;
}

const char* DitherName(TDitherKind dither)
{
    static const char* const kNames[] = {"ditNearest", "ditFloydSteinberg", "ditStucki",
                                         "ditSierra",  "ditJaJuNi",        "ditSteveArche",
                                         "ditBurkes"};
    return dither <= ditBurkes ? kNames[dither] : nullptr;
}

void RequireBuiltPath(TReductionMethod method, TDitherKind dither)
{
    if (const char* name = MethodName(method); !name)
        throw GIFException("Unknown color reduction method " + std::to_string(int(method)));
    else if (method != redWebCube216)
        throw GIFException(std::string("Color reduction method ") + name +
                           " is not available; only redWebCube216 is built");
    if (const char* name = DitherName(dither); !name)
        throw GIFException("Unknown dither kind " + std::to_string(int(dither)));
    else if (dither != ditNearest)
        throw GIFException(std::string("Dither kind ") + name +
                           " is not available; only ditNearest is built");
}

// The pixel loop every engine shares: each row from the engine's current
// column in its current direction.
template <typename Engine>
void DitherRows(const TDIBReader& reader, TDIBWriter& writer, Engine& engine)
{
    const int bytes = reader.BytesPerPixel();
    for (int y = 0; y < reader.Height(); ++y) {
        const std::uint8_t* source = reader.Row(y);
        std::uint8_t* target = writer.Row(y);
        while (engine.InRow()) {
            const int x = engine.Column();
            const std::uint8_t* pixel = source + static_cast<std::ptrdiff_t>(x) * bytes;
            target[x] = engine.Dither(pixel[2], pixel[1], pixel[0]);
        }
        engine.NextLine();
    }
}

}  // namespace

IndexedBitmap ReduceColorDepth(const PixelRows& source, TReductionMethod method,
                               TDitherKind dither, int /*reductionBits*/,
                               const TPalette* /*customPalette*/)
{
    RequireBuiltPath(method, dither);
    IndexedBitmap result;
    TDIBReader reader(source);
    const TPalette palette = WebCubePalette();
    const TNetscapeColorLookup lookup;
    TNearestEngine<TNetscapeColorLookup> engine(reader.Width(), lookup);
    TDIBWriter writer(result, 8, reader.Width(), reader.Height(), palette);
    DitherRows(reader, writer, engine);
    return result;
}

}  // namespace gif
