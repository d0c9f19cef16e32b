// A small Win32 helper the end-to-end tests run beside tavro.exe, in the same
// Wine session: it finds windows and reads or drives them with window
// messages, printing results on stdout, one line each.
//
//   driver windows                      visible top-level windows: class|title|x,y,w,h
//   driver wait TITLE [ms]              waits until a visible window has TITLE
//   driver gone TITLE [ms]              waits until no visible window has TITLE
//   driver rect TITLE ID                screen rectangle of a descendant control
//   driver client TITLE ID              screen rectangle of its client area
//   driver winclient TITLE              client area size of the window: w,h
//   driver text TITLE ID                the control's text
//   driver checked TITLE ID             1 when the button is checked
//   driver enabled TITLE ID             1 when the control is enabled
//   driver click TITLE ID               BM_CLICK on a button
//   driver command TITLE ID             posts WM_COMMAND ID to the window
//   driver close TITLE                  posts WM_CLOSE
//   driver status TITLE ID PART         text of a status bar panel
//   driver tray MESSAGE                 posts a mouse message to the tray icon's window
//   driver settext TITLE ID TEXT        WM_SETTEXT on a control
//   driver select TITLE ID INDEX        selects a combo box item as a user would
//   driver syscommand TITLE SC          posts WM_SYSCOMMAND SC (61472 minimise)
//   driver exists CLASS                 1 when a window of CLASS exists (hidden too)
//   driver hotkey TITLE ID KEY          HKM_SETHOTKEY KEY on a hot-key control
//   driver holdkey VK                   holds VK as a global hot key until killed
//   driver fading TITLE [ms]            watches the visible window TITLE until it goes: prints
//                                       "fading N with M": samples it showed with an opacity below
//                                       255, and of those the ones while the tray icon was there
//   driver helper X Y W H BLUE1 BLUE2   a window "Tavro Test Helper", pixel (x, y) = (x, y, BLUE1),
//                                       BLUE2 from one second after a shape dialog went away
//   driver serve                        the verbs above from stdin, one line each (see Serve)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Found {
    std::wstring title;
    HWND hwnd = nullptr;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM param)
{
    auto* f = reinterpret_cast<Found*>(param);
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    if (::IsWindowVisible(hwnd) && f->title == text) {
        f->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindTop(const std::wstring& title)
{
    Found f{title};
    ::EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&f));
    return f.hwnd;
}

struct ById {
    int id;
    HWND hwnd = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM param)
{
    auto* f = reinterpret_cast<ById*>(param);
    if (::GetDlgCtrlID(hwnd) == f->id) {
        f->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindControl(const std::wstring& title, int id)
{
    HWND top = FindTop(title);
    if (!top) return nullptr;
    // A direct child first: common dialogs nest other controls with the same id.
    if (HWND direct = ::GetDlgItem(top, id)) return direct;
    ById f{id};
    ::EnumChildWindows(top, FindChild, reinterpret_cast<LPARAM>(&f));
    return f.hwnd;
}

void PrintRect(const RECT& r)
{
    std::printf("%ld,%ld,%ld,%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void PrintWide(const std::wstring& text)
{
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                  nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    std::printf("%s\n", out.c_str());
}

BOOL CALLBACK ListVisible(HWND hwnd, LPARAM)
{
    if (!::IsWindowVisible(hwnd)) return TRUE;
    wchar_t text[256] = {}, cls[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    ::GetClassNameW(hwnd, cls, 256);
    RECT r;
    ::GetWindowRect(hwnd, &r);
    wchar_t line[700];
    swprintf(line, 700, L"%ls|%ls|%ld,%ld,%ld,%ld", cls, text, r.left, r.top, r.right - r.left,
             r.bottom - r.top);
    PrintWide(line);
    return TRUE;
}

// A status bar's text must be read into memory of the process that owns it.
std::wstring StatusText(HWND bar, int part)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(bar, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return L"";
    const LRESULT info = ::SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0);
    const SIZE_T bytes = (LOWORD(info) + 1) * sizeof(wchar_t);
    void* remote = ::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    std::wstring text(LOWORD(info) + 1, L'\0');
    if (remote) {
        ::SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(remote));
        ::ReadProcessMemory(process, remote, text.data(), bytes, nullptr);
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    text.resize(LOWORD(info));
    return text;
}

bool WaitFor(const std::wstring& title, bool present, int ms)
{
    for (int waited = 0;; waited += 50) {
        if ((FindTop(title) != nullptr) == present) return true;
        if (waited >= ms) return false;
        ::Sleep(50);
    }
}

// Wine's explorer shows each notification-area icon docked in the X tray as a
// visible window of its own class, inside a window that stands for the tray.
BOOL CALLBACK FindTrayIcon(HWND hwnd, LPARAM param)
{
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (!::IsWindowVisible(hwnd) || std::wstring(cls) != L"__winex11_tray_icon") return TRUE;
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
}

HWND TrayIcon()
{
    HWND icon = nullptr;
    ::EnumChildWindows(::GetDesktopWindow(), FindTrayIcon, reinterpret_cast<LPARAM>(&icon));
    return icon;
}

// Samples a window that is about to fade out as fast as the server answers,
// and the notification-area icon beside it (the only one on a test desktop).
int WatchFading(const std::wstring& title, int ms)
{
    HWND top = FindTop(title);
    HWND icon = TrayIcon();
    if (!top || !icon) return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    int fading = 0, withIcon = 0;
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(ms);
    while (::IsWindow(top) && ::IsWindowVisible(top) && ::GetTickCount64() < end) {
        BYTE alpha = 255;
        DWORD flags = 0;
        if ((::GetWindowLongW(top, GWL_EXSTYLE) & WS_EX_LAYERED) &&
            ::GetLayeredWindowAttributes(top, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) && alpha < 255) {
            ++fading;
            if (::IsWindow(icon) && ::IsWindowVisible(icon)) ++withIcon;
        }
    }
    std::printf("fading %d with %d\n", fading, withIcon);
    return 0;
}

struct Helper {
    int blue[2];
    int phase = 0;  // 0 before the dialog, 1 while it shows, 2 after, 3 changed
    ULONGLONG goneAt = 0;
};

LRESULT CALLBACK HelperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* h = reinterpret_cast<Helper*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_TIMER && h) {
        const bool dialog = FindTop(L" Select Capture Shape") != nullptr;
        if ((h->phase == 0 && dialog) || (h->phase == 1 && !dialog)) h->goneAt = ::GetTickCount64(), ++h->phase;
        if (h->phase == 2 && ::GetTickCount64() - h->goneAt >= 1000) {
            h->phase = 3;
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    }
    if (message == WM_PAINT && h) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        for (int y = 0; y < ps.rcPaint.bottom; ++y)
            for (int x = 0; x < ps.rcPaint.right; ++x) ::SetPixelV(dc, x, y, RGB(x, y, h->blue[h->phase == 3]));
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

int RunHelper(int x, int y, int w, int h, int blue1, int blue2)
{
    Helper state{{blue1, blue2}};
    WNDCLASSW wc{0, HelperProc, 0, 0, ::GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"TavroTestHelper"};
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"Tavro Test Helper", WS_POPUP, x, y, w, h, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    ::SetTimer(hwnd, 1, 50, nullptr);
    ::ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}

// A window filled with one colour after another, each for period
// milliseconds, from the list the recording scenario expects in this order.
const COLORREF kFlasherColours[] = {RGB(200, 30, 30),  RGB(30, 200, 30),  RGB(30, 30, 200),  RGB(200, 200, 30),
                                    RGB(30, 200, 200), RGB(200, 30, 200), RGB(120, 60, 0),   RGB(0, 120, 60),
                                    RGB(60, 0, 120),   RGB(250, 250, 250), RGB(20, 20, 20),  RGB(120, 120, 120)};

LRESULT CALLBACK FlasherProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto start = static_cast<ULONGLONG>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const auto period = static_cast<ULONGLONG>(::GetWindowLongPtrW(hwnd, 0));
    if (message == WM_TIMER) {
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        const auto n = period ? (::GetTickCount64() - start) / period : 0;
        HBRUSH brush = ::CreateSolidBrush(kFlasherColours[n % std::size(kFlasherColours)]);
        ::FillRect(dc, &ps.rcPaint, brush);
        ::DeleteObject(brush);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

int RunFlasher(int x, int y, int w, int h, int period)
{
    WNDCLASSW wc{0, FlasherProc, 0, sizeof(LONG_PTR), ::GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr,
                 L"TavroTestFlasher"};
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Tavro Test Flasher", WS_POPUP, x, y, w, h,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(::GetTickCount64()));
    ::SetWindowLongPtrW(hwnd, 0, period);
    ::SetTimer(hwnd, 1, 20, nullptr);
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}

// One command: args[0] is the program's name, args[1] the verb.
int Run(const std::vector<std::wstring>& args)
{
    const int argc = static_cast<int>(args.size());
    if (argc < 2) return 2;
    const std::wstring verb = args[1];
    auto arg = [&](int i) { return i < argc ? args[static_cast<size_t>(i)] : std::wstring(); };
    auto num = [&](int i, int fallback) { return i < argc ? _wtoi(args[static_cast<size_t>(i)].c_str()) : fallback; };

    if (verb == L"windows") {
        ::EnumWindows(ListVisible, 0);
        return 0;
    }
    if (verb == L"wait" || verb == L"gone") {
        const bool ok = WaitFor(arg(2), verb == L"wait", num(3, 10000));
        std::printf("%s\n", ok ? "ok" : "timeout");
        return ok ? 0 : 1;
    }
    if (verb == L"close") {
        HWND top = FindTop(arg(2));
        if (!top) return 1;
        ::PostMessageW(top, WM_CLOSE, 0, 0);
        return 0;
    }
    if (verb == L"syscommand") {
        HWND top = FindTop(arg(2));
        if (!top) return 1;
        ::PostMessageW(top, WM_SYSCOMMAND, num(3, SC_MINIMIZE), 0);
        return 0;
    }
    if (verb == L"winclient") {
        HWND top = FindTop(arg(2));
        if (!top) return 1;
        RECT r;
        ::GetClientRect(top, &r);
        std::printf("%ld,%ld\n", r.right, r.bottom);
        return 0;
    }
    if (verb == L"exists") {
        std::printf("%d\n", ::FindWindowW(arg(2).c_str(), nullptr) ? 1 : 0);
        return 0;
    }
    if (verb == L"holdkey") {
        if (!::RegisterHotKey(nullptr, 1, 0, num(2, VK_SNAPSHOT))) return 1;
        ::Sleep(INFINITE);
    }
    if (verb == L"fading") return WatchFading(arg(2), num(3, 20000));
    if (verb == L"flasher") return RunFlasher(num(2, 0), num(3, 0), num(4, 100), num(5, 100), num(6, 200));
    if (verb == L"helper") return RunHelper(num(2, 0), num(3, 0), num(4, 100), num(5, 100), num(6, 0), num(7, 255));
    if (verb == L"tray") {
        HWND tray = ::FindWindowW(L"TavroTrayIconWindow", nullptr);
        if (!tray) return 1;
        ::PostMessageW(tray, 1791, 2, num(2, WM_LBUTTONDOWN));
        return 0;
    }
    if (verb == L"endsession") {
        // What Windows sends a program's top-level windows at logoff.
        HWND top = ::FindWindowW(arg(2).c_str(), nullptr);
        if (!top) return 1;
        const LRESULT agreed = ::SendMessageW(top, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        if (agreed) ::SendMessageW(top, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        std::printf("%d\n", agreed ? 1 : 0);
        return 0;
    }
    if (verb == L"command") {
        HWND top = FindTop(arg(2));
        if (!top) top = ::FindWindowW(arg(2).c_str(), nullptr);  // by class, hidden too
        if (!top) return 1;
        ::PostMessageW(top, WM_COMMAND, num(3, 0), 0);
        return 0;
    }
    HWND control = FindControl(arg(2), num(3, 0));
    if (!control) {
        std::fprintf(stderr, "no control %d in window\n", num(3, 0));
        return 1;
    }
    if (verb == L"rect" || verb == L"client") {
        RECT r;
        if (verb == L"rect") {
            ::GetWindowRect(control, &r);
        } else {
            ::GetClientRect(control, &r);
            ::MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
        }
        PrintRect(r);
        return 0;
    }
    if (verb == L"text") {
        wchar_t text[1024] = {};
        ::SendMessageW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        PrintWide(text);
        return 0;
    }
    if (verb == L"checked") {
        std::printf("%d\n", ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if (verb == L"enabled") {
        std::printf("%d\n", ::IsWindowEnabled(control) ? 1 : 0);
        return 0;
    }
    if (verb == L"click") {
        ::PostMessageW(control, BM_CLICK, 0, 0);
        return 0;
    }
    if (verb == L"settext") {
        ::SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(4).c_str()));
        return 0;
    }
    if (verb == L"select") {
        const int id = ::GetDlgCtrlID(control);
        ::SendMessageW(control, CB_SETCURSEL, num(4, 0), 0);
        HWND parent = ::GetParent(control);
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(control));
        return 0;
    }
    if (verb == L"hotkey") {
        ::SendMessageW(control, HKM_SETHOTKEY, num(4, 0), 0);
        return 0;
    }
    if (verb == L"status") {
        PrintWide(StatusText(control, num(4, 0)));
        return 0;
    }
    return 2;
}

std::wstring Wide(const std::string& text)
{
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

// Commands from stdin, one per line, arguments split by tabs (UTF-8). Each
// command's output is followed by a line "\x1e" and its exit status, so one
// Wine process answers a whole scenario instead of one process per query.
int Serve()
{
    std::string line;
    for (int c; (c = std::getchar()) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::wstring> args{L"driver"};
        for (size_t start = 0;;) {
            const size_t tab = line.find('\t', start);
            args.push_back(Wide(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        line.clear();
        const int status = Run(args);
        std::printf("\x1e%d\n", status);
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wstring(argv[1]) == L"serve") return Serve();
    return Run(std::vector<std::wstring>(argv, argv + argc));
}
