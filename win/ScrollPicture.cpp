#include "win/ScrollPicture.h"

#include <windowsx.h>

#include <algorithm>

#include "win/Dpi.h"
#include "win/Form.h"
#include "win/Gdi.h"

namespace win {

namespace {
constexpr wchar_t kBoxClass[] = L"ScrollPictureBox";
constexpr wchar_t kPictureClass[] = L"ScrollPictureImage";
constexpr int kLineStep = 16;
constexpr int kWheelStep = 40;
}  // namespace

ScrollPicture::~ScrollPicture()
{
    if (!box_) return;
    ::SetWindowLongPtrW(image_, GWLP_USERDATA, 0);
    ::SetWindowLongPtrW(box_, GWLP_USERDATA, 0);
    ::DestroyWindow(box_);
}

void ScrollPicture::Create(HWND parent, int boxId, int pictureId, int margin, UINT dpi)
{
    RegisterFormClass(kBoxClass,
                      AttachedWindowProc<ScrollPicture, &ScrollPicture::box_, &ScrollPicture::BoxMessage>,
                      nullptr, ::GetSysColorBrush(COLOR_BTNFACE), 0);
    RegisterFormClass(kPictureClass,
                      AttachedWindowProc<ScrollPicture, &ScrollPicture::image_, &ScrollPicture::PictureMessage>,
                      nullptr, nullptr, CS_DBLCLKS);
    margin_ = margin;
    dpi_ = dpi;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    ::CreateWindowExW(WS_EX_CONTROLPARENT, kBoxClass, L"",
                      WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN, 0, 0, 100, 100, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(boxId)), instance, this);
    ::CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE, Margin(), Margin(), 0, 0, box_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(pictureId)), instance, this);
}

void ScrollPicture::Show(const Bitmap& bitmap)
{
    picture_.Assign(bitmap);
    ScrollTo(0, 0);
    UpdateScrollRange();
    ::InvalidateRect(image_, nullptr, FALSE);
}

void ScrollPicture::Update(const Bitmap& bitmap, const RECT& area)
{
    if (bitmap.Width() != picture_.Width() || bitmap.Height() != picture_.Height() || picture_.Empty()) {
        Show(bitmap);
        return;
    }
    RECT a{};
    const RECT all{0, 0, bitmap.Width(), bitmap.Height()};
    if (!::IntersectRect(&a, &area, &all)) return;
    ::GdiFlush();
    const int bytes = bitmap.BitsPerPixel() / 8;
    if (bitmap.BitsPerPixel() != picture_.BitsPerPixel()) {
        Show(bitmap);
        return;
    }
    for (int y = a.top; y < a.bottom; ++y)
        std::copy_n(bitmap.Row(y) + static_cast<std::ptrdiff_t>(a.left) * bytes,
                    static_cast<std::size_t>(a.right - a.left) * bytes,
                    picture_.Row(y) + static_cast<std::ptrdiff_t>(a.left) * bytes);
    ::InvalidateRect(image_, &a, FALSE);
}

void ScrollPicture::Move(int x, int y, int width, int height)
{
    ::MoveWindow(box_, x, y, width, height, TRUE);
    UpdateScrollRange();
}

void ScrollPicture::SetDpi(UINT dpi)
{
    dpi_ = dpi;
    UpdateScrollRange();
}

int ScrollPicture::Margin() const { return Scale(margin_, dpi_); }

void ScrollPicture::Wheel(int delta)
{
    ScrollTo(scrollX_, scrollY_ - delta * Scale(kWheelStep, dpi_) / WHEEL_DELTA);
}

void ScrollPicture::UpdateScrollRange()
{
    RECT view;
    ::GetClientRect(box_, &view);
    const int margin = Margin();
    // Showing one scroll bar narrows the view for the other: settle both twice.
    for (int pass = 0; pass < 2; ++pass) {
        SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE, 0, margin + picture_.Width() - 1,
                     static_cast<UINT>(view.right), 0, 0};
        SCROLLINFO v{sizeof v, SIF_RANGE | SIF_PAGE, 0, margin + picture_.Height() - 1,
                     static_cast<UINT>(view.bottom), 0, 0};
        ::SetScrollInfo(box_, SB_HORZ, &h, TRUE);
        ::SetScrollInfo(box_, SB_VERT, &v, TRUE);
        ::GetClientRect(box_, &view);
    }
    const int maxX = std::max(0, margin + picture_.Width() - static_cast<int>(view.right));
    const int maxY = std::max(0, margin + picture_.Height() - static_cast<int>(view.bottom));
    ScrollTo(std::min(scrollX_, maxX), std::min(scrollY_, maxY));
}

void ScrollPicture::ScrollTo(int x, int y)
{
    scrollX_ = std::max(0, x);
    scrollY_ = std::max(0, y);
    ::SetScrollPos(box_, SB_HORZ, scrollX_, TRUE);
    ::SetScrollPos(box_, SB_VERT, scrollY_, TRUE);
    scrollX_ = ::GetScrollPos(box_, SB_HORZ);
    scrollY_ = ::GetScrollPos(box_, SB_VERT);
    const int margin = Margin();
    ::SetWindowPos(image_, nullptr, margin - scrollX_, margin - scrollY_, picture_.Width(), picture_.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(box_, nullptr, TRUE);
}

void ScrollPicture::OnScroll(int bar, int request)
{
    SCROLLINFO info{sizeof info, SIF_ALL};
    ::GetScrollInfo(box_, bar, &info);
    int pos = info.nPos;
    switch (request) {
    case SB_LINEUP: pos -= Scale(kLineStep, dpi_); break;
    case SB_LINEDOWN: pos += Scale(kLineStep, dpi_); break;
    case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
    }
    if (bar == SB_HORZ)
        ScrollTo(pos, scrollY_);
    else
        ScrollTo(scrollX_, pos);
}

LRESULT ScrollPicture::BoxMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        // lParam 0: the box's own scroll bars; a scroll bar control placed
        // in the box reports to the parent.
        if (lParam != 0) break;
        OnScroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        Wheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    default:
        break;
    }
    return ContainerMessage(box_, message, wParam, lParam);
}

LRESULT ScrollPicture::PictureMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PaintPicture();
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    if (OnMouse && ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_SETCURSOR)) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (message == WM_SETCURSOR) {
            ::GetCursorPos(&at);
            ::ScreenToClient(image_, &at);
        }
        if (OnMouse(message, at)) return message == WM_SETCURSOR ? TRUE : 0;
    }
    return ::DefWindowProcW(image_, message, wParam, lParam);
}

void ScrollPicture::PaintPicture()
{
    PaintDC paint(image_);
    try {
        if (!picture_.Empty()) {
            const RECT& r = paint.dirty();
            ::BitBlt(paint.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, picture_.Canvas(), r.left,
                     r.top, SRCCOPY);
        }
        if (OnPaintOver) OnPaintOver(paint.get());
        paintFailureReported_ = false;
    } catch (...) {
        if (!paintFailureReported_) {
            paintFailureReported_ = true;
            ReportCurrentException();
        }
    }
}

}  // namespace win
