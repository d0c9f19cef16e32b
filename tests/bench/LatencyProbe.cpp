// Measures, inside the Wine session of tavro.exe, how long a window takes to
// appear after a mouse release: a low-level mouse hook stamps each left-button
// release as it enters the input queue, then the probe polls for a visible
// top-level window of the given class and for the moment that window and all
// its controls have nothing left to paint.
//
//   probe CLASS [TIMEOUT_MS]
//
// Prints "ready" once the hook is in place, then, after the first release
// followed by the window, one line: "release_to_visible MS release_to_painted MS".
// The window must be hidden when the release comes (forms live hidden between uses).
//
//   probe --grab [REPEATS]
//
// Prints the median times of one grab of the whole screen as tavro.exe makes it
// (the display DC stretched into a device-dependent bitmap of the screen's size):
// "grab WIDTHxHEIGHT bitmap MS first MS again MS" (see Grab).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

LARGE_INTEGER gFrequency;
LONGLONG gReleasedAt = 0;

LONGLONG Now()
{
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double Milliseconds(LONGLONG from, LONGLONG to)
{
    return static_cast<double>(to - from) * 1000.0 / static_cast<double>(gFrequency.QuadPart);
}

LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM info)
{
    if (code == HC_ACTION && message == WM_LBUTTONUP) gReleasedAt = Now();
    return ::CallNextHookEx(nullptr, code, message, info);
}

bool NothingToPaint(HWND hwnd)
{
    return !::GetUpdateRect(hwnd, nullptr, FALSE);
}

BOOL CALLBACK ChildPainted(HWND child, LPARAM painted)
{
    if (::IsWindowVisible(child) && !NothingToPaint(child)) {
        *reinterpret_cast<bool*>(painted) = false;
        return FALSE;
    }
    return TRUE;
}

// The window and every visible control in it have been painted.
bool Painted(HWND top)
{
    if (!NothingToPaint(top)) return false;
    bool painted = true;
    ::EnumChildWindows(top, ChildPainted, reinterpret_cast<LPARAM>(&painted));
    return painted;
}

HWND VisibleTop(const std::wstring& windowClass)
{
    HWND hwnd = ::FindWindowW(windowClass.c_str(), nullptr);
    return hwnd && ::IsWindowVisible(hwnd) ? hwnd : nullptr;
}

// Handles the hook's calls for up to one millisecond.
void Pump()
{
    ::MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The screen grab alone, timed over repeats: making a bitmap of the screen's
// size, the first grab into it (which pays for touching its memory) and a
// second grab into the same bitmap.
int Grab(int repeats)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    HDC display = ::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    HDC memory = display ? ::CreateCompatibleDC(display) : nullptr;
    if (!memory) {
        if (display) ::DeleteDC(display);
        return 1;
    }
    std::vector<double> make, first, again;
    for (int i = 0; i < repeats; ++i) {
        LONGLONG from = Now();
        HBITMAP bitmap = ::CreateCompatibleBitmap(display, width, height);
        if (!bitmap) break;
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        make.push_back(Milliseconds(from, Now()));
        for (auto* times : {&first, &again}) {
            from = Now();
            ::StretchBlt(memory, 0, 0, width, height, display, 0, 0, width, height, SRCCOPY);
            ::GdiFlush();
            times->push_back(Milliseconds(from, Now()));
        }
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::DeleteDC(display);
    if (again.empty()) return 1;
    std::printf("grab %dx%d bitmap %.1f first %.1f again %.1f\n", width, height, Median(make),
                Median(first), Median(again));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: probe CLASS [TIMEOUT_MS] | probe --grab [REPEATS]\n");
        return 2;
    }
    ::QueryPerformanceFrequency(&gFrequency);
    if (std::wstring(argv[1]) == L"--grab") return Grab(argc > 2 ? std::max(1, _wtoi(argv[2])) : 9);
    const std::wstring windowClass = argv[1];
    const double timeout = argc > 2 ? _wtoi(argv[2]) : 20000;
    HHOOK hook = ::SetWindowsHookExW(WH_MOUSE_LL, MouseHook, ::GetModuleHandleW(nullptr), 0);
    if (!hook) {
        std::fprintf(stderr, "no mouse hook (%lu)\n", ::GetLastError());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    const LONGLONG start = Now();
    LONGLONG visibleAt = 0;
    int result = 1;
    while (Milliseconds(start, Now()) < timeout) {
        Pump();
        if (!gReleasedAt) continue;
        HWND top = VisibleTop(windowClass);
        if (!top) continue;
        if (!visibleAt) visibleAt = Now();
        if (Painted(top)) {
            const LONGLONG paintedAt = Now();
            std::printf("release_to_visible %.1f release_to_painted %.1f\n",
                        Milliseconds(gReleasedAt, visibleAt), Milliseconds(gReleasedAt, paintedAt));
            result = 0;
            break;
        }
    }
    if (result) std::printf("timeout\n");
    ::UnhookWindowsHookEx(hook);
    return result;
}
