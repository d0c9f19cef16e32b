#include "capture/ShapeMask.h"

#include <algorithm>
#include <cstdlib>

#include "capture/Shape.h"
#include "win/Gdi.h"

namespace {

// Rows drawn per pass, as in the composition: a band stays small.
constexpr int kBandRows = 32;

}  // namespace

void FillShape(HDC dc, std::uint8_t shapeCode, const RECT& r, int dx, int dy, HBRUSH brush)
{
    win::SelectGuard pen(dc, ::GetStockObject(NULL_PEN));
    win::SelectGuard fill(dc, brush);
    // The mask and the black shape use the same call on the same box, moved by
    // the viewport origin only, so they cover exactly the same pixels whatever
    // GDI does at the right and bottom edge.
    POINT previousOrigin{};
    ::SetViewportOrgEx(dc, dx, dy, &previousOrigin);
    if (shapeCode == scRoundedRectangle)
        ::RoundRect(dc, r.left, r.top, r.right, r.bottom, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
    else
        ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
    ::SetViewportOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
}

win::AlphaMask ComposeShapeMask(std::uint8_t shapeCode, const RECT& sel, win::PixelFormat format)
{
    if (!IsRoundShape(shapeCode)) return {};
    const int w = std::abs(sel.right - sel.left);
    const int h = std::abs(sel.bottom - sel.top);
    win::AlphaMask mask(w + 2 * kShapeFrame, h + 2 * kShapeFrame);
    if (w == 0 || h == 0) return mask;

    // The same band bitmap, fills and offsets as the composition's working
    // copy: white inside the shape, black outside.
    const RECT shape{0, 0, w, h};
    const int bandRows = std::min(h, kBandRows);
    win::Bitmap work;
    work.SetPixelFormat(format);
    work.SetSize(w, bandRows);
    const int bytesPerPixel = work.BitsPerPixel() / 8;
    for (int top = 0; top < h; top += bandRows) {
        const int rows = std::min(bandRows, h - top);
        win::FillSolidRect(work.Canvas(), {0, 0, w, rows}, RGB(0, 0, 0));
        FillShape(work.Canvas(), shapeCode, shape, 0, -top, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::GdiFlush();
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* src = work.Row(y);
            std::uint8_t* dst = mask.Row(kShapeFrame + top + y) + kShapeFrame;
            for (int x = 0; x < w; ++x)
                dst[x] = src[x * bytesPerPixel] ? win::AlphaMask::kOpaque : win::AlphaMask::kTransparent;
        }
    }
    return mask;
}

win::AlphaMask SelectionMask(const win::Bitmap& desktop, const RECT& primary, const TSelection& selection)
{
    const RECT sel = SelectionRect(selection.ShapeCode, selection.SelStart, selection.SelEnd, primary);
    return ComposeShapeMask(selection.ShapeCode, sel, desktop.Format());
}
