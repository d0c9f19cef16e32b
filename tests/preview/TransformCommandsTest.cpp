// Rotate, mirror and the date-stamp commands on a real main form.
#include <gtest/gtest.h>

#include "preview/FlipReverseRotateLibrary.h"
#include "tests/support/MainFormFixture.h"
#include "tests/support/TestPictures.h"

namespace {

using testpics::PixelBytes;

class TransformCommands : public MainFormTest {
protected:
    // A fresh 300 x 200 capture through the overlay pass, as the composition
    // hands it over.
    void Capture(bool stamp)
    {
        AppSettings.DateStampImage = stamp;
        testpics::FillPattern(*form_->OutputImage, 300, 200);
        testpics::FillPattern(clean_, 300, 200, win::PixelFormat::Bits24);
        form_->WriteLogoOnImage(*form_->OutputImage);
    }

    bool StampEnabled() const { return form_->ActionList1.Enabled(DateStampBMPAction); }
    bool UnstampEnabled() const { return form_->ActionList1.Enabled(UnDateStampBMPAction); }

    win::Bitmap clean_;  // the capture's pixels, 24 bits per pixel
};

}  // namespace

TEST_F(TransformCommands, FourClockwiseTurnsGiveBackTheCaptureAndCountZero)
{
    Capture(true);
    const auto stamped = testpics::Colors(*form_->OutputImage);
    form_->RotateImage(true);
    EXPECT_EQ(form_->RotationCount, 1);
    EXPECT_EQ(form_->OutputImage->Width(), 200);
    EXPECT_EQ(form_->OutputImage->Height(), 300);
    EXPECT_EQ(form_->MasterImage->BitsPerPixel(), 24);
    EXPECT_EQ(form_->OutputImage->BitsPerPixel(), 24);
    for (int i = 0; i < 3; ++i) form_->RotateImage(true);
    EXPECT_EQ(form_->RotationCount, 0);
    EXPECT_EQ(PixelBytes(*form_->MasterImage), PixelBytes(clean_));
    // One stamp, redrawn at the top-left: the output is the stamped capture.
    EXPECT_EQ(testpics::Colors(*form_->OutputImage), stamped);
}

TEST_F(TransformCommands, CounterClockwiseFromZeroCountsThreeAndTurnsTheOtherWay)
{
    Capture(false);
    form_->RotateImage(false);
    EXPECT_EQ(form_->RotationCount, 3);
    const auto expected = RotateBitmap(-90, clean_);
    EXPECT_EQ(PixelBytes(*form_->OutputImage), PixelBytes(*expected));
    form_->RotateImage(true);
    EXPECT_EQ(form_->RotationCount, 0);
    EXPECT_EQ(PixelBytes(*form_->OutputImage), PixelBytes(clean_));
}

TEST_F(TransformCommands, TwoMirrorsGiveBackThePictureAndTheFlag)
{
    Capture(false);
    form_->MirrorImage();
    EXPECT_TRUE(form_->MirrorFlag);
    EXPECT_EQ(PixelBytes(*form_->OutputImage), PixelBytes(*FlipBitmap(false, true, clean_)));
    form_->MirrorImage();
    EXPECT_FALSE(form_->MirrorFlag);
    EXPECT_EQ(PixelBytes(*form_->OutputImage), PixelBytes(clean_));
    EXPECT_EQ(PixelBytes(*form_->MasterImage), PixelBytes(clean_));
}

TEST_F(TransformCommands, RemovingTheStampRestoresExactlyThePixelsUnderIt)
{
    Capture(true);
    EXPECT_TRUE(form_->DateStampShown);
    EXPECT_FALSE(StampEnabled());
    EXPECT_TRUE(UnstampEnabled());
    EXPECT_EQ(form_->OutputImage->Pixel(5, 5), RGB(255, 255, 255));

    form_->UnDateStampBMPActionExecute();
    EXPECT_FALSE(form_->DateStampShown);
    EXPECT_FALSE(AppSettings.DateStampImage);  // later captures come out unstamped
    EXPECT_TRUE(StampEnabled());
    EXPECT_FALSE(UnstampEnabled());
    win::Bitmap capture;
    testpics::FillPattern(capture, 300, 200);
    EXPECT_EQ(PixelBytes(*form_->OutputImage), PixelBytes(capture));

    form_->DateStampBMPActionExecute();
    EXPECT_TRUE(AppSettings.DateStampImage);
    EXPECT_TRUE(form_->DateStampShown);
    EXPECT_EQ(form_->OutputImage->Pixel(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(PixelBytes(*form_->MasterImage), PixelBytes(capture));
}

TEST_F(TransformCommands, AStampedPictureStaysStampedThroughATurnWithTheSettingOff)
{
    Capture(true);
    AppSettings.DateStampImage = false;  // e.g. changed in the settings dialog meanwhile
    form_->MirrorImage();
    EXPECT_TRUE(form_->DateStampShown);
    EXPECT_EQ(form_->OutputImage->Pixel(5, 5), RGB(255, 255, 255));
    EXPECT_FALSE(AppSettings.DateStampImage);
    // Only the top-left corner differs from the clean mirrored picture.
    const auto mirrored = FlipBitmap(false, true, clean_);
    EXPECT_EQ(form_->OutputImage->Pixel(150, 150), mirrored->Pixel(150, 150));
    EXPECT_EQ(PixelBytes(*form_->MasterImage), PixelBytes(*mirrored));
}

TEST_F(TransformCommands, AnUnstampedPictureIsStampedByATurnOnlyWhenTheSettingAsks)
{
    Capture(false);
    form_->RotateImage(true);
    EXPECT_FALSE(form_->DateStampShown);
    EXPECT_EQ(PixelBytes(*form_->OutputImage), PixelBytes(*form_->MasterImage));
    AppSettings.DateStampImage = true;
    form_->RotateImage(true);
    EXPECT_TRUE(form_->DateStampShown);
    EXPECT_EQ(form_->OutputImage->Pixel(5, 5), RGB(255, 255, 255));
}

TEST_F(TransformCommands, SmallPicturesKeepTheStampStateAndActions)
{
    Capture(true);  // 300 x 200: stamped
    AppSettings.DateStampImage = false;
    testpics::FillPattern(*form_->OutputImage, 99, 99);
    form_->WriteLogoOnImage(*form_->OutputImage);
    EXPECT_TRUE(form_->DateStampShown);
    EXPECT_FALSE(StampEnabled());
    EXPECT_TRUE(UnstampEnabled());
    win::Bitmap small;
    testpics::FillPattern(small, 99, 99);
    EXPECT_EQ(PixelBytes(*form_->OutputImage), PixelBytes(small));
    EXPECT_EQ(PixelBytes(*form_->MasterImage), PixelBytes(small));
}

TEST_F(TransformCommands, EmptyCutsSurviveTurnsMirrorsAndStamps)
{
    // A purely horizontal rectangle drag gives a 200 x 0 picture.
    AppSettings.DateStampImage = true;
    form_->OutputImage->Clear();
    form_->OutputImage->SetSize(200, 0);
    form_->WriteLogoOnImage(*form_->OutputImage);
    form_->RotateImage(true);
    EXPECT_EQ(form_->OutputImage->Width(), 0);
    EXPECT_EQ(form_->OutputImage->Height(), 200);
    form_->MirrorImage();
    form_->DateStamp(false);
    form_->RotateImage(false);
    EXPECT_EQ(form_->OutputImage->Width(), 200);
    EXPECT_EQ(form_->OutputImage->Height(), 0);
    EXPECT_EQ(form_->RotationCount, 0);
    EXPECT_TRUE(form_->MirrorFlag);
}

TEST_F(TransformCommands, ComposingTurningMirroringAndStampingLeakNoGdiObjects)
{
    testpics::FillPattern(imageForm_->Image1, 640, 480);
    Capture(true);
    auto everyCommand = [this] {
        for (std::uint8_t shape : {scRectangle, scCircle, scEllipse, scSquare, scRoundedRectangle, scEntireScreen}) {
            ShapeCode = shape;
            SelStart = {300, 200};
            SelEnd = {40, 30};
            form_->DrawPreview();
            form_->RotateImage(true);
            form_->MirrorImage();
            form_->DateStamp(false);
            form_->DateStamp(true);
            form_->RotateImage(false);
            form_->RecomposeCapture();
        }
    };
    // A first round may leave the surfaces each picture keeps (its canvas);
    // a second round must not add anything.
    everyCommand();
    const long before = win::gdiObjectCount;
    everyCommand();
    EXPECT_EQ(win::gdiObjectCount, before);
    form_->MirrorFlag = false;
    form_->RotationCount = 0;
}
