// The Copy command: the picture onto the system clipboard.
#pragma once

#include <windows.h>

#include "win/AlphaMask.h"
#include "win/Bitmap.h"

// Puts a copy of picture on the clipboard as a plain device-dependent bitmap
// (CF_BITMAP), with a copy of its palette (CF_PALETTE) when it has one; owner
// becomes the clipboard's owner. Throws win::Error("Cannot open clipboard")
// when another program holds the clipboard. The Office exports hand their
// pictures over the same way. With alpha (the picture's see-through part,
// possibly empty), the PNG and CF_DIBV5 formats of AlphaClipboard.h follow the
// bitmap, which stays first for the programs that read only it.
void CopyToClipboardActionExecute(const win::Bitmap& picture, HWND owner, const win::AlphaMask* alpha = nullptr);
