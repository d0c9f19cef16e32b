#include "preview/PinCommand.h"

void PinToScreenActionExecute(PinBoard& pins, const win::Bitmap& picture, const win::AlphaMask& alpha,
                              POINT topLeft)
{
    pins.Open(picture, alpha, topLeft);
}
