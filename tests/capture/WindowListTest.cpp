// The windows a "Window" capture can take: the front-most frame under the
// mouse, frames clipped to the desktop, and the real list leaving ours out.
#include <gtest/gtest.h>

#include "capture/WindowList.h"

TEST(WindowList, TheFrontMostFrameUnderTheMouseWins)
{
    // Front to back: a small window over a large one.
    const std::vector<RECT> frames{{100, 100, 200, 150}, {50, 50, 400, 300}};
    struct Case {
        POINT p;
        int index;
    } cases[] = {{{150, 120}, 0}, {{60, 60}, 1}, {{200, 120}, 1}, {{399, 299}, 1}, {{400, 120}, -1}, {{10, 10}, -1}};
    for (const Case& c : cases) EXPECT_EQ(FrameAt(frames, c.p), c.index) << c.p.x << "," << c.p.y;
}

TEST(WindowList, FramesAreClippedToTheDesktopInGrabCoordinates)
{
    const RECT desktop{-1280, 0, 1920, 1080};  // a monitor left of the primary
    struct Case {
        RECT frame;
        RECT expected;
    } cases[] = {
        {{-1300, -8, -1000, 200}, {0, 0, 280, 200}},   // hangs over the left and top edges
        {{100, 100, 300, 200}, {1380, 100, 1580, 200}},
        {{1900, 1000, 2500, 1500}, {3180, 1000, 3200, 1080}},
        {{2000, 0, 2100, 100}, {0, 0, 0, 0}},  // off the desktop
    };
    for (const Case& c : cases) {
        const RECT r = FrameOnDesktop(c.frame, desktop);
        EXPECT_TRUE(::EqualRect(&r, &c.expected)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(WindowList, OurOwnWindowsAreNeverListed)
{
    HWND ours = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(ours, nullptr);
    DesktopLayout layout;
    layout.bounds = {0, 0, 1024, 768};
    for (const RECT& r : VisibleWindowFrames(layout)) {
        const RECT mine{10, 10, 210, 110};
        EXPECT_FALSE(::EqualRect(&r, &mine));
        EXPECT_FALSE(::IsRectEmpty(&r));
    }
    ::DestroyWindow(ours);
}
