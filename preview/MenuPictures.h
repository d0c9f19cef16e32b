// The pictures of the preview's menu items, made at a size in pixels (the
// window's 16 pixels at 96 DPI, scaled): an icon on the menu's colour, and the
// background-colour swatch. Opaque 32-bit bitmaps, so the menu never treats a
// picture as transparent.
#pragma once

#include <windows.h>

#include "win/UniqueHandle.h"

// The icon resource iconId at size x size on the menu's colour; empty when
// the icon cannot be loaded.
win::UniqueBitmap MenuIconPicture(int iconId, int size);

// A size x size swatch: a one-pixel dark border around a square of color.
win::UniqueBitmap MenuSwatch(int size, COLORREF color);
// Fills the swatch inside its border with color.
void PaintSwatch(HBITMAP swatch, COLORREF color);

void SetMenuItemPicture(HMENU menu, int id, HBITMAP picture);
