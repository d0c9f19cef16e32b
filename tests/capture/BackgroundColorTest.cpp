// The background-colour commands and recomposing a capture after a change,
// on a real (never shown) overlay and a real captured picture.
#include <gtest/gtest.h>

#include "capture/BackgroundColorCommands.h"
#include "capture/Composition.h"
#include "preview/BitmapTransforms.h"
#include "capture/ShapeMask.h"
#include "preview/Document.h"
#include "tests/support/TestPictures.h"

namespace {

using testpics::PixelBytes;

constexpr COLORREF kNewBackground = RGB(30, 160, 90);

// The program around the commands: the colour setting and a captured picture
// composed from the overlay's frozen desktop, with the selection it was cut with.
class CaptureState : public BackgroundColorTarget {
public:
    explicit CaptureState(TImageForm& overlay) : overlay_(overlay) {}

    void SetBackgroundColor(COLORREF c) override { color = c; }
    void RecolorCapture(COLORREF c) override { picture.Apply(BackgroundColorEdit(c)); }
    void DrawPreview()
    {
        win::Bitmap composed;
        ::DrawPreview(overlay_.Image1, {0, 0, 640, 480}, selection, color, composed);
        picture.NewCapture(composed, SelectionMask(overlay_.Image1, {0, 0, 640, 480}, selection),
                           selection.ShapeCode, color, stampSetting);
    }

    TSelection selection;
    COLORREF color = RGB(255, 255, 255);
    bool stampSetting = true;
    Document picture;

private:
    TImageForm& overlay_;
};

class OverlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { imageForm_ = new TImageForm; }
    static void TearDownTestSuite()
    {
        delete imageForm_;
        imageForm_ = nullptr;
    }
    static inline TImageForm* imageForm_ = nullptr;
};

class Recompose : public OverlayTest {
protected:
    void SetUp() override
    {
        testpics::FillPattern(imageForm_->Image1, 640, 480);
        state_.selection = {{250, 40}, {50, 140}, scEllipse, true};
    }

    // The ellipse capture in the new colour, mirrored and turned clockwise
    // once, built from the library functions directly.
    std::unique_ptr<win::Bitmap> Expected()
    {
        win::Bitmap composed;
        ComposeCapture(imageForm_->Image1, scEllipse, {250, 40}, {50, 140}, kNewBackground, {0, 0, 640, 480},
                       composed);
        composed.SetPixelFormat(win::PixelFormat::Bits24);
        auto mirrored = FlipBitmap(false, true, composed);
        return RotateBitmap(90, *mirrored);
    }

    CaptureState state_{*imageForm_};
};

}  // namespace

TEST_F(Recompose, KeepsMirrorAndRotationAndShowsTheNewColour)
{
    state_.stampSetting = false;
    state_.DrawPreview();
    state_.picture.Apply(MirrorEdit());
    state_.picture.Apply(TurnEdit(true));
    // A later showing of the overlay that ends in a click (a cancelled retry)
    // does not move what the picture's own selection cuts.
    imageForm_->BeginShowing(false);
    imageForm_->Image1MouseDown(5, 5);
    imageForm_->Image1MouseUp();

    ApplyBackgroundColor(kNewBackground, state_.selection.ShapeCode, state_);

    EXPECT_TRUE(state_.picture.State().view.mirrored);
    EXPECT_EQ(state_.picture.State().view.turns, 1);
    ASSERT_EQ(state_.picture.Picture().Width(), 120);
    ASSERT_EQ(state_.picture.Picture().Height(), 220);
    EXPECT_EQ(state_.picture.Picture().Pixel(0, 0), kNewBackground);
    // Painting the see-through part gives what a new composition would.
    EXPECT_EQ(PixelBytes(state_.picture.Picture()), PixelBytes(*Expected()));
}

TEST_F(Recompose, DrawsTheStampAgainWhenTheSettingIsOn)
{
    state_.stampSetting = true;
    state_.DrawPreview();
    state_.picture.Apply(MirrorEdit());
    state_.picture.Apply(TurnEdit(true));
    ApplyBackgroundColor(kNewBackground, state_.selection.ShapeCode, state_);

    EXPECT_TRUE(state_.picture.DateStampShown());
    // The clean transformed picture with one stamp at its top-left corner.
    EXPECT_EQ(state_.picture.Picture().Pixel(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(state_.picture.Picture().Pixel(4, 4), kNewBackground);
    EXPECT_EQ(state_.picture.Picture().Pixel(60, 150), Expected()->Pixel(60, 150));
}

namespace {

// Presses and releases the left button at a point of the overlay once it
// shows, as a user picking a colour does (or closes it with Alt+F4's
// WM_CLOSE); driven by a thread timer while the overlay runs its modal loop.
POINT pickPoint{0, 0};
UINT_PTR pickTimer = 0;
TImageForm* pickOverlay = nullptr;
bool closeWithoutPress = false;

void CALLBACK PressOnOverlay(HWND, UINT, UINT_PTR, DWORD)
{
    if (!pickOverlay || !pickOverlay->Showing()) return;
    ::KillTimer(nullptr, pickTimer);
    if (closeWithoutPress) {
        ::PostMessageW(pickOverlay->Hwnd(), WM_CLOSE, 0, 0);
        return;
    }
    const LPARAM at = MAKELPARAM(pickPoint.x, pickPoint.y);
    ::PostMessageW(pickOverlay->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(pickOverlay->Hwnd(), WM_LBUTTONUP, 0, at);
}

COLORREF ScreenPixel(POINT p)
{
    HDC screen = ::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    const COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::DeleteDC(screen);
    return c;
}

class PickOnScreen : public OverlayTest {
protected:
    void SetUp() override
    {
        if (!imageForm_->Hwnd()) GTEST_SKIP() << "needs a display";
        pickOverlay = imageForm_;
        testpics::FillPattern(imageForm_->Image1, 640, 480);
        pickPoint = {940, 28};  // on the notification area, not black
        closeWithoutPress = false;
        pickTimer = ::SetTimer(nullptr, 0, 50, PressOnOverlay);
    }
    void TearDown() override
    {
        if (pickTimer) ::KillTimer(nullptr, pickTimer);
        pickTimer = 0;
    }

    CaptureState state_{*imageForm_};
};

}  // namespace

TEST_F(PickOnScreen, TakesTheScreenPixelAndPutsTheFrozenDesktopBack)
{
    const auto frozen = PixelBytes(imageForm_->Image1);
    const COLORREF expected = ScreenPixel(pickPoint);

    EXPECT_EQ(PickColorOnScreen(*imageForm_), expected);
    EXPECT_FALSE(imageForm_->Showing());
    EXPECT_EQ(PixelBytes(imageForm_->Image1), frozen);
    EXPECT_EQ(imageForm_->Image1.Width(), 640);
}

TEST_F(PickOnScreen, RecomposesAnEllipseButLeavesARectangleAlone)
{
    // A rectangle capture: only the setting changes.
    state_.selection = {{10, 10}, {150, 110}, scRectangle, true};
    state_.stampSetting = false;
    state_.DrawPreview();
    const auto rectangle = PixelBytes(state_.picture.Picture());
    const COLORREF picked = ScreenPixel(pickPoint);
    state_.color = RGB(1, 2, 3);
    BackgroundColorPickOnScreenActionExecute(*imageForm_, state_.selection.ShapeCode, state_);
    EXPECT_EQ(state_.color, picked);
    EXPECT_EQ(PixelBytes(state_.picture.Picture()), rectangle);

    // An ellipse capture turned once: recomposed in the picked colour, still turned.
    state_.selection.ShapeCode = scEllipse;
    state_.color = RGB(1, 2, 3);
    state_.DrawPreview();
    state_.picture.Apply(TurnEdit(true));
    EXPECT_EQ(state_.picture.Picture().Pixel(0, 0), RGB(1, 2, 3));
    // Closing the overlay without a press changes nothing.
    const auto turned = PixelBytes(state_.picture.Picture());
    closeWithoutPress = true;
    pickTimer = ::SetTimer(nullptr, 0, 50, PressOnOverlay);
    BackgroundColorPickOnScreenActionExecute(*imageForm_, state_.selection.ShapeCode, state_);
    EXPECT_EQ(state_.color, RGB(1, 2, 3));
    EXPECT_EQ(PixelBytes(state_.picture.Picture()), turned);

    closeWithoutPress = false;
    pickTimer = ::SetTimer(nullptr, 0, 50, PressOnOverlay);
    BackgroundColorPickOnScreenActionExecute(*imageForm_, state_.selection.ShapeCode, state_);
    EXPECT_EQ(state_.picture.State().view.turns, 1);
    EXPECT_EQ(state_.picture.Picture().Width(), 120);
    EXPECT_EQ(state_.picture.Picture().Height(), 160);
    EXPECT_EQ(state_.picture.Picture().Pixel(0, 0), picked);
    EXPECT_EQ(state_.picture.Picture().Pixel(119, 159), picked);
}
