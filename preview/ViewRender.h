// The one pass that renders a View of the frozen picture: every pixel of the
// target is read from where the view's map says, so a turned, mirrored and
// cropped picture is built once, straight from the frozen one.
#pragma once

#include <windows.h>

#include "preview/Mark.h"
#include "win/AlphaMask.h"
#include "win/Bitmap.h"

// Fills target (24 bits a pixel, sized to area) with the pixels of area of
// the viewed picture; toFrozen maps a viewed pixel to the frozen one.
void RenderView(const win::Bitmap& frozen, const PointMap& toFrozen, const RECT& area, win::Bitmap& target);

// The same for a see-through mask (empty stays empty).
win::AlphaMask RenderViewMask(const win::AlphaMask& frozen, const PointMap& toFrozen, const RECT& area);

// Paints the pixels of target that mask (aligned with target) says are
// see-through with color.
void PaintSeeThrough(win::Bitmap& target, const win::AlphaMask& mask, COLORREF color) noexcept;

// A copy of area (inside picture) in target, of the picture's depth.
void CopyArea(const win::Bitmap& picture, const RECT& area, win::Bitmap& target);
// Puts tile (of target's depth, inside it) into target with its top-left at at.
void PutArea(const win::Bitmap& tile, win::Bitmap& target, POINT at) noexcept;
void PutArea(const win::AlphaMask& tile, win::AlphaMask& target, POINT at) noexcept;
