// The "Window" shape's frames: clipped to the desktop in grab coordinates,
// and the front-most one under the mouse taken.
#include <gtest/gtest.h>

#include <tuple>

#include "capture/WindowList.h"

TEST(WindowList, FramesAreClippedIntoTheGrabAndTheFrontMostOneWins)
{
    const RECT desktop{-1280, 0, 1920, 1080};  // a monitor left of the primary
    const RECT frames[][2] = {
        {{-1300, -8, -1000, 200}, {0, 0, 280, 200}},  // over the left and top edges
        {{1900, 1000, 2500, 1500}, {3180, 1000, 3200, 1080}},
        {{2000, 0, 2100, 100}, {0, 0, 0, 0}},  // off the desktop
    };
    for (const auto& c : frames) {
        const RECT r = FrameOnDesktop(c[0], desktop);
        EXPECT_TRUE(::EqualRect(&r, &c[1])) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    // Front to back: a small window over a large one.
    const std::vector<RECT> list{{100, 100, 200, 150}, {50, 50, 400, 300}};
    const std::pair<POINT, int> hits[] = {{{150, 120}, 0}, {{200, 120}, 1}, {{399, 299}, 1}, {{400, 120}, -1}};
    for (const auto& [p, index] : hits) EXPECT_EQ(FrameAt(list, p), index) << p.x << "," << p.y;
}

TEST(WindowList, ClickThroughAndFullyTransparentWindowsAreSeenThrough)
{
    // (extended style, layered alpha or -1, seen through)
    for (const auto& [exStyle, alpha, through] :
         {std::tuple{0ul, -1, false}, std::tuple{DWORD(WS_EX_TRANSPARENT), -1, true},
          std::tuple{DWORD(WS_EX_LAYERED), 0, true}, std::tuple{DWORD(WS_EX_LAYERED), 128, false}}) {
        HWND w = ::CreateWindowExW(exStyle, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
        if (alpha >= 0) ::SetLayeredWindowAttributes(w, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
        EXPECT_EQ(SeeThroughWindow(w), through) << std::hex << exStyle << " " << alpha;
        ::DestroyWindow(w);
    }
}
