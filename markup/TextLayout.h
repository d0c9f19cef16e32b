// Where the letters of a text mark go: one caret position per gap between
// characters (index 0 before the first, size() after the last), lines broken
// at '\n'. The text editor on the picture uses it for the caret, the selection
// and clicks; the renderer for the letters.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "markup/GlyphSource.h"
#include "markup/Mark.h"

namespace markup {

struct TextLayout {
    std::vector<Point> carets;  // top of the caret before character i
    double lineHeight = 0;      // in picture pixels
    double ascent = 0;
    double width = 0;           // of the longest line
    double height = 0;
};

TextLayout LayOutText(const std::wstring& text, double fontSize, Point origin, GlyphSource& glyphs);

// The caret index nearest to p: its line from p.y, then the nearest gap.
std::size_t CaretIndexAt(const TextLayout& layout, Point p);

}  // namespace markup
