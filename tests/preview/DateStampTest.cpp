#include <gtest/gtest.h>

#include "preview/DateText.h"
#include "tests/support/TestPictures.h"
#include "win/Gdi.h"

namespace {

// The height of the white cell drawn at (5, 5) on a black picture.
int StampCellHeight(int pointSize)
{
    win::Bitmap b;
    b.SetSize(400, 100);
    DrawDateText(5, 5, pointSize, b, L" December 6, 2026 ");
    int y = 5;
    while (y < b.Height() && b.Pixel(5, y) == RGB(255, 255, 255)) ++y;
    return y - 5;
}

}  // namespace

TEST(DateStampFontSize, FollowsTheMeanOfWidthAndHeight)
{
    EXPECT_EQ(DateStampFontSize(1024, 768), 12);  // a = 896
    EXPECT_EQ(DateStampFontSize(800, 600), 10);   // a = 700
    EXPECT_EQ(DateStampFontSize(640, 480), 8);    // a = 560
    EXPECT_EQ(DateStampFontSize(800, 800), 10);
    EXPECT_EQ(DateStampFontSize(801, 801), 12);
    EXPECT_EQ(DateStampFontSize(802, 801), 12);   // a = 801 (div 2 rounds down)
    EXPECT_EQ(DateStampFontSize(801, 800), 10);   // a = 800
    EXPECT_EQ(DateStampFontSize(600, 600), 8);
    EXPECT_EQ(DateStampFontSize(601, 601), 10);
    EXPECT_EQ(DateStampFontSize(100, 20), 8);
}

TEST(DateStampText, IsTheLocaleDateWithOneBlankEitherSide)
{
    SYSTEMTIME date{};
    date.wYear = 2026;
    date.wMonth = 12;
    date.wDay = 6;
    const std::wstring text = DateStampText(date);
    ASSERT_GE(text.size(), 12u);
    EXPECT_EQ(text.front(), L' ');
    EXPECT_EQ(text.back(), L' ');
    EXPECT_NE(text[1], L' ');
    EXPECT_NE(text[text.size() - 2], L' ');
    // Day without a leading zero, a comma, the four-digit year.
    EXPECT_NE(text.find(L" 6, 2026 "), std::wstring::npos) << std::string(text.begin(), text.end());
}

TEST(DrawDateText, LargerPointSizesDrawTallerCells)
{
    const int h8 = StampCellHeight(8);
    const int h10 = StampCellHeight(10);
    const int h12 = StampCellHeight(12);
    EXPECT_GT(h8, 6);
    EXPECT_GT(h10, h8);
    EXPECT_GT(h12, h10);
}

TEST(ApplyDateStamp, NeverStampsPicturesUnderOneHundredInBothSides)
{
    win::Bitmap b;
    testpics::FillPattern(b, 99, 99);
    const auto before = testpics::PixelBytes(b);
    EXPECT_EQ(ApplyDateStamp(b, true), StampOutcome::TooSmall);
    EXPECT_EQ(testpics::PixelBytes(b), before);
}

TEST(ApplyDateStamp, StampsWhenOneSideReachesOneHundred)
{
    for (SIZE s : {SIZE{100, 20}, SIZE{20, 100}}) {
        win::Bitmap b;
        testpics::FillPattern(b, s.cx, s.cy);
        EXPECT_EQ(ApplyDateStamp(b, true), StampOutcome::Stamped);
        // An opaque white cell from (5, 5); the pixels before it are untouched.
        EXPECT_EQ(b.Pixel(5, 5), RGB(255, 255, 255));
        EXPECT_EQ(b.Pixel(4, 4), testpics::PatternColor(4, 4));
        EXPECT_EQ(b.Pixel(4, 10), testpics::PatternColor(4, 10));
    }
}

TEST(ApplyDateStamp, LeavesThePictureAloneWhenNotWanted)
{
    win::Bitmap b;
    testpics::FillPattern(b, 300, 200);
    const auto before = testpics::PixelBytes(b);
    EXPECT_EQ(ApplyDateStamp(b, false), StampOutcome::Unstamped);
    EXPECT_EQ(testpics::PixelBytes(b), before);
}

TEST(ApplyDateStamp, DrawsGlyphsInTheCell)
{
    win::Bitmap b;
    b.SetSize(640, 480);
    win::FillSolidRect(b.Canvas(), {0, 0, 640, 480}, RGB(255, 0, 0));
    ASSERT_EQ(ApplyDateStamp(b, true), StampOutcome::Stamped);
    int white = 0, dark = 0;
    for (int y = 5; y < 20; ++y)
        for (int x = 5; x < 120; ++x) {
            const COLORREF c = b.Pixel(x, y);
            white += c == RGB(255, 255, 255);
            dark += GetRValue(c) < 128 && GetGValue(c) < 128;
        }
    EXPECT_GT(white, 200);
    EXPECT_GT(dark, 20);
}
