// Sizes at a window's DPI. The manifest declares per-monitor awareness, so the
// system never scales our windows: every size and position in our layouts is a
// 96-DPI figure that is scaled here, and fonts and pictures are made for the
// DPI of the window that shows them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win/UniqueHandle.h"

namespace win {

constexpr UINT kBaseDpi = 96;

// The DPI of the screen (LOGPIXELSX): the session's scale.
UINT SystemDpi();

// The DPI of the monitor a window is on: GetDpiForWindow where the system has
// it (Windows 10 1607 on), else the screen's.
UINT WindowDpi(HWND hwnd);

// A 96-DPI figure at dpi.
inline int Scale(int value, UINT dpi) { return ::MulDiv(value, static_cast<int>(dpi), kBaseDpi); }
// Each of left, top, width and height scaled on its own, so a control keeps
// the width it has at 96 DPI times the scale, whatever its position.
RECT ScaleRect(int x, int y, int width, int height, UINT dpi);

// The outer size of a window whose client area is width x height at dpi.
SIZE WindowSizeForClient(int width, int height, DWORD style, DWORD exStyle, bool menu, UINT dpi);

// The system's message font (the dialogs' font) for dpi.
UniqueFont CreateMessageFont(UINT dpi);

// The message font for dpi, made smaller where the widest of texts would be
// wider than width pixels in it (down to four fifths of its height at most).
UniqueFont CreateMessageFontToFit(UINT dpi, const std::vector<std::wstring>& texts, int width);

// The size at which an icon drawn at size96 on a 96-DPI screen is shown at
// dpi: the largest size our icon files hold that is not above the scaled size,
// so a picture is never stretched.
int IconSize(int size96, UINT dpi);

// An icon of module (nullptr: one of the system's, such as IDI_WARNING) at
// size x size pixels, from the image of that size the icon holds.
UniqueIcon LoadIconAt(HINSTANCE module, const wchar_t* name, int size);
// An icon resource of the program at size x size pixels.
UniqueIcon LoadIconResource(int iconId, int size);

}  // namespace win
