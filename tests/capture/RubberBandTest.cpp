#include <gtest/gtest.h>

#include <algorithm>

#include "capture/SelectionOverlay.h"
#include "capture/RubberBand.h"
#include "tests/support/TestPictures.h"

namespace {

using testpics::FillPattern;
using testpics::PixelBytes;

constexpr std::uint8_t kAllShapes[] = {scRectangle, scCircle, scEllipse, scSquare, scRoundedRectangle};

// The box of the pixels that differ between two pictures of the same size.
RECT ChangedBox(const win::Bitmap& before, const win::Bitmap& after)
{
    RECT box{after.Width(), after.Height(), -1, -1};
    for (int y = 0; y < after.Height(); ++y)
        for (int x = 0; x < after.Width(); ++x)
            if (before.Pixel(x, y) != after.Pixel(x, y)) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

}  // namespace

TEST(RubberBand, DrawnTwiceLeavesThePictureByteIdenticalForEveryShapeAndDirection)
{
    win::Bitmap original;
    FillPattern(original, 400, 300);
    const POINT press{200, 150};
    const POINT ends[] = {{330, 210}, {70, 210}, {330, 40}, {70, 40}, {200, 150}, {200, 260}};
    for (std::uint8_t shape : kAllShapes) {
        for (POINT end : ends) {
            win::Bitmap image;
            image.Assign(original);
            DrawBand(image.Canvas(), shape, press, end, R2_NOTXORPEN);
            if (end.x != press.x && end.y != press.y) {
                EXPECT_NE(PixelBytes(image), PixelBytes(original)) << "shape " << int(shape);
            }
            DrawBand(image.Canvas(), shape, press, end, R2_NOTXORPEN);
            EXPECT_EQ(PixelBytes(image), PixelBytes(original))
                << "shape " << int(shape) << " to " << end.x << "," << end.y;
        }
    }
}

TEST(RubberBand, SquareAndCircleHangFromThePressPointTowardsTheMouse)
{
    win::Bitmap original;
    FillPattern(original, 400, 300);
    // A drag 300 wide and 120 high, up and to the left of the press.
    const POINT press{350, 200};
    const POINT end{50, 80};
    for (std::uint8_t shape : {scSquare, scCircle}) {
        win::Bitmap image;
        image.Assign(original);
        DrawBand(image.Canvas(), shape, press, end, R2_NOTXORPEN);
        const RECT box = ChangedBox(original, image);
        EXPECT_NEAR(box.right - box.left, 120, 1) << int(shape);
        EXPECT_NEAR(box.bottom - box.top, 120, 1) << int(shape);
        EXPECT_GE(box.left, 229) << int(shape);
        EXPECT_LE(box.right, 351) << int(shape);
        EXPECT_GE(box.top, 79) << int(shape);
        EXPECT_LE(box.bottom, 201) << int(shape);
    }
}

TEST(RubberBand, RoundedRectangleSpansTheWholeDragWithCornersOfAThirdOfTheSmallerSide)
{
    win::Bitmap original;
    FillPattern(original, 400, 300);
    win::Bitmap image;
    image.Assign(original);
    DrawBand(image.Canvas(), scRoundedRectangle, {340, 150}, {40, 30}, R2_NOTXORPEN);
    const RECT box = ChangedBox(original, image);
    EXPECT_EQ(box.left, 40);
    EXPECT_EQ(box.top, 30);
    EXPECT_EQ(box.right, 340);
    EXPECT_EQ(box.bottom, 150);
    // The corner ellipse is 40 x 40: the box's corner pixel stays untouched,
    // the middle of each side is on the band.
    EXPECT_EQ(image.Pixel(40, 30), original.Pixel(40, 30));
    EXPECT_EQ(image.Pixel(45, 32), original.Pixel(45, 32));
    EXPECT_NE(image.Pixel(190, 30), original.Pixel(190, 30));
    EXPECT_NE(image.Pixel(40, 90), original.Pixel(40, 90));
    // A third of 120 is 40: the 20-pixel corner radius ends near x = 60 on the
    // top side (a larger corner would still be curving there).
    EXPECT_NE(image.Pixel(62, 30), original.Pixel(62, 30));
}

TEST(RubberBand, UnknownShapeCodeDrawsNothing)
{
    win::Bitmap original, image;
    FillPattern(original, 50, 50);
    image.Assign(original);
    DrawBand(image.Canvas(), scEntireScreen, {5, 5}, {40, 40}, R2_NOTXORPEN);
    EXPECT_EQ(PixelBytes(image), PixelBytes(original));
}

TEST(SquareRect, KeepsTheFirstCornerAndTakesTheSmallerExtentTowardsTheSecond)
{
    auto eq = [](RECT a, RECT b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    EXPECT_TRUE(eq(SquareRect({10, 20, 310, 140}), {10, 20, 130, 140}));
    EXPECT_TRUE(eq(SquareRect({310, 140, 10, 20}), {310, 140, 190, 20}));
    EXPECT_TRUE(eq(SquareRect({10, 140, 60, 20}), {10, 140, 60, 90}));
    EXPECT_TRUE(eq(SquareRect({10, 20, 10, 90}), {10, 20, 10, 20}));
}
