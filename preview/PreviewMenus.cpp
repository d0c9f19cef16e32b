#include "preview/PreviewMenus.h"

#include <algorithm>
#include <stdexcept>

#include "win/Bitmap.h"
#include "win/Error.h"
#include "win/Gdi.h"

namespace {

constexpr int kPictureSize = 16;

struct MenuTitle {
    PreviewMenu menu;
    const wchar_t* caption;
};
// Left to right. The "Set" menu is named "Settings" as a component.
constexpr MenuTitle kMenus[] = {{PreviewMenu::File, L"File"},
                                {PreviewMenu::Edit, L"Edit"},
                                {PreviewMenu::Programs, L"Programs"},
                                {PreviewMenu::Set, L"Set"},
                                {PreviewMenu::Help, L"Help"}};

// The commands of one menu, by position.
std::vector<const PreviewCommand*> ItemsOf(PreviewMenu menu, const std::vector<PreviewCommand>& commands)
{
    std::vector<const PreviewCommand*> items;
    for (const PreviewCommand& c : commands)
        if (c.place.menu == menu && c.place.item >= 0) items.push_back(&c);
    std::sort(items.begin(), items.end(),
              [](const PreviewCommand* a, const PreviewCommand* b) { return a->place.item < b->place.item; });
    for (size_t i = 1; i < items.size(); ++i)
        if (items[i]->place.item == items[i - 1]->place.item)
            throw std::logic_error("two preview menu items in one position");
    return items;
}

// A 16 x 16 picture for a menu item: 32 bits, opaque, filled with color.
win::UniqueBitmap NewPicture(COLORREF color)
{
    win::Bitmap picture;
    picture.SetPixelFormat(win::PixelFormat::Bits32);
    picture.SetSize(kPictureSize, kPictureSize);
    win::FillSolidRect(picture.Canvas(), {0, 0, kPictureSize, kPictureSize}, color);
    return picture.Detach();
}

}  // namespace

TPreviewMenus::TPreviewMenus(const std::vector<PreviewCommand>& commands)
{
    // The swatch: a one-pixel border around a 14 x 14 square of the colour.
    swatch_ = NewPicture(RGB(64, 64, 64));
    win::MakeOpaque(swatch_.get());
    bar_.reset(::CreateMenu());
    if (!bar_) win::ThrowLastError();
    for (const MenuTitle& title : kMenus) {
        win::UniqueMenu popup(::CreatePopupMenu());
        if (!popup || !::AppendMenuW(bar_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), title.caption))
            win::ThrowLastError();
        HMENU menu = popup.release();
        if (title.menu == PreviewMenu::Set) setMenu_ = menu;
        AddItems(menu, title.menu, commands);
    }
}

void TPreviewMenus::AddItems(HMENU popup, PreviewMenu menu, const std::vector<PreviewCommand>& commands)
{
    int position = 0;
    for (const PreviewCommand* item : ItemsOf(menu, commands)) {
        for (; position < item->place.item; ++position) ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item->id), item->MenuCaption().c_str());
        SetItemPicture(popup, item->id, item->place.picture);
        ++position;
    }
}

void TPreviewMenus::SetItemPicture(HMENU popup, int id, int picture)
{
    if (picture == 0) return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = picture == kSwatchPicture ? swatch_.get() : MenuPicture(picture);
    ::SetMenuItemInfoW(popup, static_cast<UINT>(id), FALSE, &info);
}

HBITMAP TPreviewMenus::MenuPicture(int iconId)
{
    win::UniqueIcon icon(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId),
                                                         IMAGE_ICON, kPictureSize, kPictureSize, LR_DEFAULTCOLOR)));
    if (!icon) return nullptr;
    win::UniqueBitmap picture = NewPicture(::GetSysColor(COLOR_MENU));
    {
        win::UniqueMemoryDC dc = win::CreateMemoryDC();
        win::SelectGuard select(dc.get(), picture.get());
        ::DrawIconEx(dc.get(), 0, 0, icon.get(), kPictureSize, kPictureSize, 0, nullptr, DI_NORMAL);
    }
    // Opaque: the menu must not treat the picture as transparent.
    win::MakeOpaque(picture.get());
    pictures_.push_back(std::move(picture));
    return pictures_.back().get();
}

void TPreviewMenus::SetSwatchColor(COLORREF color)
{
    {
        win::UniqueMemoryDC dc = win::CreateMemoryDC();
        win::SelectGuard select(dc.get(), swatch_.get());
        win::FillSolidRect(dc.get(), {1, 1, kPictureSize - 1, kPictureSize - 1}, color);
    }
    win::MakeOpaque(swatch_.get());
}

std::wstring TPreviewMenus::PopupHint(HMENU menu, UINT item) const
{
    const bool isSet = menu == bar_.get() && ::GetSubMenu(bar_.get(), static_cast<int>(item)) == setMenu_;
    return isSet ? L"About This Program" : L"";
}
