// A push button with an icon resource above its caption.
#pragma once

#include <windows.h>

#include "win/UniqueHandle.h"

namespace win {

// Puts the icon resource iconId at size x size pixels on button, above the
// caption. The returned image list must live as long as the button.
UniqueImageList SetButtonIcon(HWND button, int iconId, int size);

}  // namespace win
