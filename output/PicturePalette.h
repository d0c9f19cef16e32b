// The logical palette of a picture with a colour table (8 bits per pixel or
// fewer). Pictures of 24 or 32 bits per pixel have none.
#pragma once

#include "win/Bitmap.h"
#include "win/UniqueHandle.h"

// A new palette with the picture's colour table; empty when it has none.
win::UniquePalette PaletteOf(const win::Bitmap& picture);
