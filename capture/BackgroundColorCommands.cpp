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

}  // namespace

std::optional<COLORREF> PickColorOnScreen(TImageForm& overlay)
{
    KeptDesktop kept(overlay);
    GrabDesktop(overlay);
    return overlay.PickColor();
}

void ApplyBackgroundColor(COLORREF color, const TSelection& selection, BackgroundColorTarget& target)
{
    target.SetBackgroundColor(color);
    if (IsRoundShape(selection.ShapeCode)) target.RecomposeCapture(selection);
}

void BackgroundColorDialogActionExecute(TColorDialog& dialog, HWND fallbackOwner, const TSelection& selection,
                                        BackgroundColorTarget& target)
{
    HWND owner = ::GetActiveWindow();
    if (!dialog.Execute(owner ? owner : fallbackOwner)) return;
    ApplyBackgroundColor(dialog.Color, selection, target);
}

void BackgroundColorPickOnScreenActionExecute(TImageForm& overlay, const TSelection& selection,
                                              BackgroundColorTarget& target)
{
    if (const std::optional<COLORREF> color = PickColorOnScreen(overlay))
        ApplyBackgroundColor(*color, selection, target);
}
