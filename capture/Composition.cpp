#include "capture/Composition.h"

#include <algorithm>
#include <cstdlib>

#include "app/AppSettings.h"
#include "app/Unit1.h"
#include "capture/ImageUnit.h"
#include "win/Gdi.h"

namespace {

constexpr int kFrame = 10;

bool IsRoundShape(std::uint8_t shapeCode)
{
    return shapeCode == scCircle || shapeCode == scEllipse || shapeCode == scRoundedRectangle;
}

// Fills the shape S of the composition (ellipse in r, or the rounded rectangle
// r with corners of half its width and height) with brush, no outline.
void FillShape(HDC dc, std::uint8_t shapeCode, const RECT& r, HBRUSH brush)
{
    win::SelectGuard pen(dc, ::GetStockObject(NULL_PEN));
    win::SelectGuard fill(dc, brush);
    // The mask and the black shape use the same call, so they cover exactly
    // the same pixels whatever GDI does at the right and bottom edge.
    if (shapeCode == scRoundedRectangle)
        ::RoundRect(dc, r.left, r.top, r.right, r.bottom, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
    else
        ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace

RECT SelectionRect(std::uint8_t shapeCode, POINT selStart, POINT selEnd, int screenWidth,
                   int screenHeight)
{
    RECT sel;
    if (shapeCode == scEntireScreen) {
        sel = {0, 0, screenWidth, screenHeight};
    } else {
        sel = {std::min(selStart.x, selEnd.x), std::min(selStart.y, selEnd.y),
               std::max(selStart.x, selEnd.x), std::max(selStart.y, selEnd.y)};
    }
    if (shapeCode == scCircle || shapeCode == scSquare) sel = SquareRect(sel);
    return sel;
}

void ComposeCapture(const win::Bitmap& desktop, std::uint8_t shapeCode, POINT selStart, POINT selEnd,
                    COLORREF background, int screenWidth, int screenHeight, win::Bitmap& output)
{
    const RECT sel = SelectionRect(shapeCode, selStart, selEnd, screenWidth, screenHeight);
    const int w = std::abs(sel.right - sel.left);
    const int h = std::abs(sel.bottom - sel.top);
    output.SetSize(w, h);
    const RECT r{0, 0, w, h};
    if (w > 0 && h > 0)
        ::BitBlt(output.Canvas(), 0, 0, w, h, const_cast<win::Bitmap&>(desktop).Canvas(), sel.left,
                 sel.top, SRCCOPY);

    if (IsRoundShape(shapeCode)) {
        win::Bitmap work;
        work.Assign(output);
        if (w > 0 && h > 0) {
            // Mask: white inside the shape, black outside; AND keeps the
            // captured pixels inside only.
            win::FillSolidRect(work.Canvas(), r, RGB(0, 0, 0));
            FillShape(work.Canvas(), shapeCode, r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            ::BitBlt(work.Canvas(), 0, 0, w, h, output.Canvas(), 0, 0, SRCAND);
            // The picture: background outside, black inside; OR brings the
            // captured pixels back in.
            win::FillSolidRect(output.Canvas(), r, background);
            FillShape(output.Canvas(), shapeCode, r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
            ::BitBlt(output.Canvas(), 0, 0, w, h, work.Canvas(), 0, 0, SRCPAINT);
            work.Assign(output);
        }
        output.SetSize(w + 2 * kFrame, h + 2 * kFrame);
        win::FillSolidRect(output.Canvas(), {0, 0, w + 2 * kFrame, h + 2 * kFrame}, background);
        if (w > 0 && h > 0)
            ::BitBlt(output.Canvas(), kFrame, kFrame, w, h, work.Canvas(), 0, 0, SRCCOPY);
    }
    ::GdiFlush();
}

void TForm1::DrawPreview()
{
    ComposeCapture(ImageForm->Image1, ShapeCode, SelStart, SelEnd,
                   static_cast<COLORREF>(AppSettings.BackgroundColor),
                   ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), *OutputImage);
    WriteLogoOnImage(*OutputImage);
}
