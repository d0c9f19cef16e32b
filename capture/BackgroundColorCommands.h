// The two background-colour commands and colour picking on the screen.
#pragma once

#include <windows.h>

#include <optional>

#include "capture/ColorDialog.h"
#include "capture/Selection.h"
#include "capture/SelectionOverlay.h"

// Where a new background colour goes: the setting with the swatches that show
// it, and the captured picture, which is composed again from the selection it
// was cut with.
class BackgroundColorTarget {
public:
    virtual void SetBackgroundColor(COLORREF color) = 0;
    virtual void RecomposeCapture(const TSelection& selection) = 0;

protected:
    ~BackgroundColorTarget() = default;
};

// Shows a new grab of the desktop in the overlay and returns the colour of the
// pixel the user presses on; none when the overlay closed without a press. The
// overlay's frozen desktop of the current capture is back in place afterwards.
std::optional<COLORREF> PickColorOnScreen(TImageForm& overlay);

// The new colour is stored, and the picture recomposed from selection (the
// one the captured picture was cut with) when its shape shows the background.
void ApplyBackgroundColor(COLORREF color, const TSelection& selection, BackgroundColorTarget& target);

// The colour dialog, owned by the active window (or fallbackOwner).
void BackgroundColorDialogActionExecute(TColorDialog& dialog, HWND fallbackOwner, const TSelection& selection,
                                        BackgroundColorTarget& target);
// Picking on the screen; leaving the overlay without a press changes nothing.
void BackgroundColorPickOnScreenActionExecute(TImageForm& overlay, const TSelection& selection,
                                              BackgroundColorTarget& target);
