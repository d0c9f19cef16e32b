// Where the text of marks gets its letters: the outline of each character as
// closed, flattened contours at an em height of 1, y growing downwards from
// the baseline. On Windows GdiGlyphSource reads them from a font; tests hand
// in a fixed source, so text renders the same everywhere.
#pragma once
#include <vector>

#include "markup/Mark.h"

namespace markup {

struct GlyphOutline {
    std::vector<std::vector<Point>> contours;
    double advance = 0;  // how far the next letter starts, in ems
};

class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // Valid until the next call for another character.
    virtual const GlyphOutline& Glyph(wchar_t ch) = 0;
    virtual double Ascent() const = 0;      // baseline below the line's top, in ems
    virtual double LineHeight() const = 0;  // from one line's top to the next, in ems
};

}  // namespace markup
