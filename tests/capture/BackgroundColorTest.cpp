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
