// Makes an area unreadable for good. Its new pixels are computed from nothing
// inside it: Fill paints the mark's colour; Pixelate paints blocks whose
// colours blend the pixels on the border just outside the area. Two pictures
// that differ only inside the area therefore give the same pixels there,
// and nothing of what any redaction hides reaches another one.
#pragma once
#include <vector>

#include "markup/Mark.h"
#include "markup/Raster.h"

namespace markup {

// The pixels a redaction covers: every pixel its box touches.
PixelRect RedactionArea(const Mark& mark);
// Its block size in pixels, from the mark's width.
int RedactionBlock(double width);

// Redacts the mark's area on target, writing only inside clip. Border pixels
// inside hidden (the areas of every redaction) are never read.
void Redact(Raster& target, const Mark& mark, PixelRect clip, const std::vector<PixelRect>& hidden);

}  // namespace markup
