// Cutting a selection out of the frozen desktop, and masking and framing the
// rounded shapes with the background colour.
#pragma once

#include <windows.h>

#include <cstdint>

#include "capture/Selection.h"
#include "win/Bitmap.h"

// Composes output from desktop: the cut, then for circle, ellipse and rounded
// rectangle the shape on a background-coloured 10-pixel frame. The result has
// the desktop's pixel format; output is replaced only when all of it is done.
void ComposeCapture(win::Bitmap& desktop, std::uint8_t shapeCode, POINT selStart, POINT selEnd,
                    COLORREF background, const RECT& primary, win::Bitmap& output);

// Composes output from a frozen desktop (with its primary screen at primary)
// and a selection made on it.
void DrawPreview(win::Bitmap& desktop, const RECT& primary, const TSelection& selection, COLORREF background,
                 win::Bitmap& output);
