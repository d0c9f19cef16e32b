// The top-level windows a "Window" capture can take: listed just before the
// desktop is frozen, front to back, as their visible frames on the frozen
// picture.
#pragma once

#include <windows.h>

#include <vector>

#include "capture/DesktopGeometry.h"

// The visible frames of the other programs' top-level windows, front to
// back, in grab coordinates (pixel (0, 0) is the virtual desktop's top-left).
// Our own windows, hidden, minimised and cloaked windows (on another virtual
// desktop, or a suspended app), see-through windows and frames with nothing on
// the desktop are left out.
std::vector<RECT> VisibleWindowFrames(const DesktopLayout& layout);

// frame (screen coordinates) clipped to the desktop and moved into grab
// coordinates; an empty rectangle when nothing of it is on the desktop.
RECT FrameOnDesktop(const RECT& frame, const RECT& desktopBounds) noexcept;

// A window every click goes through (WS_EX_TRANSPARENT) or a layered one
// drawn fully transparent: not what the user sees under the mouse.
bool SeeThroughWindow(HWND hwnd) noexcept;

// The index of the front-most frame that holds p, or -1.
int FrameAt(const std::vector<RECT>& frames, POINT p) noexcept;
