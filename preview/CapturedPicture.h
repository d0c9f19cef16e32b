// The picture of the current capture and its transform state. The clean
// picture (MasterImage) is what rotate and mirror act on; the shown picture
// (OutputImage) is rebuilt from it with the date stamp on top, so the stamp is
// never turned with the pixels. Every operation either completes or leaves the
// picture and its state as they were.
#pragma once

#include <functional>

#include "win/AlphaMask.h"
#include "win/Bitmap.h"

class TCapturedPicture {
public:
    // dateStampImage is the user's setting: read by every overlay pass and
    // written by the stamp commands.
    explicit TCapturedPicture(bool& dateStampImage) noexcept : dateStampImage_(dateStampImage) {}
    TCapturedPicture(const TCapturedPicture&) = delete;
    TCapturedPicture& operator=(const TCapturedPicture&) = delete;

    // The picture the preview shows and every output command uses.
    win::Bitmap& OutputImage() noexcept { return output_; }
    const win::Bitmap& OutputImage() const noexcept { return output_; }
    // The picture without overlays.
    const win::Bitmap& MasterImage() const noexcept { return master_; }

    int RotationCount() const noexcept { return rotationCount_; }
    bool MirrorFlag() const noexcept { return mirrorFlag_; }
    bool DateStampShown() const noexcept { return dateStampShown_; }
    // Which pixels of OutputImage are see-through (outside a round shape; the
    // date stamp is opaque). Empty when the whole picture is opaque.
    win::AlphaMask OutputAlpha() const;

    // Takes a fresh composition as the new, untransformed picture and runs the
    // overlay pass on it. The composition is left empty. mask is the
    // composition's see-through part (empty: all opaque).
    void NewCapture(win::Bitmap& composed, win::AlphaMask mask = {});
    // Takes a new composition of the same capture (after a background colour
    // change) and replays the mirror and the turns the picture had.
    void Recompose(win::Bitmap& composed, win::AlphaMask mask = {});
    // A quarter turn, clockwise or counter-clockwise.
    void Rotate(bool clockwise);
    // Left to right.
    void Mirror();
    // Sets the date-stamp setting and redraws the overlays from the clean picture.
    void DateStamp(bool on);

    // Releases both pictures (at the end of the run).
    void Clear() noexcept
    {
        output_.Clear();
        master_.Clear();
        mask_ = {};
    }

    // Called after every operation that changed the picture.
    std::function<void()> OnChange;

private:
    // The overlay pass on image, which becomes the clean picture; the stamp is
    // drawn when wanted. Updates dateStampShown_ by the outcome.
    void WriteLogoOnImage(win::Bitmap& image, bool wanted);
    // A new master in 24 bits (turned or mirrored) replaces the clean picture,
    // and the shown picture is rebuilt; nothing changes when either fails.
    void ReplaceMaster(win::Bitmap& master, win::AlphaMask& mask);
    void Changed();

    bool& dateStampImage_;
    win::Bitmap output_;
    win::Bitmap master_;
    int rotationCount_ = 0;
    bool mirrorFlag_ = false;
    bool dateStampShown_ = false;
    win::AlphaMask mask_;  // of the clean picture, turned and mirrored with it
    RECT stampCell_{};     // where OutputImage shows the stamp
};
