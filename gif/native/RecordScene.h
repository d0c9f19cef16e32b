// A scripted screen scene for the recording benchmark, drawn natively: a
// window with text being typed and a blinking caret, a progress bar, a menu
// that opens and is walked, a scrolling list, a photo thumbnail and a moving
// pointer. Frame f is the screen at f / 15 s.
#pragma once

#include <cstdint>
#include <vector>

namespace gifnative {

// Draws frame f into out (width x height pixels, 0x00RRGGBB).
void DrawRecordScene(int f, int width, int height, std::vector<std::uint32_t>& out);

}  // namespace gifnative
