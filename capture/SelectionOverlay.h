// The selection overlay: a borderless window over the whole desktop showing
// the frozen desktop, on which the user drags out the capture area (or, in
// pick mode, presses on the pixel whose colour is wanted). Each showing
// starts a fresh TSelection and hands it back when the overlay closes.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "capture/DesktopGeometry.h"
#include "capture/Selection.h"
#include "win/Bitmap.h"
#include "win/Form.h"

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

    // Shows the overlay modally for a drag; the selection as it closed
    // (SelectionMade is false when the user only clicked).
    TSelection SelectArea();
    // Shows the overlay modally for picking; the colour under the press, none
    // when it closed without one.
    std::optional<COLORREF> PickColor();

    // The values of the showing under way (or of the last one); the mouse
    // handlers write them.
    const TSelection& Selection() const noexcept { return selection_; }
    // Starts a showing's values afresh: a selection, or a pick.
    void BeginShowing(bool pickMode);

    void Image1MouseDown(int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp();
    // Outlines the current shape between p1 and p2 on Image1 in pen mode rop2.
    void DrawShape(POINT p1, POINT p2, int rop2);

protected:
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

    TSelection selection_;
};
