#include "capture/ColorDialog.h"

#include <commdlg.h>

bool TColorDialog::Execute(HWND owner)
{
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.rgbResult = Color;
    choose.lpCustColors = customColors_.data();
    choose.Flags = CC_RGBINIT | CC_ANYCOLOR;
    if (!::ChooseColorW(&choose)) return false;
    Color = choose.rgbResult;
    return true;
}
