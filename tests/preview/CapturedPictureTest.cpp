// The captured picture: rotate, mirror, the date stamp and recomposition on
// real GDI bitmaps.
#include <gtest/gtest.h>

#include "capture/Composition.h"
#include "capture/SelectionOverlay.h"
#include "preview/BitmapTransforms.h"
#include "preview/CapturedPicture.h"
#include "preview/DateStampCommands.h"
#include "tests/support/TestPictures.h"
#include "win/Gdi.h"

namespace {

using testpics::PixelBytes;

class TransformCommands : public ::testing::Test {
protected:
    // A fresh 300 x 200 capture through the overlay pass, as the composition
    // hands it over.
    void Capture(bool stamp)
    {
        stampSetting_ = stamp;
        win::Bitmap composed;
        testpics::FillPattern(composed, 300, 200);
        testpics::FillPattern(clean_, 300, 200, win::PixelFormat::Bits24);
        picture_.NewCapture(composed);
    }

    bool stampSetting_ = true;
    TCapturedPicture picture_{stampSetting_};
    win::Bitmap clean_;  // the capture's pixels, 24 bits per pixel
};

}  // namespace

TEST_F(TransformCommands, FourClockwiseTurnsGiveBackTheCaptureAndCountZero)
{
    Capture(true);
    const auto stamped = testpics::Colors(picture_.OutputImage());
    picture_.Rotate(true);
    EXPECT_EQ(picture_.RotationCount(), 1);
    EXPECT_EQ(picture_.OutputImage().Width(), 200);
    EXPECT_EQ(picture_.OutputImage().Height(), 300);
    EXPECT_EQ(picture_.MasterImage().BitsPerPixel(), 24);
    EXPECT_EQ(picture_.OutputImage().BitsPerPixel(), 24);
    for (int i = 0; i < 3; ++i) picture_.Rotate(true);
    EXPECT_EQ(picture_.RotationCount(), 0);
    EXPECT_EQ(PixelBytes(picture_.MasterImage()), PixelBytes(clean_));
    // One stamp, redrawn at the top-left: the output is the stamped capture.
    EXPECT_EQ(testpics::Colors(picture_.OutputImage()), stamped);
}

TEST_F(TransformCommands, CounterClockwiseFromZeroCountsThreeAndTurnsTheOtherWay)
{
    Capture(false);
    picture_.Rotate(false);
    EXPECT_EQ(picture_.RotationCount(), 3);
    const auto expected = RotateBitmap(-90, clean_);
    EXPECT_EQ(PixelBytes(picture_.OutputImage()), PixelBytes(*expected));
    picture_.Rotate(true);
    EXPECT_EQ(picture_.RotationCount(), 0);
    EXPECT_EQ(PixelBytes(picture_.OutputImage()), PixelBytes(clean_));
}

TEST_F(TransformCommands, TwoMirrorsGiveBackThePictureAndTheFlag)
{
    Capture(false);
    picture_.Mirror();
    EXPECT_TRUE(picture_.MirrorFlag());
    EXPECT_EQ(PixelBytes(picture_.OutputImage()), PixelBytes(*FlipBitmap(false, true, clean_)));
    picture_.Mirror();
    EXPECT_FALSE(picture_.MirrorFlag());
    EXPECT_EQ(PixelBytes(picture_.OutputImage()), PixelBytes(clean_));
    EXPECT_EQ(PixelBytes(picture_.MasterImage()), PixelBytes(clean_));
}

TEST_F(TransformCommands, RemovingTheStampRestoresExactlyThePixelsUnderIt)
{
    Capture(true);
    EXPECT_TRUE(picture_.DateStampShown());
    EXPECT_EQ(picture_.OutputImage().Pixel(5, 5), RGB(255, 255, 255));

    UnDateStampBMPActionExecute(picture_);
    EXPECT_FALSE(picture_.DateStampShown());
    EXPECT_FALSE(stampSetting_);  // later captures come out unstamped
    win::Bitmap capture;
    testpics::FillPattern(capture, 300, 200);
    EXPECT_EQ(PixelBytes(picture_.OutputImage()), PixelBytes(capture));

    DateStampBMPActionExecute(picture_);
    EXPECT_TRUE(stampSetting_);
    EXPECT_TRUE(picture_.DateStampShown());
    EXPECT_EQ(picture_.OutputImage().Pixel(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(PixelBytes(picture_.MasterImage()), PixelBytes(capture));
}

TEST_F(TransformCommands, AStampedPictureStaysStampedThroughATurnWithTheSettingOff)
{
    Capture(true);
    stampSetting_ = false;  // e.g. changed in the settings dialog meanwhile
    picture_.Mirror();
    EXPECT_TRUE(picture_.DateStampShown());
    EXPECT_EQ(picture_.OutputImage().Pixel(5, 5), RGB(255, 255, 255));
    EXPECT_FALSE(stampSetting_);
    // Only the top-left corner differs from the clean mirrored picture.
    const auto mirrored = FlipBitmap(false, true, clean_);
    EXPECT_EQ(picture_.OutputImage().Pixel(150, 150), mirrored->Pixel(150, 150));
    EXPECT_EQ(PixelBytes(picture_.MasterImage()), PixelBytes(*mirrored));
}

TEST_F(TransformCommands, AnUnstampedPictureIsStampedByATurnOnlyWhenTheSettingAsks)
{
    Capture(false);
    picture_.Rotate(true);
    EXPECT_FALSE(picture_.DateStampShown());
    EXPECT_EQ(PixelBytes(picture_.OutputImage()), PixelBytes(picture_.MasterImage()));
    stampSetting_ = true;
    picture_.Rotate(true);
    EXPECT_TRUE(picture_.DateStampShown());
    EXPECT_EQ(picture_.OutputImage().Pixel(5, 5), RGB(255, 255, 255));
}

TEST_F(TransformCommands, SmallPicturesKeepTheStampState)
{
    Capture(true);  // 300 x 200: stamped
    stampSetting_ = false;
    win::Bitmap composed;
    testpics::FillPattern(composed, 99, 99);
    picture_.NewCapture(composed);
    EXPECT_TRUE(picture_.DateStampShown());
    win::Bitmap small;
    testpics::FillPattern(small, 99, 99);
    EXPECT_EQ(PixelBytes(picture_.OutputImage()), PixelBytes(small));
    EXPECT_EQ(PixelBytes(picture_.MasterImage()), PixelBytes(small));
}

TEST_F(TransformCommands, EmptyCutsSurviveTurnsMirrorsAndStamps)
{
    // A purely horizontal rectangle drag gives a 200 x 0 picture.
    stampSetting_ = true;
    win::Bitmap composed;
    composed.SetSize(200, 0);
    picture_.NewCapture(composed);
    picture_.Rotate(true);
    EXPECT_EQ(picture_.OutputImage().Width(), 0);
    EXPECT_EQ(picture_.OutputImage().Height(), 200);
    picture_.Mirror();
    picture_.DateStamp(false);
    picture_.Rotate(false);
    EXPECT_EQ(picture_.OutputImage().Width(), 200);
    EXPECT_EQ(picture_.OutputImage().Height(), 0);
    EXPECT_EQ(picture_.RotationCount(), 0);
    EXPECT_TRUE(picture_.MirrorFlag());
}

TEST_F(TransformCommands, ComposingTurningMirroringAndStampingLeakNoGdiObjects)
{
    win::Bitmap desktop;
    testpics::FillPattern(desktop, 640, 480);
    Capture(true);
    auto everyCommand = [&] {
        for (std::uint8_t shape : {scRectangle, scCircle, scEllipse, scSquare, scRoundedRectangle, scEntireScreen}) {
            const TSelection selection{{300, 200}, {40, 30}, shape, true};
            win::Bitmap composed;
            DrawPreview(desktop, {0, 0, 640, 480}, selection, RGB(255, 255, 255), composed);
            picture_.NewCapture(composed);
            picture_.Rotate(true);
            picture_.Mirror();
            picture_.DateStamp(false);
            picture_.DateStamp(true);
            picture_.Rotate(false);
            DrawPreview(desktop, {0, 0, 640, 480}, selection, RGB(0, 128, 255), composed);
            picture_.Recompose(composed);
        }
    };
    // A first round may leave the surfaces each picture keeps (its canvas);
    // a second round must not add anything.
    everyCommand();
    const long before = win::gdiObjectCount;
    everyCommand();
    EXPECT_EQ(win::gdiObjectCount, before);
}
