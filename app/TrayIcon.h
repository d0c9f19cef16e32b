// The notification-area icon: a hidden window of its own receives the shell's
// mouse messages and turns them into click, double-click and menu events.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "win/UniqueHandle.h"

class TStTrayIcon {
public:
    static constexpr UINT kCallbackMessage = 1791;
    static constexpr UINT kIconId = 2;
    static constexpr wchar_t kWindowClass[] = L"TavroTrayIconWindow";

    TStTrayIcon() = default;
    TStTrayIcon(const TStTrayIcon&) = delete;
    TStTrayIcon& operator=(const TStTrayIcon&) = delete;
    ~TStTrayIcon();

    // Creates the hidden window; call once before Activate.
    void Create(HICON icon, const std::wstring& hint, HMENU popupMenu);
    HWND Hwnd() const noexcept { return hwnd_; }

    // Adds the icon. When the shell refuses (it is still starting at sign-in)
    // the icon is tried again every RetryMs for RetryCount times, and whenever
    // the taskbar announces itself, until one add works; false until then.
    bool Activate();
    void Deactivate() noexcept;
    bool Active() const noexcept { return active_; }
    UINT RetryMs = 2000;
    int RetryCount = 60;
    // What adds, changes and removes the icon: Shell_NotifyIconW, or a
    // stand-in that refuses.
    std::function<BOOL(DWORD message, NOTIFYICONDATAW* data)> ShellNotify = ::Shell_NotifyIconW;
    // Changes the tool tip (throws "Tray icon error" when the shell refuses).
    void SetHint(const std::wstring& hint);
    const std::wstring& Hint() const noexcept { return hint_; }
    // Changes the picture in the notification area (the caller keeps icon
    // alive while it is shown); false when the shell refused it.
    bool SetIcon(HICON icon) noexcept;
    HICON Icon() const noexcept { return icon_; }

    bool MinimizeToTray = false;

    // Left or middle press; the argument is the mouse message.
    std::function<void(UINT button)> OnClick;
    // Double-click of any button; the handler may clear the restore flag.
    std::function<void(bool& restore)> OnDblClick;
    // The main window is to be restored (double-click with the flag left on).
    std::function<void()> OnRestore;
    // A command chosen in the popup menu.
    std::function<void(UINT command)> OnMenuCommand;

    // A press on the icon the owner takes for itself (true): no menu then.
    std::function<bool()> InterceptPress;
    // A registered message other programs send to the icon's window; the
    // answer is 1 when OnRequest took the request, 0 when it refused it.
    UINT RequestMessage = 0;
    std::function<bool()> OnRequest;

    // A notification balloon beside the icon, with a warning icon unless
    // another (NIIF_INFO) is given.
    void ShowBalloon(const std::wstring& title, const std::wstring& text, DWORD icon = NIIF_WARNING) noexcept;
    // A click on the balloon.
    std::function<void()> OnBalloonClick;

    // Foreground, pending messages, then the popup menu at the mouse position.
    void PopupAtCursor();

    // Makes sure the icon is present after the shell lost it.
    void EnsureAdded() noexcept;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The icon's identity (window and id) with flags; the rest left empty.
    NOTIFYICONDATAW IconData(UINT flags) const noexcept;
    bool Notify(DWORD message, UINT flags) noexcept;
    // One add while the icon is wanted and not there; stops the retries once it works.
    void TryAdd() noexcept;
    // The first add, then the retries while it is refused.
    void StartAdding() noexcept;

    HWND hwnd_ = nullptr;
    HICON icon_ = nullptr;
    HMENU menu_ = nullptr;
    std::wstring hint_;
    bool active_ = false;  // the icon is in the notification area
    bool wanted_ = false;  // Activate was called, Deactivate not since
    int retriesLeft_ = 0;
    UINT taskbarCreated_ = 0;
};
