#include "capture/DesktopGeometry.h"

#include <algorithm>

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list) noexcept
{
    try {
        reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

DesktopLayout LayoutOfMonitors(const std::vector<RECT>& monitors)
{
    DesktopLayout layout;
    if (monitors.empty()) return layout;
    layout.bounds = monitors.front();
    RECT primary = monitors.front();
    for (const RECT& m : monitors) {
        layout.bounds.left = std::min(layout.bounds.left, m.left);
        layout.bounds.top = std::min(layout.bounds.top, m.top);
        layout.bounds.right = std::max(layout.bounds.right, m.right);
        layout.bounds.bottom = std::max(layout.bounds.bottom, m.bottom);
        if (m.left == 0 && m.top == 0) primary = m;
    }
    layout.primary = {primary.left - layout.bounds.left, primary.top - layout.bounds.top,
                      primary.right - layout.bounds.left, primary.bottom - layout.bounds.top};
    return layout;
}

DesktopLayout CurrentDesktopLayout()
{
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) {
        // No monitor list (a headless session): the primary screen alone.
        monitors.push_back({0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    }
    return LayoutOfMonitors(monitors);
}
