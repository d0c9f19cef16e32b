// The selection overlay: a borderless window over the whole desktop showing
// the frozen desktop, on which the user drags out the capture area (or, in
// pick mode, presses on the pixel whose colour is wanted).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "capture/DesktopGeometry.h"
#include "win/Bitmap.h"
#include "win/Form.h"

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

extern POINT SelStart;
extern POINT SelEnd;
extern std::uint8_t ShapeCode;
extern bool SelectionMade;
extern bool PickMode;
extern COLORREF PickedColor;

// Circle, ellipse and rounded rectangle: the shapes framed and masked with the
// background colour.
constexpr bool IsRoundShape(std::uint8_t shapeCode) noexcept
{
    return shapeCode == scCircle || shapeCode == scEllipse || shapeCode == scRoundedRectangle;
}

// The square with the smaller extent as its side, hanging from r's first corner
// towards its second.
RECT SquareRect(const RECT& r);

// The shape code the overlay uses for a radio selection of the shape dialog.
std::uint8_t ShapeCodeForSelection(int itemIndex);

class TImageForm : public win::Form {
public:
    TImageForm();

    // Places the overlay over the whole virtual desktop.
    void SetDesktopBounds(const RECT& bounds);

    // The frozen desktop, at pixel scale from the window's top-left, and
    // where its monitors lie.
    win::Bitmap Image1;
    DesktopLayout Layout;
    // The other programs' windows at the grab, front to back, in grab
    // coordinates: what the "Window" shape can take.
    std::vector<RECT> Windows;
    // The shape dialog's current radio selection, read at each press.
    std::function<int()> ShapeIndex;
    bool Drawing = false;

    void Image1MouseDown(int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp();
    // Outlines the ShapeCode shape between p1 and p2 on Image1 in pen mode rop2.
    void DrawShape(POINT p1, POINT p2, int rop2);

protected:
    void FormShow() override;
    bool FormCloseQuery() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void InvalidateShape(POINT p1, POINT p2);
    // The "Window" shape: the window under the mouse is outlined, a click
    // takes it. The outline is inverted away before the overlay closes.
    void HighlightWindowAt(POINT p);
    void OutlineWindow(int index);
    void TakeHighlightedWindow();

    bool pickWindow_ = false;
    int hotWindow_ = -1;
    int pressedWindow_ = -1;
};
