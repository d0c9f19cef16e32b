#include <gtest/gtest.h>

#include "preview/BitmapTransforms.h"
#include "tests/support/TestPictures.h"

namespace {

using testpics::FillPattern;
using testpics::PatternColor;
using testpics::PixelBytes;

// Sizes around the 4-pixel steps of the row reversal and the 32-pixel tiles
// of the turn, with odd widths so the rows carry padding.
constexpr SIZE kSizes[] = {{1, 1}, {5, 3}, {7, 2}, {33, 65}, {70, 37}, {129, 31}};

}  // namespace

TEST(RotateBitmap, MovesEveryPixelAQuarterTurnEitherWay)
{
    for (SIZE s : kSizes) {
        win::Bitmap src;
        FillPattern(src, s.cx, s.cy, win::PixelFormat::Bits24);
        auto cw = RotateBitmap(90, src);
        auto ccw = RotateBitmap(-90, src);
        ASSERT_TRUE(cw && ccw);
        ASSERT_EQ(cw->Width(), s.cy);
        ASSERT_EQ(cw->Height(), s.cx);
        EXPECT_EQ(cw->BitsPerPixel(), 24);
        for (int y = 0; y < s.cy; ++y)
            for (int x = 0; x < s.cx; ++x) {
                ASSERT_EQ(cw->Pixel(s.cy - 1 - y, x), PatternColor(x, y)) << x << "," << y;
                ASSERT_EQ(ccw->Pixel(y, s.cx - 1 - x), PatternColor(x, y)) << x << "," << y;
            }
    }
}

TEST(RotateBitmap, FourClockwiseTurnsOrOneEachWayGiveBackTheOriginalBytes)
{
    for (SIZE s : kSizes) {
        win::Bitmap src;
        FillPattern(src, s.cx, s.cy, win::PixelFormat::Bits24);
        auto turned = RotateBitmap(90, src);
        for (int i = 0; i < 3; ++i) turned = RotateBitmap(90, *turned);
        EXPECT_EQ(PixelBytes(*turned), PixelBytes(src));
        auto back = RotateBitmap(-90, *RotateBitmap(90, src));
        EXPECT_EQ(PixelBytes(*back), PixelBytes(src));
    }
}

TEST(RotateBitmap, LeavesOtherDepthsAndAnglesAlone)
{
    win::Bitmap src32;
    FillPattern(src32, 8, 4, win::PixelFormat::Bits32);
    EXPECT_EQ(RotateBitmap(90, src32), nullptr);
    win::Bitmap src24;
    FillPattern(src24, 8, 4, win::PixelFormat::Bits24);
    EXPECT_EQ(RotateBitmap(180, src24), nullptr);
    EXPECT_EQ(RotateBitmap(0, src24), nullptr);
}

TEST(FlipBitmap, MirrorsEachAxisFromEitherDepthIntoTwentyFourBits)
{
    for (win::PixelFormat format : {win::PixelFormat::Bits24, win::PixelFormat::Bits32}) {
        for (SIZE s : kSizes) {
            win::Bitmap src;
            FillPattern(src, s.cx, s.cy, format);
            auto h = FlipBitmap(false, true, src);
            auto v = FlipBitmap(true, false, src);
            auto both = FlipBitmap(true, true, src);
            ASSERT_EQ(h->Width(), s.cx);
            ASSERT_EQ(h->Height(), s.cy);
            EXPECT_EQ(h->BitsPerPixel(), 24);
            for (int y = 0; y < s.cy; ++y)
                for (int x = 0; x < s.cx; ++x) {
                    const COLORREF c = PatternColor(x, y);
                    ASSERT_EQ(h->Pixel(s.cx - 1 - x, y), c) << s.cx << " wide, at " << x << "," << y;
                    ASSERT_EQ(v->Pixel(x, s.cy - 1 - y), c);
                    ASSERT_EQ(both->Pixel(s.cx - 1 - x, s.cy - 1 - y), c);
                }
        }
    }
}

TEST(FlipBitmap, TwoMirrorsGiveBackTheOriginalBytes)
{
    for (SIZE s : kSizes) {
        win::Bitmap src;
        FillPattern(src, s.cx, s.cy, win::PixelFormat::Bits24);
        auto twice = FlipBitmap(false, true, *FlipBitmap(false, true, src));
        EXPECT_EQ(PixelBytes(*twice), PixelBytes(src));
    }
}

TEST(FlipBitmap, DrawingPendingOnTheSourceIsIncluded)
{
    // GDI may batch drawing: the flip must see a fill made just before.
    win::Bitmap src;
    FillPattern(src, 40, 10, win::PixelFormat::Bits24);
    HBRUSH brush = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    RECT r{0, 0, 3, 10};
    ::FillRect(src.Canvas(), &r, brush);
    auto h = FlipBitmap(false, true, src);
    EXPECT_EQ(h->Pixel(39, 5), RGB(255, 255, 255));
}
