#include "win/Gdi.h"

namespace win {

UniqueMemoryDC CreateMemoryDC() { return UniqueMemoryDC(::CreateCompatibleDC(nullptr)); }

UniqueBrush CreateSolidBrushOwned(COLORREF color) { return UniqueBrush(::CreateSolidBrush(color)); }

void FillSolidRect(HDC dc, const RECT& r, COLORREF color)
{
    UniqueBrush brush = CreateSolidBrushOwned(color);
    ::FillRect(dc, &r, brush.get());
}

}  // namespace win
