#include "capture/Composition.h"

#include <algorithm>
#include <cstdlib>

#include "capture/Shape.h"
#include "capture/ShapeMask.h"
#include "win/Error.h"
#include "win/Gdi.h"

namespace {

constexpr int kFrame = kShapeFrame;
// Rows of the working copy per pass: about half a megabyte on a 4K screen.
constexpr int kBandRows = 32;

// A block transfer that did not happen would leave a wrong picture behind.
void CheckedBitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop)
{
    if (!::BitBlt(dst, x, y, w, h, src, sx, sy, rop)) win::ThrowOutOfResources();
}

}  // namespace

void ComposeCapture(win::Bitmap& desktop, std::uint8_t shapeCode, POINT selStart, POINT selEnd,
                    COLORREF background, const RECT& primary, win::Bitmap& output)
{
    const RECT sel = SelectionRect(shapeCode, selStart, selEnd, primary);
    const int w = std::abs(sel.right - sel.left);
    const int h = std::abs(sel.bottom - sel.top);
    // Built aside and handed over at the end: a failure leaves output as it was.
    win::Bitmap picture;
    picture.SetPixelFormat(desktop.Format());

    if (!IsRoundShape(shapeCode)) {
        picture.SetSize(w, h);
        if (w > 0 && h > 0)
            CheckedBitBlt(picture.Canvas(), 0, 0, w, h, desktop.Canvas(), sel.left, sel.top, SRCCOPY);
    } else {
        picture.SetSize(w + 2 * kFrame, h + 2 * kFrame);
        win::FillSolidRect(picture.Canvas(), {0, 0, w + 2 * kFrame, h + 2 * kFrame}, background);
        if (w > 0 && h > 0) {
            const RECT shape{0, 0, w, h};
            // Inside the frame: the shape in black on the background.
            FillShape(picture.Canvas(), shapeCode, shape, kFrame, kFrame,
                      static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
            // The working copy covers a band of rows at a time: it stays in the
            // cache and costs no second full-size picture. Per band it becomes
            // a mask (black, the white shape moved up to the band), AND keeps
            // the desktop pixels inside the shape, and OR brings them into the
            // black shape while background OR black stays background.
            const int bandRows = std::min(h, kBandRows);
            win::Bitmap work;
            work.SetPixelFormat(desktop.Format());
            work.SetSize(w, bandRows);
            for (int top = 0; top < h; top += bandRows) {
                const int rows = std::min(bandRows, h - top);
                win::FillSolidRect(work.Canvas(), {0, 0, w, rows}, RGB(0, 0, 0));
                FillShape(work.Canvas(), shapeCode, shape, 0, -top,
                          static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
                CheckedBitBlt(work.Canvas(), 0, 0, w, rows, desktop.Canvas(), sel.left, sel.top + top, SRCAND);
                CheckedBitBlt(picture.Canvas(), kFrame, kFrame + top, w, rows, work.Canvas(), 0, 0, SRCPAINT);
            }
        }
    }
    ::GdiFlush();
    output.TakeFrom(picture);
}

void DrawPreview(win::Bitmap& desktop, const RECT& primary, const TSelection& selection, COLORREF background,
                 win::Bitmap& output)
{
    ComposeCapture(desktop, selection.ShapeCode, selection.SelStart, selection.SelEnd, background, primary, output);
}
