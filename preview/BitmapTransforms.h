// Quarter turns and mirrors of whole pictures.
#pragma once

#include <memory>

#include "win/Bitmap.h"

// A new 24-bit picture of the source's size: the source (24 or 32 bits per
// pixel) mirrored top to bottom when vertical, left to right when horizontal.
std::unique_ptr<win::Bitmap> FlipBitmap(bool vertical, bool horizontal, win::Bitmap& source);

// The source turned a quarter clockwise (angle 90) or counter-clockwise (-90)
// as a new 24-bit picture. A source that is not 24 bits per pixel, or any other
// angle, gives no new picture (nullptr): the source stays what it is. The
// source is never consumed, so a failure leaves the caller's picture intact.
std::unique_ptr<win::Bitmap> RotateBitmap(int angle, win::Bitmap& source);
