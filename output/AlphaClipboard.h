// The clipboard formats that carry a picture's transparency beside the plain
// bitmap: the registered "PNG" format (the PNG file's bytes) and CF_DIBV5 at
// 32 bits per pixel with an alpha mask. Programs that read either see the
// corners of a round shape as see-through.
#pragma once

#include <windows.h>

#include "win/AlphaMask.h"
#include "win/Bitmap.h"
#include "win/UniqueHandle.h"

// The registered format of PNG files on the clipboard.
UINT PngClipboardFormat();

// Movable global memory holding the PNG file of picture (RGBA with alpha,
// RGB when alpha is empty). Throws win::Error.
win::UniqueGlobal PngClipboardData(const win::Bitmap& picture, const win::AlphaMask& alpha);

// Movable global memory holding a packed CF_DIBV5: a BITMAPV5HEADER with
// BI_BITFIELDS and the masks of BGRA bytes, then the rows bottom-up. Alpha is
// straight (colours not multiplied); an empty mask makes every pixel opaque.
// Throws win::Error.
win::UniqueGlobal DibV5ClipboardData(const win::Bitmap& picture, const win::AlphaMask& alpha);
