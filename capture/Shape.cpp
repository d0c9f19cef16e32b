#include "capture/Shape.h"

#include <algorithm>
#include <cstdlib>

RECT SquareRect(const RECT& r)
{
    const LONG a = std::min(std::labs(r.left - r.right), std::labs(r.top - r.bottom));
    RECT out = r;
    out.right = r.left < r.right ? r.left + a : r.left - a;
    out.bottom = r.top < r.bottom ? r.top + a : r.top - a;
    return out;
}

RECT SelectionRect(std::uint8_t shapeCode, POINT selStart, POINT selEnd, const RECT& primary)
{
    RECT sel;
    if (shapeCode == scEntireScreen) {
        sel = primary;
    } else {
        sel = {std::min(selStart.x, selEnd.x), std::min(selStart.y, selEnd.y),
               std::max(selStart.x, selEnd.x), std::max(selStart.y, selEnd.y)};
    }
    if (shapeCode == scCircle || shapeCode == scSquare) sel = SquareRect(sel);
    return sel;
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
