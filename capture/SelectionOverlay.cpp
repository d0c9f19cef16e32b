#include "capture/SelectionOverlay.h"

#include <windowsx.h>

#include <algorithm>

#include "capture/RubberBand.h"
#include "capture/WindowList.h"
#include "win/Gdi.h"

namespace {
constexpr wchar_t kImageClass[] = L"TImageForm";
}

TImageForm::TImageForm()
{
    win::RegisterFormClass(kImageClass, WindowProc, nullptr, nullptr, 0);
    CreateFormWindow(kImageClass, L"", WS_POPUP, 0, 1, 1);
}

void TImageForm::SetDesktopBounds(const RECT& bounds)
{
    ::SetWindowPos(Hwnd(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                   bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TImageForm::BeginShowing(bool pickMode)
{
    selection_ = TSelection{};
    selection_.PickMode = pickMode;
    Drawing = false;
    pickWindow_ = !pickMode && ShapeIndex && ShapeCodeForSelection(ShapeIndex()) == scWindow;
    hotWindow_ = pressedWindow_ = -1;
    POINT mouse;
    if (pickWindow_ && ::GetCursorPos(&mouse) && ::ScreenToClient(Hwnd(), &mouse)) HighlightWindowAt(mouse);
}

void TImageForm::OutlineWindow(int index)
{
    if (index < 0 || index >= static_cast<int>(Windows.size())) return;
    // Three nested one-pixel outlines: easy to see, and inverted away alike.
    RECT r = Windows[static_cast<size_t>(index)];
    for (int i = 0; i < 3; ++i) {
        DrawBand(Image1.Canvas(), scRectangle, {r.left, r.top}, {r.right, r.bottom}, R2_NOTXORPEN);
        ::InflateRect(&r, -1, -1);
    }
    const RECT& frame = Windows[static_cast<size_t>(index)];
    InvalidateShape({frame.left, frame.top}, {frame.right, frame.bottom});
}

void TImageForm::HighlightWindowAt(POINT p)
{
    const int index = FrameAt(Windows, p);
    if (index == hotWindow_) return;
    OutlineWindow(hotWindow_);
    hotWindow_ = index;
    OutlineWindow(hotWindow_);
}

void TImageForm::TakeHighlightedWindow()
{
    OutlineWindow(hotWindow_);
    hotWindow_ = -1;
    if (pressedWindow_ < 0 || pressedWindow_ >= static_cast<int>(Windows.size())) return;
    const RECT& frame = Windows[static_cast<size_t>(pressedWindow_)];
    selection_.ShapeCode = scWindow;
    selection_.SelStart = {frame.left, frame.top};
    selection_.SelEnd = {frame.right, frame.bottom};
    selection_.SelectionMade = true;  // listed frames are never empty
}

TSelection TImageForm::SelectArea()
{
    BeginShowing(false);
    ShowModal();
    return selection_;
}

std::optional<COLORREF> TImageForm::PickColor()
{
    BeginShowing(true);
    ShowModal();
    return selection_.PickedColor;
}

bool TImageForm::FormCloseQuery()
{
    if (pickWindow_) {
        OutlineWindow(hotWindow_);
        hotWindow_ = -1;
    }
    // Escape or Alt+F4 in the middle of a drag cancels it: the band goes first.
    if (Drawing) {
        DrawShape(selection_.SelStart, selection_.SelEnd, R2_NOTXORPEN);
        Drawing = false;
    }
    return true;
}

void TImageForm::DrawShape(POINT p1, POINT p2, int rop2)
{
    DrawBand(Image1.Canvas(), selection_.ShapeCode, p1, p2, rop2);
    InvalidateShape(p1, p2);
}

void TImageForm::InvalidateShape(POINT p1, POINT p2)
{
    RECT r{std::min(p1.x, p2.x) - 2, std::min(p1.y, p2.y) - 2, std::max(p1.x, p2.x) + 2,
           std::max(p1.y, p2.y) + 2};
    ::InvalidateRect(Hwnd(), &r, FALSE);
}

void TImageForm::Image1MouseDown(int x, int y)
{
    TSelection& s = selection_;
    if (s.PickMode) {
        // A press outside the picture (possible only while the mouse is
        // captured) reads no colour; an earlier press's colour stays then.
        const COLORREF color = Image1.Pixel(x, y);
        if (color != CLR_INVALID) s.PickedColor = color;
        return;
    }
    if (pickWindow_) {
        HighlightWindowAt({x, y});
        pressedWindow_ = hotWindow_;
        return;
    }
    // A second button pressed during a drag starts over: the first band is
    // inverted away first, so no trace of it can reach the picture.
    if (Drawing) DrawShape(s.SelStart, s.SelEnd, R2_NOTXORPEN);
    Drawing = true;
    s.ShapeCode = ShapeCodeForSelection(ShapeIndex ? ShapeIndex() : 0);
    s.SelStart = {x, y};
    s.SelEnd = {x, y};
}

void TImageForm::Image1MouseMove(int x, int y)
{
    TSelection& s = selection_;
    if (pickWindow_) HighlightWindowAt({x, y});
    if (!Drawing || s.PickMode) return;
    DrawShape(s.SelStart, s.SelEnd, R2_NOTXORPEN);
    s.SelEnd = {x, y};
    DrawShape(s.SelStart, s.SelEnd, R2_NOTXORPEN);
}

void TImageForm::Image1MouseUp()
{
    TSelection& s = selection_;
    if (pickWindow_) TakeHighlightedWindow();
    if (Drawing) {
        // Inverting the last band back leaves the untouched frozen desktop.
        DrawShape(s.SelStart, s.SelEnd, R2_NOTXORPEN);
        Drawing = false;
        // A selection needs both sides of at least one pixel; for square and
        // circle the side is the smaller extent, so the same test holds.
        s.SelectionMade = s.SelStart.x != s.SelEnd.x && s.SelStart.y != s.SelEnd.y;
    }
    if (Showing()) Close();
}

LRESULT TImageForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        win::PaintDC paint(Hwnd());
        const RECT& r = paint.dirty();
        ::BitBlt(paint.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, Image1.Canvas(),
                 r.left, r.top, SRCCOPY);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_DPICHANGED:
        // The overlay covers the desktop in physical pixels on every monitor,
        // whatever their scales: it keeps its rectangle.
        return 0;
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        ::SetCapture(Hwnd());
        Image1MouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        Image1MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) ::ReleaseCapture();
        Image1MouseUp();
        return 0;
    default:
        return Form::HandleMessage(message, wParam, lParam);
    }
}
