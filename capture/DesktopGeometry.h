// Where the monitors lie: the virtual desktop a grab covers, and the primary
// monitor inside it. Monitors left of or above the primary have negative
// coordinates; a grab's pixel (0, 0) is the virtual desktop's top-left.
#pragma once

#include <windows.h>

#include <vector>

struct DesktopLayout {
    RECT bounds{0, 0, 0, 0};   // the virtual desktop, in screen coordinates
    RECT primary{0, 0, 0, 0};  // the primary monitor, in grab coordinates

    int Width() const noexcept { return bounds.right - bounds.left; }
    int Height() const noexcept { return bounds.bottom - bounds.top; }
};

// The layout of a set of monitor rectangles (screen coordinates). The primary
// is the monitor whose top-left is the origin (the first one when none is).
DesktopLayout LayoutOfMonitors(const std::vector<RECT>& monitors);

// The layout of this machine's monitors now, in physical pixels.
DesktopLayout CurrentDesktopLayout();
