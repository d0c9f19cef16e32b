// A fixed glyph source for tests and the benchmark: every letter is a hollow
// box, so text renders without any font and the same on every system.
#pragma once
#include "markup/GlyphSource.h"

namespace markup::testing {

class BoxGlyphs final : public GlyphSource {
public:
    BoxGlyphs();
    const GlyphOutline& Glyph(wchar_t ch) override;
    double Ascent() const override { return 0.8; }
    double LineHeight() const override { return 1.2; }

private:
    GlyphOutline box_;
    GlyphOutline blank_;
};

}  // namespace markup::testing
