// The per-pixel work of the fuzz target that needs no coverage feedback:
// making pictures, expected indices, comparing with giflib's decoding. Built
// without the fuzzer's instrumentation, which would otherwise dominate a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gif/PixelRows.h"

namespace gifnative {

// Fills pixels (stride x height bytes): the given bytes repeated, or noise
// seeded by them.
void MakePixels(std::vector<std::uint8_t>& pixels, const std::uint8_t* bytes, std::size_t count,
                bool noise);

// The cube index of every pixel, rows from the top.
std::vector<std::uint8_t> CubeIndices(const gif::PixelRows& rows);

// Decodes file with giflib and compares; the empty text means it matched.
// colors 0 means the cube table (216 colours then black) is expected.
std::string CheckWithGiflib(const std::vector<std::uint8_t>& file, int width, int height,
                            const std::vector<std::uint8_t>& expected, int smallTableColors);

}  // namespace gifnative

namespace gifnative {

// One fuzz case of the animation encoder: frames of random size, palette,
// changed rectangles and times drawn from the bytes, encoded, decoded by
// giflib and compared frame by frame; then encoded again into a sink that
// fails at a random byte, which must be reported. The empty text means all
// was well.
std::string CheckAnimation(const std::uint8_t* data, std::size_t size);

}  // namespace gifnative
