#include "capture/SelectionOverlay.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "capture/RubberBand.h"
#include "capture/ShapeDialog.h"
#include "capture/WindowList.h"
#include "win/Gdi.h"

POINT SelStart{0, 0};
POINT SelEnd{0, 0};
std::uint8_t ShapeCode = scRectangle;
bool SelectionMade = false;
bool PickMode = false;
COLORREF PickedColor = RGB(255, 255, 255);

namespace {
constexpr wchar_t kImageClass[] = L"TImageForm";
}

RECT SquareRect(const RECT& r)
{
    const LONG a = std::min(std::labs(r.left - r.right), std::labs(r.top - r.bottom));
    RECT out = r;
    out.right = r.left < r.right ? r.left + a : r.left - a;
    out.bottom = r.top < r.bottom ? r.top + a : r.top - a;
    return out;
}

std::uint8_t ShapeCodeForSelection(int itemIndex)
{
    switch (itemIndex) {
    case csEllipse: return scEllipse;
    case csCircle: return scCircle;
    case csSquare: return scSquare;
    case csRoundedRectangle: return scRoundedRectangle;
    case csWindow: return scWindow;
    default: return scRectangle;
    }
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

void TImageForm::FormShow()
{
    pickWindow_ = false;
    if (PickMode) return;
    SelectionMade = false;
    SelStart = {0, 0};
    SelEnd = {0, 0};
    pickWindow_ = ShapeIndex && ShapeCodeForSelection(ShapeIndex()) == scWindow;
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
    ShapeCode = scWindow;
    SelStart = {frame.left, frame.top};
    SelEnd = {frame.right, frame.bottom};
    SelectionMade = true;  // listed frames are never empty
}

bool TImageForm::FormCloseQuery()
{
    if (pickWindow_) {
        OutlineWindow(hotWindow_);
        hotWindow_ = -1;
    }
    // Escape or Alt+F4 in the middle of a drag cancels it: the band goes first.
    if (Drawing) {
        DrawShape(SelStart, SelEnd, R2_NOTXORPEN);
        Drawing = false;
    }
    return true;
}

void TImageForm::DrawShape(POINT p1, POINT p2, int rop2)
{
    DrawBand(Image1.Canvas(), ShapeCode, p1, p2, rop2);
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
    if (PickMode) {
        // A press outside the picture (possible only while the mouse is
        // captured) would read no colour; the previous pick stays then.
        const COLORREF color = Image1.Pixel(x, y);
        if (color != CLR_INVALID) PickedColor = color;
        return;
    }
    if (pickWindow_) {
        HighlightWindowAt({x, y});
        pressedWindow_ = hotWindow_;
        return;
    }
    // A second button pressed during a drag starts over: the first band is
    // inverted away first, so no trace of it can reach the picture.
    if (Drawing) DrawShape(SelStart, SelEnd, R2_NOTXORPEN);
    Drawing = true;
    ShapeCode = ShapeCodeForSelection(ShapeIndex ? ShapeIndex() : 0);
    SelStart = {x, y};
    SelEnd = {x, y};
}

void TImageForm::Image1MouseMove(int x, int y)
{
    if (pickWindow_) HighlightWindowAt({x, y});
    if (!Drawing || PickMode) return;
    DrawShape(SelStart, SelEnd, R2_NOTXORPEN);
    SelEnd = {x, y};
    DrawShape(SelStart, SelEnd, R2_NOTXORPEN);
}

void TImageForm::Image1MouseUp()
{
    if (pickWindow_) TakeHighlightedWindow();
    if (Drawing) {
        // Inverting the last band back leaves the untouched frozen desktop.
        DrawShape(SelStart, SelEnd, R2_NOTXORPEN);
        Drawing = false;
        // A selection needs both sides of at least one pixel; for square and
        // circle the side is the smaller extent, so the same test holds.
        SelectionMade = SelStart.x != SelEnd.x && SelStart.y != SelEnd.y;
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
