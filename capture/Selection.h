// What one showing of the selection overlay produced: the drag and its shape,
// or the colour picked. The overlay owns it while it shows and hands it back
// when it closes; the program keeps the selection a picture was cut with
// beside that picture, so a new background colour cuts the same shape at the
// same place again.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "capture/Shape.h"

struct TSelection {
    // Where the press happened and the last mouse position of the drag, in
    // overlay (= virtual desktop) pixels.
    POINT SelStart{0, 0};
    POINT SelEnd{0, 0};
    std::uint8_t ShapeCode = scRectangle;
    // The drag ended with an area (a click is no selection).
    bool SelectionMade = false;
    // The overlay shows for colour picking, not for selecting.
    bool PickMode = false;
    // The colour under the press of a pick; none when there was no press.
    std::optional<COLORREF> PickedColor;
};
