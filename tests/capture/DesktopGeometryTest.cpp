// Capture over every monitor: the layout of monitors around the primary, the
// read of the whole virtual desktop, and cutting the entire screen from a grab
// whose origin lies left of and above the primary.
#include <gtest/gtest.h>

#include "capture/CaptureCommand.h"
#include "capture/Composition.h"
#include "capture/DesktopGeometry.h"
#include "tests/support/TestPictures.h"
#include "win/Error.h"
#include "win/Gdi.h"

namespace {

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(DesktopGeometry, TheGrabCoversEveryMonitorAndFindsThePrimaryInIt)
{
    const RECT primary{0, 0, 1920, 1080};
    struct Case {
        RECT other;
        RECT bounds;
        RECT primaryInGrab;
    } cases[] = {
        {{-1280, 0, 0, 1024}, {-1280, 0, 1920, 1080}, {1280, 0, 3200, 1080}},      // left, smaller
        {{0, -2160, 3840, 0}, {0, -2160, 3840, 1080}, {0, 2160, 1920, 3240}},      // above, larger
        {{1920, 200, 3200, 1224}, {0, 0, 3200, 1224}, {0, 0, 1920, 1080}},         // right, lower
        {{-500, 1080, 1100, 1980}, {-500, 0, 1920, 1980}, {500, 0, 2420, 1080}},   // below, shifted left
    };
    for (const Case& c : cases) {
        // The order of the list does not decide which monitor is the primary.
        for (const auto& monitors : {std::vector<RECT>{primary, c.other}, std::vector<RECT>{c.other, primary}}) {
            const DesktopLayout layout = LayoutOfMonitors(monitors);
            EXPECT_TRUE(Same(layout.bounds, c.bounds)) << c.other.left << "," << c.other.top;
            EXPECT_TRUE(Same(layout.primary, c.primaryInGrab)) << c.other.left << "," << c.other.top;
            EXPECT_EQ(layout.Width(), c.bounds.right - c.bounds.left);
        }
    }
    // Three monitors, the primary in the middle of a row.
    const DesktopLayout row = LayoutOfMonitors({{-1920, 0, 0, 1080}, primary, {1920, 0, 3840, 1080}});
    EXPECT_TRUE(Same(row.primary, RECT{1920, 0, 3840, 1080}));
    EXPECT_EQ(row.Width(), 5760);
}

TEST(DesktopGeometry, TheEntireScreenIsCutAtThePrimaryInsideTheGrab)
{
    // A grab of a monitor left of (-300) and above (-200) the 400 x 300 primary.
    const DesktopLayout layout = LayoutOfMonitors({{-300, -200, 0, 100}, {0, 0, 400, 300}});
    ASSERT_EQ(layout.Width(), 700);
    ASSERT_EQ(layout.Height(), 500);
    win::Bitmap grab;
    testpics::FillPattern(grab, layout.Width(), layout.Height());
    win::Bitmap out;
    ComposeCapture(grab, scEntireScreen, {0, 0}, {0, 0}, RGB(0, 0, 0), layout.primary, out);
    ASSERT_EQ(out.Width(), 400);
    ASSERT_EQ(out.Height(), 300);
    for (int y = 0; y < 300; y += 37)
        for (int x = 0; x < 400; x += 41) EXPECT_EQ(out.Pixel(x, y), testpics::PatternColor(x + 300, y + 200));
    // A selection on the left monitor is cut from the grab where it was dragged.
    DrawPreview(grab, layout.primary, {{10, 20}, {110, 70}, scRectangle, true}, RGB(0, 0, 0), out);
    ASSERT_EQ(out.Width(), 100);
    EXPECT_EQ(out.Pixel(0, 0), testpics::PatternColor(10, 20));
}

TEST(DesktopGeometry, AFailedScreenReadIsAnErrorAndKeepsThePreviousPicture)
{
    win::Bitmap frozen;
    testpics::FillPattern(frozen, 64, 48);
    const auto before = testpics::PixelBytes(frozen);
    const DesktopLayout layout = LayoutOfMonitors({{0, 0, 64, 48}});
    EXPECT_THROW(CopyDesktop(nullptr, layout, frozen), win::Error);
    // A device that cannot be read from (a metafile DC refuses BitBlt as a source).
    HDC metafile = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(metafile);
    EXPECT_THROW(CopyDesktop(metafile, layout, frozen), win::Error);
    ::DeleteEnhMetaFile(::CloseEnhMetaFile(metafile));
    EXPECT_EQ(testpics::PixelBytes(frozen), before);

    // A readable source is copied from the virtual desktop's origin.
    win::Bitmap source;
    testpics::FillPattern(source, 64, 48);
    CopyDesktop(source.Canvas(), layout, frozen);
    EXPECT_EQ(frozen.Pixel(5, 7), testpics::PatternColor(5, 7));
}
