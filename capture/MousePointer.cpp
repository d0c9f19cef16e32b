#include "capture/MousePointer.h"

#include "win/Dpi.h"
#include "win/UniqueHandle.h"

namespace {

// The DPI of the monitor under a screen point: GetDpiForMonitor where the
// system has it (Windows 8.1 on), else the session's.
UINT MonitorDpiAt(POINT point)
{
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const HMODULE shcore = ::LoadLibraryW(L"shcore.dll");  // kept for the run, as the system keeps it
    static const auto getDpiForMonitor = shcore ? reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(
                                                      ::GetProcAddress(shcore, "GetDpiForMonitor")))
                                                : nullptr;
    UINT x = 0;
    UINT y = 0;
    if (getDpiForMonitor &&
        SUCCEEDED(getDpiForMonitor(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && x)
        return x;
    return win::SystemDpi();
}

// The image size of a cursor: its colour bitmap, or for a monochrome one the
// upper half of its mask (AND mask over XOR mask).
SIZE CursorImageSize(const ICONINFO& info)
{
    BITMAP bm{};
    if (info.hbmColor && ::GetObjectW(info.hbmColor, sizeof bm, &bm)) return {bm.bmWidth, bm.bmHeight};
    if (info.hbmMask && ::GetObjectW(info.hbmMask, sizeof bm, &bm)) return {bm.bmWidth, bm.bmHeight / 2};
    return {0, 0};
}

}  // namespace

RECT PointerPlacement(POINT pointer, POINT origin, POINT hotspot, SIZE imageSize, UINT monitorDpi,
                      UINT systemDpi) noexcept
{
    if (systemDpi == 0) systemDpi = win::kBaseDpi;
    if (monitorDpi == 0) monitorDpi = systemDpi;
    const int dpi = static_cast<int>(monitorDpi);
    const int base = static_cast<int>(systemDpi);
    const int left = pointer.x - origin.x - ::MulDiv(hotspot.x, dpi, base);
    const int top = pointer.y - origin.y - ::MulDiv(hotspot.y, dpi, base);
    return {left, top, left + ::MulDiv(imageSize.cx, dpi, base), top + ::MulDiv(imageSize.cy, dpi, base)};
}

bool DrawMousePointer(HDC dc, POINT origin)
{
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    if (!dc || !::GetCursorInfo(&cursor) || !(cursor.flags & CURSOR_SHOWING) || !cursor.hCursor) return false;
    HCURSOR shape = cursor.hCursor;
    ICONINFO info{};
    if (!::GetIconInfo(shape, &info)) {
        // Some systems keep a pointer's image with the program that set it, out
        // of our reach: the standard arrow then stands for it, where it was.
        shape = ::LoadCursorW(nullptr, IDC_ARROW);
        if (!shape || !::GetIconInfo(shape, &info)) return false;
    }
    // GetIconInfo hands over copies of both bitmaps.
    const win::UniqueBitmap mask(info.hbmMask);
    const win::UniqueBitmap color(info.hbmColor);
    const SIZE size = CursorImageSize(info);
    if (size.cx <= 0 || size.cy <= 0) return false;
    const POINT hotspot{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
    const RECT place = PointerPlacement(cursor.ptScreenPos, origin, hotspot, size,
                                        MonitorDpiAt(cursor.ptScreenPos), win::SystemDpi());
    // Step 0: the system does not say which frame of an animated pointer shows.
    return ::DrawIconEx(dc, place.left, place.top, shape, place.right - place.left, place.bottom - place.top, 0,
                        nullptr, DI_NORMAL) != FALSE;
}
