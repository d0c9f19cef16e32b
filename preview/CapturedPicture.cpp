#include "preview/CapturedPicture.h"

#include <utility>

#include "preview/BitmapTransforms.h"
#include "preview/DateText.h"
#include "win/Error.h"

namespace {

// The stamp state after an overlay pass: a picture too small for the stamp
// keeps the state it had.
bool StampShownAfter(StampOutcome outcome, bool before) noexcept
{
    switch (outcome) {
    case StampOutcome::Stamped: return true;
    case StampOutcome::Unstamped: return false;
    case StampOutcome::TooSmall: break;
    }
    return before;
}

}  // namespace

void TCapturedPicture::NewCapture(win::Bitmap& composed, win::AlphaMask mask)
{
    win::Bitmap master;
    master.Assign(composed);
    RECT cell{};
    const StampOutcome outcome = ApplyDateStamp(composed, dateStampImage_, &cell);
    master_.TakeFrom(master);
    output_.TakeFrom(composed);
    mask_ = std::move(mask);
    stampCell_ = cell;
    rotationCount_ = 0;
    mirrorFlag_ = false;
    dateStampShown_ = StampShownAfter(outcome, dateStampShown_);
    Changed();
}

void TCapturedPicture::Recompose(win::Bitmap& composed, win::AlphaMask mask)
{
    // Replayed on a picture of its own, so a failing step leaves this one whole.
    TCapturedPicture next(dateStampImage_);
    next.dateStampShown_ = dateStampShown_;
    next.NewCapture(composed, std::move(mask));
    if (mirrorFlag_) next.Mirror();
    for (int i = 0; i < rotationCount_; ++i) next.Rotate(true);
    master_.TakeFrom(next.master_);
    output_.TakeFrom(next.output_);
    mask_ = std::move(next.mask_);
    stampCell_ = next.stampCell_;
    rotationCount_ = next.rotationCount_;
    mirrorFlag_ = next.mirrorFlag_;
    dateStampShown_ = next.dateStampShown_;
    Changed();
}

void TCapturedPicture::Rotate(bool clockwise)
{
    // Turning works on 24-bit rows; the new depth keeps every colour.
    master_.SetPixelFormat(win::PixelFormat::Bits24);
    std::unique_ptr<win::Bitmap> turned = RotateBitmap(clockwise ? 90 : -90, master_);
    if (!turned) throw win::Error(L"The picture could not be turned");
    win::AlphaMask mask = mask_.Rotated(clockwise);
    ReplaceMaster(*turned, mask);
    rotationCount_ = (rotationCount_ + (clockwise ? 1 : 3)) % 4;
    Changed();
}

void TCapturedPicture::Mirror()
{
    std::unique_ptr<win::Bitmap> mirrored = FlipBitmap(false, true, master_);
    win::AlphaMask mask = mask_.Mirrored();
    ReplaceMaster(*mirrored, mask);
    mirrorFlag_ = !mirrorFlag_;
    Changed();
}

void TCapturedPicture::DateStamp(bool on)
{
    win::Bitmap output;
    output.Assign(master_);
    RECT cell{};
    const StampOutcome outcome = ApplyDateStamp(output, on, &cell);
    dateStampImage_ = on;
    stampCell_ = cell;
    output_.TakeFrom(output);
    dateStampShown_ = StampShownAfter(outcome, dateStampShown_);
    Changed();
}

void TCapturedPicture::ReplaceMaster(win::Bitmap& master, win::AlphaMask& mask)
{
    // A picture that showed the stamp keeps it even when the setting is off.
    win::Bitmap output;
    output.Assign(master);
    RECT cell{};
    const StampOutcome outcome = ApplyDateStamp(output, dateStampImage_ || dateStampShown_, &cell);
    master_.TakeFrom(master);
    output_.TakeFrom(output);
    mask_ = std::move(mask);
    stampCell_ = cell;
    dateStampShown_ = StampShownAfter(outcome, dateStampShown_);
}

win::AlphaMask TCapturedPicture::OutputAlpha() const
{
    win::AlphaMask alpha = mask_;
    alpha.MakeOpaque(stampCell_.left, stampCell_.top, stampCell_.right, stampCell_.bottom);
    return alpha;
}

void TCapturedPicture::Changed()
{
    if (OnChange) OnChange();
}
