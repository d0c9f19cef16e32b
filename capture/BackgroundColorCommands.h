// The two background-colour commands and colour picking on the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "capture/ColorDialog.h"
#include "capture/Selection.h"
#include "capture/SelectionOverlay.h"

// Where a new background colour goes: the setting with the swatches that show
// it, and the captured picture, whose see-through part takes the colour.
class BackgroundColorTarget {
public:
    virtual void SetBackgroundColor(COLORREF color) = 0;
    virtual void RecolorCapture(COLORREF color) = 0;

protected:
    ~BackgroundColorTarget() = default;
};

// Shows a new grab of the desktop in the overlay and returns the colour of the
// pixel the user presses on; none when the overlay closed without a press. The
// overlay's frozen desktop of the current capture is back in place afterwards.
std::optional<COLORREF> PickColorOnScreen(TImageForm& overlay);

// The new colour is stored, and the picture takes it when its shape (the one
// it was cut with) shows the background.
void ApplyBackgroundColor(COLORREF color, std::uint8_t shapeCode, BackgroundColorTarget& target);

// The colour dialog, owned by the active window (or fallbackOwner).
void BackgroundColorDialogActionExecute(TColorDialog& dialog, HWND fallbackOwner, std::uint8_t shapeCode,
                                        BackgroundColorTarget& target);
// Picking on the screen; leaving the overlay without a press changes nothing.
void BackgroundColorPickOnScreenActionExecute(TImageForm& overlay, std::uint8_t shapeCode,
                                              BackgroundColorTarget& target);
