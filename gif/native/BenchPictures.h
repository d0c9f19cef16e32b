// Deterministic pictures for the benchmarks, as 24-bit top-down rows.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/PixelRows.h"

namespace gifnative {

struct BenchPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;  // stride = width * 3 rounded up to 4

    gif::PixelRows Rows() const
    {
        return {width, height, 24, bgr.data(), static_cast<std::ptrdiff_t>((width * 3 + 3) / 4 * 4)};
    }
};

// A desktop with a wallpaper gradient, a task bar, overlapping windows with
// title bars, text lines and icons.
BenchPicture ScreenshotPicture(int width, int height);
// Random colours everywhere.
BenchPicture NoisePicture(int width, int height);

}  // namespace gifnative
