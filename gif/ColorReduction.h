// Reduction of a true-colour picture to at most 256 indexed colours. Only the
// program's path is built: the web cube with nearest-colour mapping. Choosing
// another method or dither kind fails loudly rather than quietly writing
// something else.
#pragma once

#include <cstdint>

#include "gif/DIBAccess.h"
#include "gif/GIFColor.h"
#include "gif/PixelRows.h"

namespace gif {

enum TReductionMethod : std::uint8_t {
    redNone = 0,
    redWindows20 = 1,
    redHalftone256 = 2,
    redWindowsGray4 = 3,
    redMonochrome = 4,
    redGrayScale256 = 5,
    redWebCube216 = 6,
    redQuantize = 7,
    redQuantizeWindows = 8,
    redCustomPalette = 9,
};

enum TDitherKind : std::uint8_t {
    ditNearest = 0,
    ditFloydSteinberg = 1,
    ditStucki = 2,
    ditSierra = 3,
    ditJaJuNi = 4,
    ditSteveArche = 5,
    ditBurkes = 6,
};

// Returns the 8-bit indexed picture: cube indices 0..215 and a colour table of
// the 216 cube colours followed by 40 black slots.
IndexedBitmap ReduceColorDepth(const PixelRows& source, TReductionMethod method,
                               TDitherKind dither, int reductionBits,
                               const TPalette* customPalette);

}  // namespace gif
