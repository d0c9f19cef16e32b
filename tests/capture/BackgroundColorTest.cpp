// Recomposing a capture after a background-colour change, on a real main form.
#include <gtest/gtest.h>

#include "capture/Composition.h"
#include "preview/FlipReverseRotateLibrary.h"
#include "tests/support/MainFormFixture.h"
#include "tests/support/TestPictures.h"

namespace {

using testpics::PixelBytes;

constexpr COLORREF kNewBackground = RGB(30, 160, 90);

class Recompose : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        testpics::FillPattern(imageForm_->Image1, 640, 480);
        ShapeCode = scEllipse;
        SelStart = {250, 40};
        SelEnd = {50, 140};
    }

    // The ellipse capture in the new colour, mirrored and turned clockwise
    // once, built from the library functions directly.
    std::unique_ptr<win::Bitmap> Expected()
    {
        win::Bitmap composed;
        ComposeCapture(imageForm_->Image1, scEllipse, SelStart, SelEnd, kNewBackground, 640, 480, composed);
        composed.SetPixelFormat(win::PixelFormat::Bits24);
        auto mirrored = FlipBitmap(false, true, composed);
        return RotateBitmap(90, *mirrored);
    }
};

}  // namespace

TEST_F(Recompose, KeepsMirrorAndRotationAndShowsTheNewColour)
{
    AppSettings.DateStampImage = false;
    form_->DrawPreview();
    form_->MirrorImage();
    form_->RotateImage(true);

    AppSettings.BackgroundColor = static_cast<int>(kNewBackground);
    form_->RecomposeCapture();

    EXPECT_TRUE(form_->MirrorFlag);
    EXPECT_EQ(form_->RotationCount, 1);
    ASSERT_EQ(form_->OutputImage->Width(), 120);
    ASSERT_EQ(form_->OutputImage->Height(), 220);
    EXPECT_EQ(form_->OutputImage->Pixel(0, 0), kNewBackground);
    const auto expected = Expected();
    EXPECT_EQ(PixelBytes(*form_->OutputImage), PixelBytes(*expected));
    EXPECT_EQ(PixelBytes(*form_->MasterImage), PixelBytes(*expected));
}

TEST_F(Recompose, DrawsTheStampAgainWhenTheSettingIsOn)
{
    AppSettings.DateStampImage = true;
    form_->DrawPreview();
    form_->MirrorImage();
    form_->RotateImage(true);
    AppSettings.BackgroundColor = static_cast<int>(kNewBackground);
    form_->RecomposeCapture();

    EXPECT_TRUE(form_->DateStampShown);
    // The master is the clean transformed picture; the output carries one
    // stamp at its top-left corner.
    EXPECT_EQ(PixelBytes(*form_->MasterImage), PixelBytes(*Expected()));
    EXPECT_EQ(form_->OutputImage->Pixel(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(form_->OutputImage->Pixel(4, 4), kNewBackground);
    EXPECT_EQ(form_->OutputImage->Pixel(60, 150), form_->MasterImage->Pixel(60, 150));
}

namespace {

// Presses and releases the left button at a point of the overlay once it
// shows, as a user picking a colour does; driven by a thread timer while the
// overlay runs its modal loop.
POINT pickPoint{0, 0};
UINT_PTR pickTimer = 0;

void CALLBACK PressOnOverlay(HWND, UINT, UINT_PTR, DWORD)
{
    if (!ImageForm || !ImageForm->Showing()) return;
    ::KillTimer(nullptr, pickTimer);
    const LPARAM at = MAKELPARAM(pickPoint.x, pickPoint.y);
    ::PostMessageW(ImageForm->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(ImageForm->Hwnd(), WM_LBUTTONUP, 0, at);
}

COLORREF ScreenPixel(POINT p)
{
    HDC screen = ::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    const COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::DeleteDC(screen);
    return c;
}

class PickOnScreen : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        if (!imageForm_->Hwnd()) GTEST_SKIP() << "needs a display";
        testpics::FillPattern(imageForm_->Image1, 640, 480);
        pickPoint = {940, 28};  // on the notification area, not black
        pickTimer = ::SetTimer(nullptr, 0, 50, PressOnOverlay);
    }
    void TearDown() override
    {
        if (pickTimer) ::KillTimer(nullptr, pickTimer);
        pickTimer = 0;
    }
};

}  // namespace

TEST_F(PickOnScreen, TakesTheScreenPixelAndPutsTheCapturesPicturesBack)
{
    testpics::FillPattern(*form_->OutputImage, 300, 200);
    testpics::FillPattern(*form_->MasterImage, 200, 300, win::PixelFormat::Bits24);
    const auto output = PixelBytes(*form_->OutputImage);
    const auto master = PixelBytes(*form_->MasterImage);
    const auto frozen = PixelBytes(imageForm_->Image1);
    const COLORREF expected = ScreenPixel(pickPoint);
    PickedColor = RGB(1, 2, 3);

    EXPECT_EQ(form_->PickColorOnScreen(), expected);
    EXPECT_EQ(PickedColor, expected);
    EXPECT_FALSE(PickMode);
    EXPECT_FALSE(imageForm_->Showing());
    EXPECT_EQ(PixelBytes(*form_->OutputImage), output);
    EXPECT_EQ(PixelBytes(*form_->MasterImage), master);
    EXPECT_EQ(PixelBytes(imageForm_->Image1), frozen);
    EXPECT_EQ(form_->OutputImage->Width(), 300);
    EXPECT_EQ(form_->MasterImage->Width(), 200);
}

TEST_F(PickOnScreen, RecomposesAnEllipseButLeavesARectangleAlone)
{
    // A rectangle capture: only the setting changes.
    ShapeCode = scRectangle;
    SelStart = {10, 10};
    SelEnd = {150, 110};
    AppSettings.DateStampImage = false;
    form_->DrawPreview();
    const auto rectangle = PixelBytes(*form_->OutputImage);
    const COLORREF picked = ScreenPixel(pickPoint);
    AppSettings.BackgroundColor = static_cast<int>(RGB(1, 2, 3));
    form_->BackgroundColorPickOnScreenActionExecute();
    EXPECT_EQ(static_cast<COLORREF>(AppSettings.BackgroundColor), picked);
    EXPECT_EQ(PixelBytes(*form_->OutputImage), rectangle);

    // An ellipse capture turned once: recomposed in the picked colour, still turned.
    ShapeCode = scEllipse;
    AppSettings.BackgroundColor = static_cast<int>(RGB(1, 2, 3));
    form_->DrawPreview();
    form_->RotateImage(true);
    EXPECT_EQ(form_->OutputImage->Pixel(0, 0), RGB(1, 2, 3));
    pickTimer = ::SetTimer(nullptr, 0, 50, PressOnOverlay);
    form_->BackgroundColorPickOnScreenActionExecute();
    EXPECT_EQ(form_->RotationCount, 1);
    EXPECT_EQ(form_->OutputImage->Width(), 120);
    EXPECT_EQ(form_->OutputImage->Height(), 160);
    EXPECT_EQ(form_->OutputImage->Pixel(0, 0), picked);
    EXPECT_EQ(form_->OutputImage->Pixel(119, 159), picked);
}
