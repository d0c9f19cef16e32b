// Quarter turns and mirror of the captured picture. Both act on MasterImage,
// the picture without overlays, and rebuild OutputImage from it, so a date
// stamp is never turned with the pixels: it is drawn again afterwards.
#include "app/AppSettings.h"
#include "app/Unit1.h"
#include "preview/FlipReverseRotateLibrary.h"
#include "preview/PreviewUnit.h"

namespace {

// OutputImage from the new master, then the overlay pass. A picture that
// showed the stamp keeps it even when the setting is off; the setting itself
// is left as it was.
void RebuildOutput(TForm1& form)
{
    form.OutputImage->Assign(*form.MasterImage);
    const bool wanted = AppSettings.DateStampImage;
    if (form.DateStampShown) AppSettings.DateStampImage = true;
    struct RestoreSetting {
        bool value;
        ~RestoreSetting() { AppSettings.DateStampImage = value; }
    } restore{wanted};
    form.WriteLogoOnImage(*form.OutputImage);
}

void RefreshPreview(TForm1& form)
{
    // Shown or not, the preview takes OutputImage again when it next opens.
    if (PreviewForm && PreviewForm->Showing()) PreviewForm->ShowBMP(*form.OutputImage);
}

}  // namespace

void TForm1::RotateImage(bool clockwise)
{
    MasterImage->SetPixelFormat(win::PixelFormat::Bits24);
    // The state changes only once the turned picture exists: running out of
    // memory leaves picture and count as they were.
    if (auto turned = RotateBitmap(clockwise ? 90 : -90, *MasterImage)) MasterImage = std::move(turned);
    RotationCount = (RotationCount + (clockwise ? 1 : 3)) % 4;
    RebuildOutput(*this);
    RefreshPreview(*this);
}

void TForm1::MirrorImage()
{
    MasterImage->SetPixelFormat(win::PixelFormat::Bits24);
    MasterImage = FlipBitmap(false, true, *MasterImage);
    MirrorFlag = !MirrorFlag;
    RebuildOutput(*this);
    RefreshPreview(*this);
}

void TForm1::ClockwiseActionExecute() { RotateImage(true); }

void TForm1::CounterClockwiseActionExecute() { RotateImage(false); }

void TForm1::MirrorActionExecute() { MirrorImage(); }
