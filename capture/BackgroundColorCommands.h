// The two background-colour commands and colour picking on the screen.
#pragma once

#include <windows.h>

#include "capture/ColorDialog.h"
#include "capture/SelectionOverlay.h"

// Where a new background colour goes: the setting with the swatches that show
// it, and the captured picture, which is composed again.
class BackgroundColorTarget {
public:
    virtual void SetBackgroundColor(COLORREF color) = 0;
    virtual void RecomposeCapture() = 0;

protected:
    ~BackgroundColorTarget() = default;
};

// Shows a new grab of the desktop in the overlay and returns the colour of the
// pixel the user presses on (the previous pick when none). The overlay's
// frozen desktop of the current capture is back in place afterwards.
COLORREF PickColorOnScreen(TImageForm& overlay);

// The new colour is stored, and the picture recomposed when its shape shows
// the background.
void ApplyBackgroundColor(COLORREF color, BackgroundColorTarget& target);

// The colour dialog, owned by the active window (or fallbackOwner).
void BackgroundColorDialogActionExecute(TColorDialog& dialog, HWND fallbackOwner,
                                        BackgroundColorTarget& target);
void BackgroundColorPickOnScreenActionExecute(TImageForm& overlay, BackgroundColorTarget& target);
