// Tool tips of a window's controls.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// A tool-tip window owned by owner (nullptr when it cannot be made).
HWND CreateToolTips(HWND owner);

// Shows text as the tip of control (a child of owner); the text is copied.
void AddToolTip(HWND toolTips, HWND owner, HWND control, const std::wstring& text);

}  // namespace win
