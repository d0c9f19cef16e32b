// The see-through part of a composed picture: for circle, ellipse and rounded
// rectangle, everything outside the shape (the 10-pixel frame included) is
// transparent. The mask is drawn with the very calls the composition uses for
// its own mask, so it covers exactly the pixels that were cut from the desktop.
#pragma once

#include <windows.h>

#include <cstdint>

#include "capture/Selection.h"
#include "win/AlphaMask.h"
#include "win/Bitmap.h"

// The frame of background colour around the round shapes.
constexpr int kShapeFrame = 10;

// Fills the shape S of the composition (ellipse in r, or the rounded rectangle
// r with corners of half its width and height) with brush, no outline, moved
// by (dx, dy) pixels.
void FillShape(HDC dc, std::uint8_t shapeCode, const RECT& r, int dx, int dy, HBRUSH brush);

// The mask of a composition of sel (see SelectionRect) drawn on bitmaps of
// format: opaque inside the shape, transparent outside and in the frame. Empty
// for the shapes that are plain cuts (the whole picture is opaque).
win::AlphaMask ComposeShapeMask(std::uint8_t shapeCode, const RECT& sel, win::PixelFormat format);

// The mask of selection cut from a frozen desktop, as DrawPreview composes it.
win::AlphaMask SelectionMask(const win::Bitmap& desktop, const RECT& primary, const TSelection& selection);
