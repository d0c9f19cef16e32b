#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "capture/Composition.h"
#include "capture/SelectionOverlay.h"
#include "tests/support/TestPictures.h"

namespace {

using testpics::FillPattern;
using testpics::PatternColor;

constexpr COLORREF kBackground = RGB(30, 160, 90);
constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

struct Drag {
    POINT start;
    POINT end;
};

// The same 200 x 100 box (50, 40)-(250, 140) dragged in each direction.
constexpr Drag kDirections[] = {
    {{50, 40}, {250, 140}}, {{250, 140}, {50, 40}}, {{250, 40}, {50, 140}}, {{50, 140}, {250, 40}}};

class Composition : public ::testing::Test {
protected:
    void SetUp() override { FillPattern(desktop_, kScreenW, kScreenH); }

    std::unique_ptr<win::Bitmap> Compose(std::uint8_t shape, Drag d)
    {
        auto out = std::make_unique<win::Bitmap>();
        ComposeCapture(desktop_, shape, d.start, d.end, kBackground, {0, 0, kScreenW, kScreenH}, *out);
        return out;
    }

    win::Bitmap desktop_;
};

// Every pixel of a framed picture is either the background or exactly the
// desktop pixel it was cut from (never a mix of both); the frame is all
// background, the centre is desktop. Returns the count of desktop pixels.
int CheckFramedCut(const win::Bitmap& out, POINT cutOrigin)
{
    int desktopPixels = 0;
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            const COLORREF c = out.Pixel(x, y);
            const bool inFrame = x < 10 || y < 10 || x >= out.Width() - 10 || y >= out.Height() - 10;
            if (inFrame) {
                EXPECT_EQ(c, kBackground) << x << "," << y;
                if (c != kBackground) return -1;
                continue;
            }
            const COLORREF desk = PatternColor(cutOrigin.x + x - 10, cutOrigin.y + y - 10);
            if (c == desk) {
                ++desktopPixels;
            } else {
                EXPECT_EQ(c, kBackground) << "mixed pixel at " << x << "," << y;
                if (c != kBackground) return -1;
            }
        }
    }
    EXPECT_EQ(out.Pixel(out.Width() / 2, out.Height() / 2),
              PatternColor(cutOrigin.x + out.Width() / 2 - 10, cutOrigin.y + out.Height() / 2 - 10));
    return desktopPixels;
}

}  // namespace

TEST_F(Composition, RectangleAndSquareAreThePlainCutAtTheTopLeftOfTheBox)
{
    for (const Drag& d : kDirections) {
        auto rect = Compose(scRectangle, d);
        ASSERT_EQ(rect->Width(), 200);
        ASSERT_EQ(rect->Height(), 100);
        EXPECT_EQ(rect->Pixel(0, 0), PatternColor(50, 40));
        EXPECT_EQ(rect->Pixel(199, 99), PatternColor(249, 139));

        // Whichever way the drag went, the square is cut at the box's top-left.
        auto square = Compose(scSquare, d);
        ASSERT_EQ(square->Width(), 100);
        ASSERT_EQ(square->Height(), 100);
        EXPECT_EQ(square->Pixel(0, 0), PatternColor(50, 40));
        EXPECT_EQ(square->Pixel(99, 99), PatternColor(149, 139));
    }
}

TEST_F(Composition, EllipseIsMaskedAndFramedInTheBackgroundForEveryDirection)
{
    for (const Drag& d : kDirections) {
        auto out = Compose(scEllipse, d);
        ASSERT_EQ(out->Width(), 220);
        ASSERT_EQ(out->Height(), 120);
        const int inside = CheckFramedCut(*out, {50, 40});
        // An ellipse fills pi/4 of its box.
        EXPECT_NEAR(inside, 3.14159 / 4 * 200 * 100, 400);
        EXPECT_EQ(out->Pixel(10, 10), kBackground);  // corner of the box, outside the shape
        EXPECT_EQ(out->Pixel(10, 60), PatternColor(50, 90));  // left end of the middle row
    }
}

TEST_F(Composition, CircleIsCutFromTheTopLeftSquareOfTheBox)
{
    for (const Drag& d : kDirections) {
        auto out = Compose(scCircle, d);
        ASSERT_EQ(out->Width(), 120);
        ASSERT_EQ(out->Height(), 120);
        const int inside = CheckFramedCut(*out, {50, 40});
        EXPECT_NEAR(inside, 3.14159 / 4 * 100 * 100, 250);
    }
}

TEST_F(Composition, RoundedRectangleHasCornersOfHalfTheWidthAndHeight)
{
    for (const Drag& d : kDirections) {
        auto out = Compose(scRoundedRectangle, d);
        ASSERT_EQ(out->Width(), 220);
        ASSERT_EQ(out->Height(), 120);
        const int inside = CheckFramedCut(*out, {50, 40});
        // Corner ellipses of 100 x 50: the box less four corners of (1 - pi/4) x 50 x 25.
        EXPECT_NEAR(inside, 200 * 100 - 4 * (1 - 3.14159 / 4) * 50 * 25, 400);
        // The middle of the top edge is inside, the box corner is not.
        EXPECT_EQ(out->Pixel(110, 10), PatternColor(150, 40));
        EXPECT_EQ(out->Pixel(12, 12), kBackground);
    }
}

TEST_F(Composition, ZeroExtentDragsGiveAnEmptyCutOrTheFrameOnly)
{
    const Drag horizontal{{50, 40}, {250, 40}};
    const Drag vertical{{50, 40}, {50, 140}};
    auto rect = Compose(scRectangle, horizontal);
    EXPECT_EQ(rect->Width(), 200);
    EXPECT_EQ(rect->Height(), 0);
    auto square = Compose(scSquare, vertical);
    EXPECT_EQ(square->Width(), 0);
    EXPECT_EQ(square->Height(), 0);
    for (std::uint8_t shape : {scEllipse, scRoundedRectangle}) {
        auto out = Compose(shape, horizontal);
        ASSERT_EQ(out->Width(), 220);
        ASSERT_EQ(out->Height(), 20);
        for (COLORREF c : testpics::Colors(*out)) ASSERT_EQ(c, kBackground);
    }
    auto circle = Compose(scCircle, vertical);
    ASSERT_EQ(circle->Width(), 20);
    ASSERT_EQ(circle->Height(), 20);
    for (COLORREF c : testpics::Colors(*circle)) ASSERT_EQ(c, kBackground);
}

TEST_F(Composition, EntireScreenIsThePrimaryScreen)
{
    auto out = Compose(scEntireScreen, {{300, 300}, {310, 310}});
    ASSERT_EQ(out->Width(), kScreenW);
    ASSERT_EQ(out->Height(), kScreenH);
    EXPECT_EQ(testpics::PixelBytes(*out), testpics::PixelBytes(desktop_));
}

TEST_F(Composition, AFailedCompositionLeavesTheOutputAsItWas)
{
    win::Bitmap out;
    FillPattern(out, 30, 20);
    const auto before = testpics::PixelBytes(out);
    // A drag box far beyond what a 32-bit DIB section can hold.
    EXPECT_ANY_THROW(ComposeCapture(desktop_, scEllipse, {0, 0}, {2000000000, 2000000000}, kBackground,
                                    {0, 0, kScreenW, kScreenH}, out));
    EXPECT_EQ(out.Width(), 30);
    EXPECT_EQ(testpics::PixelBytes(out), before);
}
