#include "win/ButtonIcon.h"

#include <commctrl.h>

#include "win/Dpi.h"

namespace win {

UniqueImageList SetButtonIcon(HWND button, int iconId, int size, UINT dpi)
{
    const int pixels = IconSize(size, dpi);
    UniqueImageList images(ImageList_Create(pixels, pixels, ILC_COLOR32 | ILC_MASK, 1, 0));
    if (UniqueIcon icon = LoadIconResource(iconId, pixels)) ImageList_AddIcon(images.get(), icon.get());
    BUTTON_IMAGELIST list{images.get(), {Scale(2, dpi), Scale(4, dpi), Scale(2, dpi), 0},
                          BUTTON_IMAGELIST_ALIGN_TOP};
    ::SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
    return images;
}

}  // namespace win
