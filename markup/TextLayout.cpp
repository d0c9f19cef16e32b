#include "markup/TextLayout.h"

#include <algorithm>
#include <cmath>

namespace markup {

TextLayout LayOutText(const std::wstring& text, double fontSize, Point origin, GlyphSource& glyphs)
{
    TextLayout layout;
    layout.lineHeight = glyphs.LineHeight() * fontSize;
    layout.ascent = glyphs.Ascent() * fontSize;
    layout.carets.reserve(text.size() + 1);
    Point at = origin;
    for (wchar_t ch : text) {
        layout.carets.push_back(at);
        if (ch == L'\n') {
            at = {origin.x, at.y + layout.lineHeight};
        } else {
            at.x += glyphs.Glyph(ch).advance * fontSize;
            layout.width = std::max(layout.width, at.x - origin.x);
        }
    }
    layout.carets.push_back(at);
    layout.height = at.y - origin.y + layout.lineHeight;
    return layout;
}

std::size_t CaretIndexAt(const TextLayout& layout, Point p)
{
    const Point origin = layout.carets.front();
    double line = layout.lineHeight > 0 ? std::floor((p.y - origin.y) / layout.lineHeight) : 0;
    double lineTop = origin.y + std::max(0.0, line) * layout.lineHeight;
    double lastTop = layout.carets.back().y;
    lineTop = std::min(lineTop, lastTop);
    std::size_t best = 0;
    double bestDistance = INFINITY;
    for (std::size_t i = 0; i < layout.carets.size(); ++i) {
        if (std::abs(layout.carets[i].y - lineTop) > layout.lineHeight / 2) continue;
        double d = std::abs(layout.carets[i].x - p.x);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

}  // namespace markup
