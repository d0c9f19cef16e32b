// The rubber band of the selection overlay: the outline of a capture shape,
// drawn so that drawing it a second time removes it again.
#pragma once

#include <windows.h>

#include <cstdint>

// Outlines the shapeCode shape between p1 and p2 (in any order) on dc with the
// black one-pixel pen in pen mode rop2 and a hollow brush. With R2_NOTXORPEN
// every pixel under the pen is inverted, so a second identical call restores
// the picture exactly. Circle and square hang from p1 towards p2; the rounded
// rectangle's corner is a third of the smaller extent. Unknown codes draw nothing.
void DrawBand(HDC dc, std::uint8_t shapeCode, POINT p1, POINT p2, int rop2);
