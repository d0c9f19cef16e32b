// The PNG file of a picture: the glue from our bitmap and its alpha mask to
// the windows-free compressor (PngEncoder.h).
#pragma once

#include <cstdint>
#include <vector>

#include "output/ByteSink.h"
#include "win/AlphaMask.h"
#include "win/Bitmap.h"

namespace output {

// Throws win::Error when the picture is empty, too large for the format, or
// alpha (when not empty) has another size than the picture. Nothing is
// written then.
void CheckPngPicture(const win::Bitmap& picture, const win::AlphaMask& alpha);

// Writes picture as a PNG file to sink: RGBA with alpha as the alpha channel,
// or RGB when alpha is empty. A failed write is left in the sink (its owner
// reports it with the system's reason); any other failure throws win::Error.
void WritePng(const win::Bitmap& picture, const win::AlphaMask& alpha, ByteSink& sink);

// The complete PNG file in memory (throws win::Error).
std::vector<std::uint8_t> EncodePngBytes(const win::Bitmap& picture, const win::AlphaMask& alpha);

}  // namespace output
