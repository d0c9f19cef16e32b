#include "capture/BackgroundColorCommands.h"

#include "capture/CaptureCommand.h"

namespace {

// Moves what the overlay holds aside and back, so a pick (which grabs a new
// desktop into the overlay) leaves it as it was on every path. Moving rather
// than copying also means putting it back cannot fail.
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

void ApplyBackgroundColor(COLORREF color, std::uint8_t shapeCode, BackgroundColorTarget& target)
{
    target.SetBackgroundColor(color);
    if (IsRoundShape(shapeCode)) target.RecolorCapture(color);
}

void BackgroundColorDialogActionExecute(TColorDialog& dialog, HWND fallbackOwner, std::uint8_t shapeCode,
                                        BackgroundColorTarget& target)
{
    HWND owner = ::GetActiveWindow();
    if (!dialog.Execute(owner ? owner : fallbackOwner)) return;
    ApplyBackgroundColor(dialog.Color, shapeCode, target);
}

void BackgroundColorPickOnScreenActionExecute(TImageForm& overlay, std::uint8_t shapeCode,
                                              BackgroundColorTarget& target)
{
    if (const std::optional<COLORREF> color = PickColorOnScreen(overlay))
        ApplyBackgroundColor(*color, shapeCode, target);
}
