// A push button with an icon resource above its caption.
#pragma once

#include <windows.h>

#include "win/UniqueHandle.h"

namespace win {

// Puts the icon resource iconId on button, above the caption: size x size
// pixels at 96 DPI, the nearest size the icon holds at dpi. The returned image
// list must live as long as the button shows it.
UniqueImageList SetButtonIcon(HWND button, int iconId, int size, UINT dpi);

}  // namespace win
