#include "capture/RecordBar.h"

#include <string>

#include "resources/resource.h"

namespace {

constexpr wchar_t kBarClass[] = L"TRecordBar";
constexpr wchar_t kFrameClass[] = L"TRecordFrame";
constexpr int kFrameWidth = 2;  // pixels, outside the area
constexpr UINT_PTR kTickTimer = 1;

HWND CreateEdge(const RECT& r)
{
    return ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT,
                             kFrameClass, L"", WS_POPUP, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

std::wstring ElapsedText(long long us)
{
    const long long seconds = us / 1000000;
    const long long rest = seconds % 60;
    return std::to_wstring(seconds / 60) + (rest < 10 ? L":0" : L":") + std::to_wstring(rest);
}

UINT RecordBar::StopMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"TavroStopRecording");
    return message;
}

RecordBar::RecordBar(const RECT& area) : area_(area)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW frameClass{sizeof frameClass};
    frameClass.lpfnWndProc = ::DefWindowProcW;
    frameClass.hInstance = instance;
    frameClass.hbrBackground = ::CreateSolidBrush(RGB(220, 0, 0));  // lives as long as the class
    frameClass.lpszClassName = kFrameClass;
    if (!::RegisterClassExW(&frameClass)) ::DeleteObject(frameClass.hbrBackground);

    win::RegisterFormClass(kBarClass, WindowProc, ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVRO)),
                           ::GetSysColorBrush(COLOR_BTNFACE));
    CreateFormWindow(kBarClass, L" Recording", WS_POPUP | WS_CAPTION, WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                     272, 34, true);
    AddControl(L"STATIC", L"0:00", SS_CENTER | SS_CENTERIMAGE, 6, 6, 52, 22, TimeLabel);
    AddControl(L"BUTTON", L"Pause", BS_PUSHBUTTON | WS_TABSTOP, 62, 5, 66, 24, PauseBut);
    AddControl(L"BUTTON", L"Stop", BS_DEFPUSHBUTTON | WS_TABSTOP, 132, 5, 66, 24, StopBut);
    AddControl(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 202, 5, 66, 24, CancelBut);
    defaultButtonId_ = StopBut;
    cancelButtonId_ = CancelBut;

    const int w = kFrameWidth;
    const RECT edges[4] = {{area.left - w, area.top - w, area.right + w, area.top},
                           {area.left - w, area.bottom, area.right + w, area.bottom + w},
                           {area.left - w, area.top, area.left, area.bottom},
                           {area.right, area.top, area.right + w, area.bottom}};
    for (int i = 0; i < 4; ++i) frame_[static_cast<std::size_t>(i)] = CreateEdge(edges[i]);
    PlaceBeside(area);
}

RecordBar::~RecordBar()
{
    for (HWND edge : frame_)
        if (edge) ::DestroyWindow(edge);
}

void RecordBar::PlaceBeside(const RECT& area)
{
    RECT bar;
    ::GetWindowRect(Hwnd(), &bar);
    const int width = bar.right - bar.left, height = bar.bottom - bar.top;
    MONITORINFO monitor{sizeof monitor};
    ::GetMonitorInfoW(::MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    // Below the area, else above it, else inside its top corner (then it is
    // recorded too: nothing else is left on that screen).
    int top = area.bottom + kFrameWidth + 4;
    if (top + height > work.bottom) top = area.top - kFrameWidth - 4 - height;
    if (top < work.top) top = area.top + 4;
    int left = area.right - width;
    if (left < work.left) left = work.left;
    if (left + width > work.right) left = work.right - width;
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void RecordBar::FormShow()
{
    for (HWND edge : frame_)
        if (edge) ::ShowWindow(edge, SW_SHOWNOACTIVATE);
    ::SetTimer(Hwnd(), kTickTimer, 250, nullptr);
    ShowTime();
}

void RecordBar::FormClose()
{
    ::KillTimer(Hwnd(), kTickTimer);
    for (HWND edge : frame_)
        if (edge) ::ShowWindow(edge, SW_HIDE);
}

void RecordBar::ShowTime()
{
    if (!ElapsedUs) return;
    ::SetDlgItemTextW(Hwnd(), TimeLabel, ElapsedText(ElapsedUs()).c_str());
}

bool RecordBar::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case PauseBut:
        paused_ = !paused_;
        if (OnPause) OnPause(paused_);
        ::SetDlgItemTextW(Hwnd(), PauseBut, paused_ ? L"Resume" : L"Pause");
        return true;
    case StopBut:
        FormClose();
        SetModalResult(win::mrOk);
        return true;
    case CancelBut:
        FormClose();
        SetModalResult(win::mrCancel);
        return true;
    default:
        return false;
    }
}

LRESULT RecordBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == StopMessage()) {
        if (InModalLoop()) {
            FormClose();
            SetModalResult(win::mrOk);
        }
        return 0;
    }
    if (message == WM_DISPLAYCHANGE) {
        if (InModalLoop()) {
            if (OnDisplayChange) OnDisplayChange();
            FormClose();
            SetModalResult(win::mrOk);
        }
        return Form::HandleMessage(message, wParam, lParam);
    }
    if (message == WM_TIMER && wParam == kTickTimer) {
        ShowTime();
        return 0;
    }
    return Form::HandleMessage(message, wParam, lParam);
}
