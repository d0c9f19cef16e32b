// Draws marks over a picture, anti-aliased by the Anti-Grain Geometry
// rasteriser into the picture's own rows: the same pixels on every system.
// Marks paint in list order; a mark over see-through pixels makes them as
// solid as it covers them, so a shaped capture stays clear outside its shape
// except under marks.
//
// Redrawing a changed area: take the area from AreaToRender (it grows to whole
// redactions that it or their borders touch, since their pixels come from
// that border), copy the
// unmarked picture into it, then RenderMarks over that area only.
#pragma once
#include <vector>

#include "markup/GlyphSource.h"
#include "markup/Mark.h"
#include "markup/Raster.h"

namespace markup {

// The pixels a mark may change (anti-aliased edges included).
PixelRect MarkBounds(const Mark& mark, GlyphSource& glyphs);

// The area to redraw when changed has changed: changed grown until every
// redaction it touches, with the border its pixels come from, lies inside;
// clipped to picture.
PixelRect AreaToRender(const std::vector<Mark>& marks, PixelRect changed, PixelRect picture);

// Paints the marks onto target inside area (which holds the unmarked picture).
void RenderMarks(Raster& target, const std::vector<Mark>& marks, PixelRect area, GlyphSource& glyphs);

}  // namespace markup
