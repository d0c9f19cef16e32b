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

    // Adds the icon (throws "Error adding tray icon" when the shell refuses).
    void Activate();
    void Deactivate() noexcept;
    bool Active() const noexcept { return active_; }
    // Changes the tool tip (throws "Tray icon error" when the shell refuses).
    void SetHint(const std::wstring& hint);
    const std::wstring& Hint() const noexcept { return hint_; }

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
    // A registered message other programs post to the icon's window.
    UINT RequestMessage = 0;
    std::function<void()> OnRequest;

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

    HWND hwnd_ = nullptr;
    HICON icon_ = nullptr;
    HMENU menu_ = nullptr;
    std::wstring hint_;
    bool active_ = false;
    UINT taskbarCreated_ = 0;
};
