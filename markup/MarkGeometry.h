// The shapes a mark fills: closed, flattened contours in picture pixels,
// filled with the non-zero rule, so the overlaps of a stroke count once (a
// highlighter darkens its own crossings no more than a single pass).
#pragma once
#include <vector>

#include "markup/GlyphSource.h"
#include "markup/Mark.h"

namespace markup {

using Contour = std::vector<Point>;
using Outline = std::vector<Contour>;

// The area a stroke of the given width covers along the points: round caps and
// joins for freehand strokes and lines, mitred corners for closed shapes.
Outline StrokeOpen(const std::vector<Point>& points, double width, bool round);
Outline StrokeClosed(const std::vector<Point>& points, double width);

// The smoothed path of a freehand stroke: quadratic curves through the
// midpoints of its points.
std::vector<Point> SmoothedStroke(const std::vector<Point>& points);

// The stroke width of a highlighter mark of the given width, and an arrow's head.
double HighlighterWidth(double width);
double ArrowHeadLength(double width);
double StepRadius(double width);

// Everything the mark paints in its own colour (for Step, the disc).
Outline OutlineOf(const Mark& mark, GlyphSource& glyphs);
// The letters of a Step mark's number, painted over its disc.
Outline StepNumberOutline(const Mark& mark, GlyphSource& glyphs);
// The letters of a text, placed as LayOutText places them.
Outline TextOutline(const std::wstring& text, double fontSize, Point origin, GlyphSource& glyphs);

// The two corners of a box kind as a rectangle (left <= right, top <= bottom).
struct Box {
    double left, top, right, bottom;
};
Box BoxOf(const Point& a, const Point& b);
Box BoundsOf(const std::vector<Point>& points);

}  // namespace markup
