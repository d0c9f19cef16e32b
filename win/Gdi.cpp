#include "win/Gdi.h"

#include <cstddef>
#include <cstdlib>
#include <cstdint>

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

void MakeOpaque(HBITMAP dibSection)
{
    ::GdiFlush();
    DIBSECTION dib{};
    if (::GetObjectW(dibSection, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits) return;
    const BITMAP& bm = dib.dsBm;
    if (bm.bmBitsPixel != 32) return;
    auto* bits = static_cast<std::uint8_t*>(bm.bmBits);
    for (LONG y = 0; y < std::abs(bm.bmHeight); ++y) {
        std::uint8_t* row = bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(bm.bmWidthBytes);
        for (LONG x = 0; x < bm.bmWidth; ++x) row[x * 4 + 3] = 255;
    }
}

}  // namespace win
