#include "capture/WindowList.h"

#include <string_view>

#include "win/UniqueHandle.h"

namespace {

// DWMWINDOWATTRIBUTE values; dwmapi.dll is loaded at run time because older
// systems (and some Wine set-ups) do not have it.
constexpr DWORD kExtendedFrameBounds = 9;
constexpr DWORD kCloaked = 14;
using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

class WindowInspector {
public:
    WindowInspector() : dwm_(::LoadLibraryW(L"dwmapi.dll"))
    {
        if (dwm_)
            getAttribute_ = reinterpret_cast<DwmGetWindowAttributeFn>(
                ::GetProcAddress(dwm_.get(), "DwmGetWindowAttribute"));
    }

    bool Cloaked(HWND hwnd) const noexcept
    {
        DWORD cloaked = 0;
        return getAttribute_ && SUCCEEDED(getAttribute_(hwnd, kCloaked, &cloaked, sizeof cloaked)) &&
               cloaked != 0;
    }

    // The frame the user sees: without the invisible resize borders where the
    // system draws them, else the window rectangle.
    RECT Frame(HWND hwnd) const noexcept
    {
        RECT r{};
        if (getAttribute_ && SUCCEEDED(getAttribute_(hwnd, kExtendedFrameBounds, &r, sizeof r)) &&
            r.right > r.left && r.bottom > r.top)
            return r;
        if (!::GetWindowRect(hwnd, &r)) return RECT{};
        return r;
    }

private:
    win::UniqueModule dwm_;
    DwmGetWindowAttributeFn getAttribute_ = nullptr;
};

struct Listing {
    const WindowInspector& inspector;
    RECT desktop;
    DWORD ownProcess;
    HWND shell;
    std::vector<RECT> frames;
};

// Our own windows stay out of the list, except the pins, which the user may
// take as windows of their own (the class of preview/PinWindow.h).
bool IsOwnWindowLeftOut(HWND hwnd)
{
    wchar_t name[16] = {};
    return !(::GetClassNameW(hwnd, name, 16) > 0 && std::wstring_view(name) == L"TavroPin");
}

BOOL CALLBACK AddWindow(HWND hwnd, LPARAM param)
{
    auto& list = *reinterpret_cast<Listing*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if ((process == list.ownProcess && IsOwnWindowLeftOut(hwnd)) || hwnd == list.shell || !::IsWindowVisible(hwnd) ||
        ::IsIconic(hwnd) || SeeThroughWindow(hwnd) || list.inspector.Cloaked(hwnd))
        return TRUE;
    const RECT frame = FrameOnDesktop(list.inspector.Frame(hwnd), list.desktop);
    if (!::IsRectEmpty(&frame)) list.frames.push_back(frame);
    return TRUE;
}

}  // namespace

RECT FrameOnDesktop(const RECT& frame, const RECT& desktopBounds) noexcept
{
    RECT clipped{};
    if (!::IntersectRect(&clipped, &frame, &desktopBounds)) return RECT{};
    ::OffsetRect(&clipped, -desktopBounds.left, -desktopBounds.top);
    return clipped;
}

bool SeeThroughWindow(HWND hwnd) noexcept
{
    const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (exStyle & WS_EX_TRANSPARENT) return true;
    BYTE alpha = 255;
    DWORD flags = 0;
    return (exStyle & WS_EX_LAYERED) && ::GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) &&
           (flags & LWA_ALPHA) && alpha == 0;
}

int FrameAt(const std::vector<RECT>& frames, POINT p) noexcept
{
    for (size_t i = 0; i < frames.size(); ++i)
        if (::PtInRect(&frames[i], p)) return static_cast<int>(i);
    return -1;
}

std::vector<RECT> VisibleWindowFrames(const DesktopLayout& layout)
{
    const WindowInspector inspector;
    Listing list{inspector, layout.bounds, ::GetCurrentProcessId(), ::GetShellWindow(), {}};
    // EnumWindows goes from the top of the z-order down.
    ::EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&list));
    return std::move(list.frames);
}
