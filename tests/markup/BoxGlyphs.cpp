#include "BoxGlyphs.h"

namespace markup::testing {

BoxGlyphs::BoxGlyphs()
{
    box_.advance = blank_.advance = 0.6;
    box_.contours = {{{0.05, -0.7}, {0.55, -0.7}, {0.55, 0}, {0.05, 0}},
                     {{0.15, -0.6}, {0.15, -0.1}, {0.45, -0.1}, {0.45, -0.6}}};
}

const GlyphOutline& BoxGlyphs::Glyph(wchar_t ch) { return ch == L' ' ? blank_ : box_; }

}  // namespace markup::testing
