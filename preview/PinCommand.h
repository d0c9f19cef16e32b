// The Pin to Screen command.
#pragma once

#include <windows.h>

#include "preview/PinWindow.h"

// Opens a pin with picture (as rendered, with its see-through mask) at 100%,
// its top-left pixel at topLeft: where the capture was taken.
void PinToScreenActionExecute(PinBoard& pins, const win::Bitmap& picture, const win::AlphaMask& alpha,
                              POINT topLeft);
