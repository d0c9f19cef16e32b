// The Windows BMP file of a picture at its current depth (24 or 32 bits per
// pixel): file header, 40-byte information header, rows bottom-up, each padded
// to 4 bytes. The depths we hold need no colour table.
#pragma once

#include <cstdint>

#include "output/ByteSink.h"
#include "win/Bitmap.h"

namespace output {

// Bytes of the whole file; throws win::Error when they do not fit the format's
// 32-bit size fields.
std::uint64_t BmpFileSize(const win::Bitmap& picture);

// Writes the file to sink; a failed write shows in the sink.
void WriteBmp(const win::Bitmap& picture, ByteSink& sink);

}  // namespace output
