#include "preview/CropTool.h"

#include <algorithm>

#include "win/Dpi.h"
#include "win/Gdi.h"
#include "win/UniqueHandle.h"

namespace {

constexpr int kHandle = 7;  // handle side at 96 DPI

RECT Normalized(POINT a, POINT b) noexcept
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool Near(LONG value, LONG edge, int reach) noexcept { return value >= edge - reach && value <= edge + reach; }

}  // namespace

void CropTool::Begin(HWND picture, int width, int height, UINT dpi)
{
    picture_ = picture;
    width_ = width;
    height_ = height;
    dpi_ = dpi;
    active_ = width > 0 && height > 0;
    area_ = {};
    dragging_ = 0;
    if (Changed) Changed();
}

void CropTool::Cancel()
{
    if (!active_) return;
    active_ = false;
    dragging_ = 0;
    area_ = {};
    if (::GetCapture() == picture_) ::ReleaseCapture();
    if (Changed) Changed();
}

int CropTool::HandleSize() const noexcept { return win::Scale(kHandle, dpi_); }

unsigned CropTool::HitTest(POINT at) const noexcept
{
    if (::IsRectEmpty(&area_)) return 0;
    const int reach = HandleSize() / 2 + 1;
    const bool inY = at.y >= area_.top - reach && at.y <= area_.bottom + reach;
    const bool inX = at.x >= area_.left - reach && at.x <= area_.right + reach;
    unsigned edges = 0;
    if (inY && Near(at.x, area_.left, reach)) edges |= kLeft;
    if (inY && Near(at.x, area_.right, reach)) edges |= kRight;
    if (inX && Near(at.y, area_.top, reach)) edges |= kTop;
    if (inX && Near(at.y, area_.bottom, reach)) edges |= kBottom;
    if (edges) return edges;
    return ::PtInRect(&area_, at) ? static_cast<unsigned>(kAll) : 0u;
}

void CropTool::Drag(POINT at)
{
    at.x = std::clamp<LONG>(at.x, 0, width_);
    at.y = std::clamp<LONG>(at.y, 0, height_);
    if (dragging_ == kAll) {
        // The whole area moves, and stops at the picture's edges.
        const LONG w = start_.right - start_.left;
        const LONG h = start_.bottom - start_.top;
        const LONG left = std::clamp<LONG>(start_.left + at.x - anchor_.x, 0, width_ - w);
        const LONG top = std::clamp<LONG>(start_.top + at.y - anchor_.y, 0, height_ - h);
        area_ = {left, top, left + w, top + h};
        return;
    }
    POINT a{start_.left, start_.top};
    POINT b{start_.right, start_.bottom};
    if (dragging_ & kLeft) a.x = at.x;
    if (dragging_ & kRight) b.x = at.x;
    if (dragging_ & kTop) a.y = at.y;
    if (dragging_ & kBottom) b.y = at.y;
    area_ = Normalized(a, b);
}

bool CropTool::Mouse(UINT message, POINT at)
{
    if (!active_) return false;
    switch (message) {
    case WM_SETCURSOR: {
        const unsigned edges = dragging_ ? dragging_ : HitTest(at);
        const wchar_t* cursor = IDC_CROSS;
        if (edges == kAll) cursor = IDC_SIZEALL;
        else if (edges == (kLeft | kTop) || edges == (kRight | kBottom)) cursor = IDC_SIZENWSE;
        else if (edges == (kRight | kTop) || edges == (kLeft | kBottom)) cursor = IDC_SIZENESW;
        else if (edges == kLeft || edges == kRight) cursor = IDC_SIZEWE;
        else if (edges == kTop || edges == kBottom) cursor = IDC_SIZENS;
        ::SetCursor(::LoadCursorW(nullptr, cursor));
        return true;
    }
    case WM_LBUTTONDOWN:
        dragging_ = HitTest(at);
        if (!dragging_) {
            // A new area from the pressed point.
            at.x = std::clamp<LONG>(at.x, 0, width_);
            at.y = std::clamp<LONG>(at.y, 0, height_);
            area_ = {at.x, at.y, at.x, at.y};
            dragging_ = kRight | kBottom;
        }
        anchor_ = at;
        start_ = area_;
        ::SetCapture(picture_);
        break;
    case WM_MOUSEMOVE:
        if (!dragging_) return true;
        Drag(at);
        break;
    case WM_LBUTTONUP:
        if (!dragging_) return true;
        Drag(at);
        dragging_ = 0;
        if (::GetCapture() == picture_) ::ReleaseCapture();
        break;
    case WM_LBUTTONDBLCLK:
        Finish();
        return true;
    default:
        return true;  // the picture takes no other clicks while cropping
    }
    if (Changed) Changed();
    return true;
}

bool CropTool::Finish()
{
    if (::IsRectEmpty(&area_) || !Apply || !Apply(area_)) return false;
    Cancel();
    return true;
}

bool CropTool::Key(WPARAM key)
{
    if (!active_) return false;
    if (key == VK_RETURN) {
        Finish();
        return true;
    }
    if (key == VK_ESCAPE) {
        Cancel();
        return true;
    }
    return false;
}

void CropTool::Draw(HDC dc) const
{
    if (!active_ || ::IsRectEmpty(&area_)) return;
    // A black dotted line over a white one shows on any picture.
    win::UniquePen white(::CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    win::UniquePen dotted(::CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    {
        win::SelectGuard brush(dc, ::GetStockObject(NULL_BRUSH));
        win::SelectGuard pen(dc, white.get());
        ::Rectangle(dc, area_.left, area_.top, area_.right, area_.bottom);
        win::SelectGuard dots(dc, dotted.get());
        ::Rectangle(dc, area_.left, area_.top, area_.right, area_.bottom);
    }
    // Handles at the corners and the middles of the edges.
    win::SelectGuard pen(dc, ::GetStockObject(BLACK_PEN));
    win::SelectGuard brush(dc, ::GetStockObject(WHITE_BRUSH));
    const int half = HandleSize() / 2;
    const LONG xs[] = {area_.left, (area_.left + area_.right) / 2, area_.right - 1};
    const LONG ys[] = {area_.top, (area_.top + area_.bottom) / 2, area_.bottom - 1};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != 1 || j != 1)
                ::Rectangle(dc, xs[i] - half, ys[j] - half, xs[i] + half + 1, ys[j] + half + 1);
    ::SetBkMode(dc, oldMode);
}
