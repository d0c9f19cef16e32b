// Quarter turns and mirrors of pixel rows, free of any window code so the same
// kernels run in the program, in the tests and in a native benchmark.
#pragma once

#include "gif/PixelRows.h"

// A quarter turn of 24-bit pixels; dst is src.height wide and src.width high.
// Clockwise: source (x, y) goes to column H - 1 - y of row x; otherwise to
// column y of row W - 1 - x.
void RotateRows24(const gif::PixelRows& src, const gif::MutablePixelRows& dst, bool clockwise) noexcept;

// Copies src (24 or 32 bits per pixel) into the 24-bit dst of the same size,
// reversing the order of the pixels in each row (horizontal) and/or the order
// of the rows (vertical).
void FlipRows(const gif::PixelRows& src, const gif::MutablePixelRows& dst, bool vertical, bool horizontal) noexcept;
