// The preview's menu bar, built from the commands' places: "File", "Edit",
// "Programs", "Set" and "Help", most items with a picture (16 x 16 at 96 DPI),
// and the background-colour item with the colour swatch.
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
    // The pictures are made for dpi.
    TPreviewMenus(const std::vector<PreviewCommand>& commands, UINT dpi);

    HMENU Bar() const noexcept { return bar_.get(); }
    // The picture of the background-colour item, 16 x 16 at 96 DPI.
    HBITMAP Swatch() const noexcept { return swatch_.get(); }
    // Fills the swatch inside its one-pixel border with color.
    void SetSwatchColor(COLORREF color);
    // Makes every picture again for dpi; the old ones are released once the
    // items show the new ones.
    void SetDpi(UINT dpi);
    UINT Dpi() const noexcept { return dpi_; }
    // The hint of a menu of the bar (item is its position): only "Set" has one.
    std::wstring PopupHint(HMENU menu, UINT item) const;

private:
    // An item's icon picture, made again when the DPI changes.
    struct ItemPicture {
        HMENU popup;
        int id;
        int iconId;
        win::UniqueBitmap picture;
    };
    void AddItems(HMENU popup, PreviewMenu menu, const std::vector<PreviewCommand>& commands);
    void MakePicture(ItemPicture& item);
    void MakeSwatch();

    UINT dpi_;
    COLORREF swatchColor_ = RGB(255, 255, 255);
    HMENU swatchMenu_ = nullptr;  // the popup of the swatch's item, owned by the bar
    int swatchId_ = 0;
    // Declared before the bar: the items' pictures outlive the menus.
    std::vector<ItemPicture> pictures_;
    win::UniqueBitmap swatch_;
    win::UniqueMenu bar_;
    HMENU setMenu_ = nullptr;  // owned by the bar
};
