#include "app/TrayIcon.h"

#include <shellapi.h>

#include "win/Error.h"
#include "win/Form.h"

namespace {
constexpr const wchar_t* kTrayClass = TStTrayIcon::kWindowClass;
constexpr UINT_PTR kRetryTimer = 1;
}

TStTrayIcon::~TStTrayIcon()
{
    Deactivate();
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void TStTrayIcon::Create(HICON icon, const std::wstring& hint, HMENU popupMenu)
{
    icon_ = icon ? icon : ::LoadIconW(nullptr, IDI_APPLICATION);
    hint_ = hint;
    menu_ = popupMenu;
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    win::RegisterFormClass(
        kTrayClass, win::AttachedWindowProc<TStTrayIcon, &TStTrayIcon::hwnd_, &TStTrayIcon::HandleMessage>,
        nullptr, nullptr, 0);
    // A hidden top-level window (not message-only) so that the shell's
    // "TaskbarCreated" broadcast reaches it; never shown, so modal windows
    // leave it enabled and the tray menu stays usable.
    hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), this);
}

NOTIFYICONDATAW TStTrayIcon::IconData(UINT flags) const noexcept
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd_;
    data.uID = kIconId;
    data.uFlags = flags;
    return data;
}

bool TStTrayIcon::Notify(DWORD message, UINT flags) noexcept
{
    NOTIFYICONDATAW data = IconData(flags);
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = icon_;
    // The notification area keeps at most 63 characters of tool tip.
    lstrcpynW(data.szTip, hint_.c_str(), 64);
    return ShellNotify && ShellNotify(message, &data) != FALSE;
}

void TStTrayIcon::TryAdd() noexcept
{
    if (!wanted_ || active_) return;
    active_ = Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    if (active_ || retriesLeft_ <= 0) ::KillTimer(hwnd_, kRetryTimer);
}

void TStTrayIcon::StartAdding() noexcept
{
    retriesLeft_ = RetryCount;
    TryAdd();
    // At sign-in the notification area may not take icons yet: the program
    // runs on and the icon follows.
    if (!active_) ::SetTimer(hwnd_, kRetryTimer, RetryMs, nullptr);
}

bool TStTrayIcon::Activate()
{
    if (wanted_) return active_;
    wanted_ = true;
    StartAdding();
    return active_;
}

void TStTrayIcon::Deactivate() noexcept
{
    wanted_ = false;
    if (hwnd_) ::KillTimer(hwnd_, kRetryTimer);
    if (!active_) return;
    Notify(NIM_DELETE, 0);
    active_ = false;
}

void TStTrayIcon::EnsureAdded() noexcept
{
    if (active_ && !Notify(NIM_MODIFY, NIF_MESSAGE | NIF_ICON | NIF_TIP))
        Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

void TStTrayIcon::SetHint(const std::wstring& hint)
{
    hint_ = hint;
    if (active_ && !Notify(NIM_MODIFY, NIF_TIP)) throw win::Error(L"Tray icon error");
}

bool TStTrayIcon::SetIcon(HICON icon) noexcept
{
    icon_ = icon;
    return !active_ || Notify(NIM_MODIFY, NIF_ICON);
}

void TStTrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text, DWORD icon) noexcept
{
    if (!active_) return;
    NOTIFYICONDATAW data = IconData(NIF_INFO);
    data.dwInfoFlags = icon;
    lstrcpynW(data.szInfoTitle, title.c_str(), ARRAYSIZE(data.szInfoTitle));
    lstrcpynW(data.szInfo, text.c_str(), ARRAYSIZE(data.szInfo));
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TStTrayIcon::PopupAtCursor()
{
    if (!menu_) return;
    // The menu closes properly on a click elsewhere only when our window is in
    // the foreground, and WM_NULL afterwards lets it dismiss on the next click.
    ::SetForegroundWindow(hwnd_);
    win::Form::ProcessMessages();
    POINT at;
    ::GetCursorPos(&at);
    UINT command = static_cast<UINT>(::TrackPopupMenuEx(
        menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, hwnd_, nullptr));
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);
    if (command && OnMenuCommand) OnMenuCommand(command);
}

LRESULT TStTrayIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == RequestMessage && RequestMessage != 0) {
        return OnRequest && OnRequest() ? 1 : 0;
    }
    if (message == kCallbackMessage) {
        bool restore = true;
        const UINT mouse = static_cast<UINT>(lParam);
        const bool press = mouse == WM_LBUTTONDOWN || mouse == WM_MBUTTONDOWN || mouse == WM_RBUTTONDOWN;
        if (press && InterceptPress && InterceptPress()) return 0;
        switch (mouse) {
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (OnClick) OnClick(mouse);
            break;
        case WM_RBUTTONDOWN:
            PopupAtCursor();
            break;
        case NIN_BALLOONUSERCLICK:
            if (OnBalloonClick) OnBalloonClick();
            break;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            if (OnDblClick) OnDblClick(restore);
            if (restore && OnRestore) OnRestore();
            break;
        default:
            break;
        }
        return 0;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // The taskbar (re)started: a new notification area knows nothing of
        // us, and one that refused the icon so far may take it now.
        active_ = false;
        if (wanted_) StartAdding();
        return 0;
    }
    if (message == WM_TIMER && wParam == kRetryTimer) {
        --retriesLeft_;
        TryAdd();
        return 0;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}
