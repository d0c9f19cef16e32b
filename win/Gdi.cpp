#include "win/Gdi.h"

#include "win/Error.h"

namespace win {

UniqueMemoryDC CreateMemoryDC() { return UniqueMemoryDC(::CreateCompatibleDC(nullptr)); }

UniqueBrush CreateSolidBrushOwned(COLORREF color) { return UniqueBrush(::CreateSolidBrush(color)); }

UniqueFont CreateBoldArial(int height)
{
    return UniqueFont(::CreateFontW(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_SWISS, L"Arial"));
}

void FillSolidRect(HDC dc, const RECT& r, COLORREF color)
{
    // Without a brush (GDI exhausted) the area would keep whatever it held:
    // that is reported, never left as wrong pixels.
    UniqueBrush brush = CreateSolidBrushOwned(color);
    if (!brush || !::FillRect(dc, &r, brush.get())) ThrowOutOfResources();
}

}  // namespace win
