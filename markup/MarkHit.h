// Finding marks under the pointer and changing them by their handles: what
// the Select tool needs. Distances are in picture pixels; the caller scales
// its tolerances and handle sizes with the window's DPI.
#pragma once
#include <vector>

#include "markup/GlyphSource.h"
#include "markup/Mark.h"

namespace markup {

// Whether p lies on the mark (within tolerance of its stroke, or inside a text,
// step number or redaction).
bool HitTest(const Mark& mark, Point p, double tolerance, GlyphSource& glyphs);
// The topmost mark at p, or -1.
int MarkAt(const std::vector<Mark>& marks, Point p, double tolerance, GlyphSource& glyphs);

// The handles of a mark: a line's or an arrow's two ends; the eight points
// (corners and edge middles, clockwise from the top-left) of a box kind's or a
// stroke's box; none for text and step numbers, which only move.
std::vector<Point> Handles(const Mark& mark);
// The handle within radius of p, or -1.
int HandleAt(const Mark& mark, Point p, double radius);
// The mark with handle moved to 'to'; constrain keeps a line's angle to
// multiples of 45 degrees and a box square.
Mark DraggedHandle(const Mark& mark, int handle, Point to, bool constrain);

// 'to' moved so that the line from 'from' runs at a multiple of 45 degrees.
Point Constrained45(Point from, Point to);
// 'to' moved so that the box from 'from' is a square.
Point ConstrainedSquare(Point from, Point to);

}  // namespace markup
