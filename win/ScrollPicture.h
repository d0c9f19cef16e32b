// A scrolling box that shows a copy of a bitmap, unscaled, at a margin from
// its top-left corner. Scroll bars appear only when the picture does not fit;
// the notifications of other controls placed in the box go up to its parent.
// The margin and the scroll steps are 96-DPI figures, scaled to the box's DPI;
// the picture keeps its own pixels at every DPI.
#pragma once

#include <windows.h>

#include <functional>

#include "win/Bitmap.h"

namespace win {

class ScrollPicture {
public:
    ScrollPicture() = default;
    ScrollPicture(const ScrollPicture&) = delete;
    ScrollPicture& operator=(const ScrollPicture&) = delete;
    // Destroys the box with what it holds: its windows never outlive the object.
    ~ScrollPicture();

    // Creates the box as a child of parent, with the picture control in it,
    // laid out for dpi.
    void Create(HWND parent, int boxId, int pictureId, int margin, UINT dpi);
    // Lays the picture out again for dpi (the parent moved to another scale).
    void SetDpi(UINT dpi);

    HWND Hwnd() const noexcept { return box_; }
    HWND PictureControl() const noexcept { return image_; }
    // The picture as displayed.
    const Bitmap& Picture() const noexcept { return picture_; }

    // Shows a copy of bitmap (later changes of it do not show) from its top-left.
    void Show(const Bitmap& bitmap);
    // Copies only area of bitmap and repaints it, keeping the scroll position;
    // a bitmap of another size is shown whole.
    void Update(const Bitmap& bitmap, const RECT& area);
    // Paints the picture again (what OnPaintOver draws changed).
    void Repaint() const noexcept { ::InvalidateRect(image_, nullptr, FALSE); }
    // The same inside area only (picture pixels).
    void Repaint(const RECT& area) const noexcept { ::InvalidateRect(image_, &area, FALSE); }

    // Mouse messages on the picture (button down, up, double-click, moves
    // and WM_SETCURSOR) with the point in picture pixels; true when used.
    std::function<bool(UINT message, POINT at)> OnMouse;
    // Draws over the picture after each paint, in picture pixels.
    std::function<void(HDC dc)> OnPaintOver;
    // Places the box in its parent and settles the scroll bars for the new view.
    void Move(int x, int y, int width, int height);
    // Scrolls vertically by a mouse wheel's delta (the parent hands its wheel on).
    void Wheel(int delta);

private:
    LRESULT BoxMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT PictureMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintPicture();
    void UpdateScrollRange();
    void ScrollTo(int x, int y);
    void OnScroll(int bar, int request);
    int Margin() const;

    HWND box_ = nullptr;
    HWND image_ = nullptr;
    Bitmap picture_;
    int margin_ = 0;  // at 96 DPI
    UINT dpi_ = 96;
    int scrollX_ = 0;
    int scrollY_ = 0;
    // A picture whose canvas cannot be made (no GDI resources left) is not
    // painted; that is reported once, not on every repaint.
    bool paintFailureReported_ = false;
};

}  // namespace win
