// The overlay's mouse handlers on a real overlay form (never shown).
#include <gtest/gtest.h>

#include "capture/SelectionOverlay.h"
#include "capture/ShapeDialog.h"
#include "tests/support/TestPictures.h"

namespace {

using testpics::FillPattern;
using testpics::PixelBytes;

class Overlay : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        imageForm_ = new TImageForm;
    }
    static void TearDownTestSuite()
    {
        delete imageForm_;
    }
    void SetUp() override
    {
        FillPattern(frozen_, 320, 240);
        imageForm_->Image1.Assign(frozen_);
        imageForm_->BeginShowing(false);
    }
    static const TSelection& Sel() { return imageForm_->Selection(); }

    static TImageForm* imageForm_;
    win::Bitmap frozen_;
};

TImageForm* Overlay::imageForm_ = nullptr;

}  // namespace

TEST(ShapeCodeForSelection, MapsTheShapeDialogOrderToTheOverlayCodes)
{
    EXPECT_EQ(ShapeCodeForSelection(csRectangle), scRectangle);
    EXPECT_EQ(ShapeCodeForSelection(csEntireScreen), scRectangle);
    EXPECT_EQ(ShapeCodeForSelection(csEllipse), scEllipse);
    EXPECT_EQ(ShapeCodeForSelection(csCircle), scCircle);
    EXPECT_EQ(ShapeCodeForSelection(csSquare), scSquare);
    EXPECT_EQ(ShapeCodeForSelection(csRoundedRectangle), scRoundedRectangle);
    EXPECT_EQ(ShapeCodeForSelection(-1), scRectangle);
}

TEST_F(Overlay, ADragEndsWithTheFrozenDesktopUntouchedAndTheDragRecorded)
{
    imageForm_->Image1MouseDown(250, 200);
    for (int step = 1; step <= 6; ++step) imageForm_->Image1MouseMove(250 - step * 35, 200 - step * 28);
    EXPECT_TRUE(imageForm_->Drawing);
    EXPECT_NE(PixelBytes(imageForm_->Image1), PixelBytes(frozen_));  // the band shows
    imageForm_->Image1MouseUp();
    EXPECT_FALSE(imageForm_->Drawing);
    EXPECT_TRUE(Sel().SelectionMade);
    EXPECT_EQ(Sel().SelStart.x, 250);
    EXPECT_EQ(Sel().SelStart.y, 200);
    EXPECT_EQ(Sel().SelEnd.x, 40);
    EXPECT_EQ(Sel().SelEnd.y, 32);
    EXPECT_EQ(PixelBytes(imageForm_->Image1), PixelBytes(frozen_));
}

TEST_F(Overlay, ASecondPressDuringADragRemovesTheFirstBandAndStartsOver)
{
    imageForm_->Image1MouseDown(20, 20);
    imageForm_->Image1MouseMove(200, 150);
    imageForm_->Image1MouseDown(300, 220);  // another button
    EXPECT_EQ(PixelBytes(imageForm_->Image1), PixelBytes(frozen_));
    imageForm_->Image1MouseMove(100, 60);
    imageForm_->Image1MouseUp();
    EXPECT_EQ(PixelBytes(imageForm_->Image1), PixelBytes(frozen_));
    EXPECT_EQ(Sel().SelStart.x, 300);
    EXPECT_EQ(Sel().SelStart.y, 220);
    EXPECT_TRUE(Sel().SelectionMade);
}

TEST_F(Overlay, AClickOrADragBackToItsStartIsNoSelection)
{
    imageForm_->Image1MouseDown(50, 60);
    imageForm_->Image1MouseUp();
    EXPECT_FALSE(Sel().SelectionMade);

    imageForm_->Image1MouseDown(50, 60);
    imageForm_->Image1MouseMove(120, 90);
    imageForm_->Image1MouseMove(50, 60);
    imageForm_->Image1MouseUp();
    EXPECT_FALSE(Sel().SelectionMade);
    EXPECT_EQ(PixelBytes(imageForm_->Image1), PixelBytes(frozen_));

    // A drag along one axis only has no area: no selection either, for any
    // shape (it would give an empty picture that could then be saved).
    imageForm_->Image1MouseDown(50, 60);
    imageForm_->Image1MouseMove(150, 60);
    imageForm_->Image1MouseUp();
    EXPECT_FALSE(Sel().SelectionMade);
    imageForm_->Image1MouseDown(50, 60);
    imageForm_->Image1MouseMove(50, 160);
    imageForm_->Image1MouseUp();
    EXPECT_FALSE(Sel().SelectionMade);
    // One pixel each way is the smallest selection.
    imageForm_->Image1MouseDown(50, 60);
    imageForm_->Image1MouseMove(51, 61);
    imageForm_->Image1MouseUp();
    EXPECT_TRUE(Sel().SelectionMade);
}

TEST_F(Overlay, MovesWithoutAPressDrawNothing)
{
    imageForm_->Image1MouseMove(100, 100);
    imageForm_->Image1MouseMove(200, 120);
    EXPECT_EQ(PixelBytes(imageForm_->Image1), PixelBytes(frozen_));
}

TEST_F(Overlay, PickModeTakesThePixelUnderThePressAndDragsNothing)
{
    imageForm_->BeginShowing(true);
    imageForm_->Image1MouseDown(-5, 400);  // outside the picture: no colour
    EXPECT_FALSE(Sel().PickedColor.has_value());
    imageForm_->Image1MouseDown(123, 45);
    EXPECT_EQ(Sel().PickedColor, testpics::PatternColor(123, 45));
    imageForm_->Image1MouseMove(200, 200);
    imageForm_->Image1MouseUp();
    EXPECT_FALSE(imageForm_->Drawing);
    EXPECT_FALSE(Sel().SelectionMade);
    EXPECT_EQ(PixelBytes(imageForm_->Image1), PixelBytes(frozen_));
    // A later press outside the picture keeps the colour taken.
    imageForm_->Image1MouseDown(-5, 400);
    EXPECT_EQ(Sel().PickedColor, testpics::PatternColor(123, 45));
}

TEST_F(Overlay, EveryShapeOfTheShapeDialogIsDrawnAndLeavesNoTrace)
{
    int shapeSetting = 0;
    TSelectForm dialog(shapeSetting);
    if (!dialog.Hwnd()) GTEST_SKIP() << "the shape dialog needs a display";
    imageForm_->ShapeIndex = [&dialog] { return dialog.ItemIndex(); };
    const int selections[] = {csRectangle, csEllipse, csCircle, csSquare, csRoundedRectangle};
    const std::uint8_t codes[] = {scRectangle, scEllipse, scCircle, scSquare, scRoundedRectangle};
    for (int i = 0; i < 5; ++i) {
        dialog.SetItemIndex(selections[i]);
        imageForm_->Image1MouseDown(250, 200);
        EXPECT_EQ(Sel().ShapeCode, codes[i]);
        for (int step = 1; step <= 6; ++step) imageForm_->Image1MouseMove(250 - step * 35, 200 - step * 12);
        EXPECT_NE(PixelBytes(imageForm_->Image1), PixelBytes(frozen_)) << selections[i];
        imageForm_->Image1MouseUp();
        EXPECT_TRUE(Sel().SelectionMade);
        EXPECT_EQ(PixelBytes(imageForm_->Image1), PixelBytes(frozen_)) << selections[i];
    }
    imageForm_->ShapeIndex = nullptr;
}
