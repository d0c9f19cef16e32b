// The peer: giflib writing the same indices with the same 256-entry table.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/GIFColor.h"

namespace gifnative {

// Encodes width x height indices (rows from the top) into out.
void EncodeWithGiflib(std::vector<std::uint8_t>& indices, int width, int height,
                      const std::vector<gif::TGIFColor>& table, std::vector<std::uint8_t>& out);

}  // namespace gifnative
