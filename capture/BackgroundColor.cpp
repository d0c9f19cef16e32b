// The two background-colour commands and colour picking on the screen.
#include "app/AppSettings.h"
#include "app/Unit1.h"
#include "capture/ImageUnit.h"
#include "preview/PreviewUnit.h"

namespace {

// Moves the three pictures of the current capture aside and back, so a pick
// (which grabs a new desktop into OutputImage and the overlay) leaves the
// capture, its master and its frozen desktop as they were, on every path.
// Moving rather than copying also means putting them back cannot fail.
class KeptPictures {
public:
    KeptPictures(win::Bitmap& overlay, win::Bitmap& output, win::Bitmap& master) noexcept
        : overlay_(overlay), output_(output), master_(master)
    {
        keptOverlay_.TakeFrom(overlay_);
        keptOutput_.TakeFrom(output_);
        keptMaster_.TakeFrom(master_);
    }
    ~KeptPictures()
    {
        overlay_.TakeFrom(keptOverlay_);
        output_.TakeFrom(keptOutput_);
        master_.TakeFrom(keptMaster_);
    }
    KeptPictures(const KeptPictures&) = delete;
    KeptPictures& operator=(const KeptPictures&) = delete;

private:
    win::Bitmap& overlay_;
    win::Bitmap& output_;
    win::Bitmap& master_;
    win::Bitmap keptOverlay_;
    win::Bitmap keptOutput_;
    win::Bitmap keptMaster_;
};

class PickModeOn {
public:
    PickModeOn() noexcept { PickMode = true; }
    ~PickModeOn() { PickMode = false; }
    PickModeOn(const PickModeOn&) = delete;
    PickModeOn& operator=(const PickModeOn&) = delete;
};

bool ShapeShowsBackground(std::uint8_t shapeCode)
{
    return shapeCode == scCircle || shapeCode == scEllipse || shapeCode == scRoundedRectangle;
}

void ApplyBackgroundColor(TForm1& form, COLORREF color)
{
    if (PreviewForm)
        PreviewForm->SetBackgroundColor(color);
    else
        AppSettings.BackgroundColor = static_cast<int>(color);
    if (ShapeShowsBackground(ShapeCode)) form.RecomposeCapture();
}

}  // namespace

COLORREF TForm1::PickColorOnScreen()
{
    KeptPictures kept(ImageForm->Image1, *OutputImage, *MasterImage);
    GrabDesktop();
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    ImageForm->SetDesktopBounds(width, height);
    ImageForm->Image1.SetSize(width, height);
    ::BitBlt(ImageForm->Image1.Canvas(), 0, 0, OutputImage->Width(), OutputImage->Height(),
             OutputImage->Canvas(), 0, 0, SRCCOPY);
    ::GdiFlush();
    {
        PickModeOn picking;
        ImageForm->ShowModal();
    }
    return PickedColor;
}

void TForm1::BackgroundColorDialogActionExecute()
{
    HWND owner = ::GetActiveWindow();
    if (!ColorDialog1.Execute(owner ? owner : Hwnd())) return;
    ApplyBackgroundColor(*this, ColorDialog1.Color);
}

void TForm1::BackgroundColorPickOnScreenActionExecute() { ApplyBackgroundColor(*this, PickColorOnScreen()); }
