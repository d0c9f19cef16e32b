// The capture shapes: as the shape dialog lists them (and the setting stores
// them), and as the overlay and the composition draw and cut them. No window
// code, so the rubber band, the composition and the tests share it.
#pragma once

#include <windows.h>

#include <cstdint>

// Shapes in the order of the shape dialog's radio group (stored as CaptureShapeIndex).
enum CaptureShape : int {
    csRectangle = 0,
    csEntireScreen = 1,
    csEllipse = 2,
    csCircle = 3,
    csSquare = 4,
    csRoundedRectangle = 5,
    csWindow = 6,
    kCaptureShapeCount = 7,
};

// The shape as the overlay and the composition use it.
enum ShapeCodes : std::uint8_t {
    scRectangle = 0,
    scCircle = 1,
    scEllipse = 2,
    scSquare = 3,
    scRoundedRectangle = 4,
    scWindow = 5,  // a window's frame, cut as a rectangle
    scEntireScreen = 9,
};

// Circle, ellipse and rounded rectangle: the shapes framed and masked with the
// background colour.
constexpr bool IsRoundShape(std::uint8_t shapeCode) noexcept
{
    return shapeCode == scCircle || shapeCode == scEllipse || shapeCode == scRoundedRectangle;
}

// The square with the smaller extent as its side, hanging from r's first corner
// towards its second.
RECT SquareRect(const RECT& r);

// The area of the frozen desktop a selection cuts: the ordered drag box, the
// square at its top-left for circle and square, the primary screen (where it
// lies in the grab) for the entire screen.
RECT SelectionRect(std::uint8_t shapeCode, POINT selStart, POINT selEnd, const RECT& primary);

// The shape code the overlay uses for a radio selection of the shape dialog:
// the entire screen and no selection (-1) draw a rectangle.
std::uint8_t ShapeCodeForSelection(int itemIndex);
