#include "capture/RubberBand.h"

#include <cstdlib>

#include "capture/Shape.h"
#include "win/Gdi.h"

void DrawBand(HDC dc, std::uint8_t shapeCode, POINT p1, POINT p2, int rop2)
{
    win::SavedDCState state(dc);  // puts the pen mode back
    win::SelectGuard pen(dc, ::GetStockObject(BLACK_PEN));
    win::SelectGuard brush(dc, ::GetStockObject(NULL_BRUSH));
    ::SetROP2(dc, rop2);
    const RECT box{p1.x, p1.y, p2.x, p2.y};
    switch (shapeCode) {
    case scRectangle:
        ::Rectangle(dc, box.left, box.top, box.right, box.bottom);
        break;
    case scCircle: {
        const RECT sq = SquareRect(box);
        ::Ellipse(dc, sq.left, sq.top, sq.right, sq.bottom);
        break;
    }
    case scEllipse:
        ::Ellipse(dc, box.left, box.top, box.right, box.bottom);
        break;
    case scSquare: {
        const RECT sq = SquareRect(box);
        ::Rectangle(dc, sq.left, sq.top, sq.right, sq.bottom);
        break;
    }
    case scRoundedRectangle: {
        const RECT sq = SquareRect(box);
        const int corner = std::abs(sq.right - sq.left) / 3;
        ::RoundRect(dc, box.left, box.top, box.right, box.bottom, corner, corner);
        break;
    }
    default:
        break;
    }
    ::GdiFlush();
}
