// The preview's menu bar, built from the commands' places: "File", "Edit",
// "Programs", "Set" and "Help", most items with a 16 x 16 picture, and the
// background-colour item with the colour swatch.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "preview/PreviewPlace.h"
#include "win/UniqueHandle.h"

class TPreviewMenus {
public:
    // Builds the menus of every command placed in one; throws
    // std::logic_error when two commands take the same position.
    explicit TPreviewMenus(const std::vector<PreviewCommand>& commands);

    HMENU Bar() const noexcept { return bar_.get(); }
    // The 16 x 16 picture of the background-colour item.
    HBITMAP Swatch() const noexcept { return swatch_.get(); }
    // Fills the swatch from (1, 1) to (15, 15) with color; its border stays.
    void SetSwatchColor(COLORREF color);
    // The hint of a menu of the bar (item is its position): only "Set" has one.
    std::wstring PopupHint(HMENU menu, UINT item) const;

private:
    void AddItems(HMENU popup, PreviewMenu menu, const std::vector<PreviewCommand>& commands);
    void SetItemPicture(HMENU popup, int id, int picture);
    HBITMAP MenuPicture(int iconId);

    // Declared before the bar: the items' pictures outlive the menus.
    std::vector<win::UniqueBitmap> pictures_;
    win::UniqueBitmap swatch_;
    win::UniqueMenu bar_;
    HMENU setMenu_ = nullptr;  // owned by the bar
};
