#include "win/ButtonIcon.h"

#include <commctrl.h>

namespace win {

UniqueImageList SetButtonIcon(HWND button, int iconId, int size)
{
    UniqueImageList images(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 0));
    HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId),
                                                 IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (icon) {
        ImageList_AddIcon(images.get(), icon);
        ::DestroyIcon(icon);
    }
    BUTTON_IMAGELIST list{images.get(), {2, 4, 2, 0}, BUTTON_IMAGELIST_ALIGN_TOP};
    ::SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
    return images;
}

}  // namespace win
