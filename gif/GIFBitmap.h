// The glue between the program's bitmaps and the GIF codec.
//
// The codec reads the bitmap's 24- or 32-bit rows as they are: a GIF save
// never changes the picture it saves. A picture wider or taller than 65535 pixels is refused with a
// GIFException naming the limit, before the bitmap or any file is touched;
// so is an empty picture by the encoding and saving functions (its GIF would
// hold no image, which decoders refuse).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gif/GIFImage.h"
#include "gif/PixelRows.h"
#include "win/Bitmap.h"

namespace gif {

// A view of a bitmap's pixels; valid until the bitmap changes.
PixelRows RowsOf(const win::Bitmap& bitmap);

// Clears image and fills it from the bitmap.
void AssignBitmap(TGIFImage& image, const win::Bitmap& bitmap);

// The complete GIF file in memory, for callers that write files themselves
// (safe replacement of an existing file).
std::vector<std::uint8_t> EncodeBitmapAsGif(const win::Bitmap& bitmap);

// Writes the GIF file at path, replacing any file there. The picture is
// encoded completely before the file is created; a failed write removes the
// partly written file.
void SaveBitmapAsGif(const win::Bitmap& bitmap, const std::wstring& path);

}  // namespace gif
