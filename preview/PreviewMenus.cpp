#include "preview/PreviewMenus.h"

#include <algorithm>
#include <stdexcept>

#include "preview/MenuPictures.h"
#include "win/Dpi.h"
#include "win/Error.h"

namespace {

constexpr int kPictureSize = 16;  // at 96 DPI

struct MenuTitle {
    PreviewMenu menu;
    const wchar_t* caption;
};
// Left to right. The "Set" menu is named "Settings" as a component.
constexpr MenuTitle kMenus[] = {{PreviewMenu::File, L"File"},
                                {PreviewMenu::Edit, L"Edit"},
                                {PreviewMenu::Markup, L"Markup"},
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

}  // namespace

TPreviewMenus::TPreviewMenus(const std::vector<PreviewCommand>& commands, UINT dpi) : dpi_(dpi)
{
    MakeSwatch();
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
        if (item->place.picture == kSwatchPicture) {
            swatchMenu_ = popup;
            swatchId_ = item->id;
            SetMenuItemPicture(popup, item->id, swatch_.get());
        } else if (item->place.picture != 0) {
            pictures_.push_back({popup, item->id, item->place.picture, win::UniqueBitmap()});
            MakePicture(pictures_.back());
        }
        ++position;
    }
}

void TPreviewMenus::MakePicture(ItemPicture& item)
{
    // At a size the icon holds, so it is never stretched.
    win::UniqueBitmap picture = MenuIconPicture(item.iconId, win::IconSize(kPictureSize, dpi_));
    SetMenuItemPicture(item.popup, item.id, picture.get());
    item.picture = std::move(picture);  // the previous one is no longer shown
}

void TPreviewMenus::MakeSwatch()
{
    // A one-pixel border around a square of the colour.
    win::UniqueBitmap swatch = MenuSwatch(win::Scale(kPictureSize, dpi_), swatchColor_);
    if (swatchMenu_) SetMenuItemPicture(swatchMenu_, swatchId_, swatch.get());
    swatch_ = std::move(swatch);
}

void TPreviewMenus::SetDpi(UINT dpi)
{
    dpi_ = dpi;
    for (ItemPicture& item : pictures_) MakePicture(item);
    MakeSwatch();
}

void TPreviewMenus::SetSwatchColor(COLORREF color)
{
    swatchColor_ = color;
    if (swatch_) PaintSwatch(swatch_.get(), color);
}

std::wstring TPreviewMenus::PopupHint(HMENU menu, UINT item) const
{
    const bool isSet = menu == bar_.get() && ::GetSubMenu(bar_.get(), static_cast<int>(item)) == setMenu_;
    return isSet ? L"About This Program" : L"";
}
