// The overlays drawn on a finished capture.
#include "app/Unit1.h"

void TForm1::WriteLogoOnImage(win::Bitmap& image)
{
    // The clean capture is kept; every overlay pass starts from it.
    MasterImage->Assign(image);
}
