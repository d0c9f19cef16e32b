#include "capture/BackgroundColorCommands.h"

#include "capture/CaptureCommand.h"

namespace {

// Moves the frozen desktop of the current capture aside and back, so a pick
// (which grabs a new desktop into the overlay) leaves it as it was on every
// path: a later recomposition cuts from it. Moving rather than copying also
// means putting it back cannot fail.
class KeptDesktop {
public:
    explicit KeptDesktop(TImageForm& overlay) noexcept : overlay_(overlay), layout_(overlay.Layout)
    {
        kept_.TakeFrom(overlay_.Image1);
    }
    ~KeptDesktop()
    {
        overlay_.Image1.TakeFrom(kept_);
        overlay_.Layout = layout_;
    }
    KeptDesktop(const KeptDesktop&) = delete;
    KeptDesktop& operator=(const KeptDesktop&) = delete;

private:
    TImageForm& overlay_;
    DesktopLayout layout_;
    win::Bitmap kept_;
};

class PickModeOn {
public:
    PickModeOn() noexcept { PickMode = true; }
    ~PickModeOn() { PickMode = false; }
    PickModeOn(const PickModeOn&) = delete;
    PickModeOn& operator=(const PickModeOn&) = delete;
};

}  // namespace

COLORREF PickColorOnScreen(TImageForm& overlay)
{
    KeptDesktop kept(overlay);
    GrabDesktop(overlay);
    PickModeOn picking;
    overlay.ShowModal();
    return PickedColor;
}

void ApplyBackgroundColor(COLORREF color, BackgroundColorTarget& target)
{
    target.SetBackgroundColor(color);
    if (IsRoundShape(ShapeCode)) target.RecomposeCapture();
}

void BackgroundColorDialogActionExecute(TColorDialog& dialog, HWND fallbackOwner,
                                        BackgroundColorTarget& target)
{
    HWND owner = ::GetActiveWindow();
    if (!dialog.Execute(owner ? owner : fallbackOwner)) return;
    ApplyBackgroundColor(dialog.Color, target);
}

void BackgroundColorPickOnScreenActionExecute(TImageForm& overlay, BackgroundColorTarget& target)
{
    ApplyBackgroundColor(PickColorOnScreen(overlay), target);
}
