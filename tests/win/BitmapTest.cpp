#include <gtest/gtest.h>

#include "win/Bitmap.h"
#include "win/Gdi.h"

namespace {

void Paint(win::Bitmap& b, COLORREF color, RECT r) { win::FillSolidRect(b.Canvas(), r, color); }

}  // namespace

TEST(Bitmap, ResizeKeepsTheSharedPixelsAndBlackensTheNewOnes)
{
    win::Bitmap b;
    b.SetSize(4, 3);
    Paint(b, RGB(10, 20, 30), {0, 0, 4, 3});
    b.SetSize(6, 2);
    EXPECT_EQ(b.Width(), 6);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Pixel(3, 1), RGB(10, 20, 30));
    EXPECT_EQ(b.Pixel(4, 0), RGB(0, 0, 0));
    EXPECT_EQ(b.Pixel(6, 0), CLR_INVALID);
}

TEST(Bitmap, DepthChangesKeepColoursAndCanvasFollows)
{
    win::Bitmap b;
    b.SetSize(5, 5);
    Paint(b, RGB(200, 100, 50), {1, 1, 3, 3});
    b.SetPixelFormat(win::PixelFormat::Bits24);
    EXPECT_EQ(b.BitsPerPixel(), 24);
    EXPECT_EQ(b.Stride(), 16);  // 15 bytes padded to 4
    EXPECT_EQ(b.Pixel(2, 2), RGB(200, 100, 50));
    EXPECT_EQ(b.Pixel(0, 0), RGB(0, 0, 0));
    // The canvas now draws into the 24-bit pixels.
    Paint(b, RGB(1, 2, 3), {4, 4, 5, 5});
    EXPECT_EQ(b.Pixel(4, 4), RGB(1, 2, 3));
    EXPECT_EQ(static_cast<HBITMAP>(::GetCurrentObject(b.Canvas(), OBJ_BITMAP)), b.Handle());
}

TEST(Bitmap, AssignCopiesAndTakeFromMoves)
{
    win::Bitmap a, b, c;
    a.SetPixelFormat(win::PixelFormat::Bits24);
    a.SetSize(3, 2);
    Paint(a, RGB(9, 8, 7), {0, 0, 3, 2});
    b.Assign(a);
    Paint(a, RGB(0, 0, 0), {0, 0, 3, 2});
    EXPECT_EQ(b.Pixel(2, 1), RGB(9, 8, 7));
    EXPECT_EQ(b.Format(), win::PixelFormat::Bits24);
    c.TakeFrom(b);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(c.Pixel(0, 0), RGB(9, 8, 7));
}

TEST(Bitmap, ReleasesEveryGdiObject)
{
    const long before = win::gdiObjectCount;
    {
        win::Bitmap b;
        b.SetSize(10, 10);
        b.Canvas();
        b.SetPixelFormat(win::PixelFormat::Bits24);
        b.Canvas();
        win::Bitmap copy;
        copy.Assign(b);
        copy.Canvas();
        EXPECT_GT(win::gdiObjectCount, before);
    }
    EXPECT_EQ(win::gdiObjectCount, before);
}

TEST(Bitmap, EmptyPictureHasACanvasAndNoPixels)
{
    win::Bitmap b;
    EXPECT_TRUE(b.Empty());
    EXPECT_NE(b.Canvas(), nullptr);
    b.SetSize(0, 5);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Pixel(0, 0), CLR_INVALID);
}
