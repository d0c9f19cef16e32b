#include "preview/MenuPictures.h"

#include "win/Bitmap.h"
#include "win/Dpi.h"
#include "win/Gdi.h"

namespace {

// A size x size picture: 32 bits, filled with color.
win::UniqueBitmap NewPicture(int size, COLORREF color)
{
    win::Bitmap picture;
    picture.SetPixelFormat(win::PixelFormat::Bits32);
    picture.SetSize(size, size);
    win::FillSolidRect(picture.Canvas(), {0, 0, size, size}, color);
    return picture.Detach();
}

}  // namespace

win::UniqueBitmap MenuIconPicture(int iconId, int size)
{
    win::UniqueIcon icon = win::LoadIconResource(iconId, size);
    if (!icon) return {};
    win::UniqueBitmap picture = NewPicture(size, ::GetSysColor(COLOR_MENU));
    {
        win::UniqueMemoryDC dc = win::CreateMemoryDC();
        win::SelectGuard select(dc.get(), picture.get());
        ::DrawIconEx(dc.get(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
    }
    win::MakeOpaque(picture.get());
    return picture;
}

win::UniqueBitmap MenuSwatch(int size, COLORREF color)
{
    win::UniqueBitmap swatch = NewPicture(size, RGB(64, 64, 64));
    PaintSwatch(swatch.get(), color);
    return swatch;
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
    win::MakeOpaque(swatch);
}

void SetMenuItemPicture(HMENU menu, int id, HBITMAP picture)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = picture;
    ::SetMenuItemInfoW(menu, static_cast<UINT>(id), FALSE, &info);
}
