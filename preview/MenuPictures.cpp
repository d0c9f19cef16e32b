#include "preview/MenuPictures.h"

#include <cstdint>

#include "win/Bitmap.h"
#include "win/Dpi.h"
#include "win/Gdi.h"

namespace {

void MakePicture(win::Bitmap& picture, int size, COLORREF color)
{
    picture.SetPixelFormat(win::PixelFormat::Bits32);
    picture.SetSize(size, size);
    win::FillSolidRect(picture.Canvas(), {0, 0, size, size}, color);
}

// GDI leaves the alpha bytes at 0.
void MakeOpaque(HBITMAP bitmap)
{
    ::GdiFlush();
    DIBSECTION dib{};
    if (::GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits) return;
    auto* bits = static_cast<std::uint8_t*>(dib.dsBm.bmBits);
    for (int i = 0; i < dib.dsBm.bmWidth * dib.dsBm.bmHeight; ++i) bits[i * 4 + 3] = 255;
}

}  // namespace

win::UniqueBitmap MenuIconPicture(int iconId, int size)
{
    win::UniqueIcon icon = win::LoadIconResource(iconId, size);
    if (!icon) return {};
    win::Bitmap picture;
    MakePicture(picture, size, ::GetSysColor(COLOR_MENU));
    ::DrawIconEx(picture.Canvas(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
    win::UniqueBitmap bitmap = picture.Detach();
    MakeOpaque(bitmap.get());
    return bitmap;
}

win::UniqueBitmap MenuSwatch(int size, COLORREF color)
{
    win::Bitmap swatch;
    MakePicture(swatch, size, RGB(64, 64, 64));
    win::UniqueBitmap bitmap = swatch.Detach();
    PaintSwatch(bitmap.get(), color);
    return bitmap;
}

void PaintSwatch(HBITMAP swatch, COLORREF color)
{
    BITMAP bm{};
    if (!::GetObjectW(swatch, sizeof bm, &bm)) return;
    {
        win::UniqueMemoryDC dc = win::CreateMemoryDC();
        win::SelectGuard select(dc.get(), swatch);
        win::FillSolidRect(dc.get(), {1, 1, bm.bmWidth - 1, bm.bmHeight - 1}, color);
    }
    MakeOpaque(swatch);
}

void SetMenuItemPicture(HMENU menu, int id, HBITMAP picture)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = picture;
    ::SetMenuItemInfoW(menu, id, FALSE, &info);
}
