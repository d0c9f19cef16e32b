// A top-level window with its state in an object, modal showing with modal
// results, and dialog-style keyboard handling (Tab, Enter, Escape).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win/UniqueHandle.h"

namespace win {

enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrRetry = 4, mrNo = 7 };

class Form {
public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    HWND Hwnd() const noexcept { return hwnd_; }
    bool Showing() const noexcept { return hwnd_ && ::IsWindowVisible(hwnd_); }
    bool InModalLoop() const noexcept { return modalDepth_ > 0; }

    // Shows the form and runs messages until a modal result is set; every other
    // visible window of the program is disabled meanwhile (hidden windows such as
    // the tray icon's stay usable). Returns the modal result. A form that is
    // already in its modal loop is brought to the front (enabled) instead, as it
    // is, and mrNone is returned at once.
    int ShowModal();
    int ModalResult() const noexcept { return modalResult_; }
    // Ends the modal showing with result; the form hides at once.
    void SetModalResult(int result) noexcept;
    void BringToFront();

    void Show();
    void Hide();
    // As the close box: asks OnCloseQuery, then a modal form ends with mrCancel
    // and a modeless one hides (OnClose may decide otherwise).
    void Close();

    // Processes pending messages of the thread (re-entrancy point by design).
    static void ProcessMessages();
    // Called for unhandled command errors; set by the application.
    static void (*HandleCommandError)(const std::exception& error);

    // The DPI the form is laid out at (its monitor's).
    UINT Dpi() const noexcept { return dpi_; }

protected:
    // Sizes and positions given to CreateFormWindow and AddControl are 96-DPI
    // figures: the form scales them to its DPI and lays them out again when
    // the window moves to a monitor with another scale (WM_DPICHANGED).
    void CreateFormWindow(const wchar_t* className, const std::wstring& caption, DWORD style,
                          DWORD exStyle, int width, int height, bool clientSize = false);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // A child control with the form's font.
    HWND AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y,
                    int width, int height, int id, DWORD exStyle = 0, HWND parent = nullptr);
    // A 96-DPI figure at the form's DPI.
    int Scale(int value) const;
    // Gives a control the headings' font: bold Arial, 13 pixels at 96 DPI.
    void UseHeadingFont(HWND control);
    // Shows an icon (a resource of module, nullptr for the system's) in an
    // SS_ICON control, 32 pixels at 96 DPI.
    void SetControlIcon(HWND control, HINSTANCE module, const wchar_t* name);
    // Puts an icon resource above a button's caption, size pixels at 96 DPI.
    void SetButtonPicture(HWND button, int iconId, int size);
    // Called when the form has been laid out at a new DPI, before the window
    // takes its new rectangle: for what the form sizes or draws itself.
    virtual void DpiChanged() {}

    void CenterOnDesktop();

    virtual void FormShow() {}
    // The control that gets the keyboard focus once the form is visible.
    virtual HWND InitialFocus() { return nullptr; }
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose() {}
    // A control's WM_COMMAND notification; return true when handled.
    virtual bool OnCommand(int id, int code, HWND control) { (void)id; (void)code; (void)control; return false; }
    // A key message of the modal loop, before the dialog keys (Tab, Enter,
    // Escape) act on it; return true when the form used it.
    virtual bool OnKey(const MSG& msg) { (void)msg; return false; }

    int defaultButtonId_ = IDOK;  // Enter
    int cancelButtonId_ = IDCANCEL;  // Escape

public:
    // The window procedure of every form class; the object arrives at WM_NCCREATE.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct PlacedControl {
        HWND control;
        RECT rect;  // at 96 DPI, in its parent
        bool heading;
    };
    struct ControlIcon {
        HWND control;
        HINSTANCE module;
        const wchar_t* name;
        UniqueIcon icon;
    };
    struct ButtonPicture {
        HWND button;
        int iconId;
        int size;
        UniqueImageList images;
    };
    void SetFonts(UINT dpi);
    void LoadControlIcon(ControlIcon& slot);
    void LoadButtonPicture(ButtonPicture& slot);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    UniqueFont font_;
    UniqueFont headingFont_;
    std::vector<PlacedControl> placed_;
    std::vector<ControlIcon> icons_;
    std::vector<ButtonPicture> buttonPictures_;
    int modalResult_ = mrNone;
    int modalDepth_ = 0;
};

// Registers a window class once per name, with the form window procedure.
void RegisterFormClass(const wchar_t* className, WNDPROC proc, HICON icon, HBRUSH background,
                       UINT style = CS_DBLCLKS);

// Registers a plain child container once per name: the notifications of the
// controls in it go up to its parent, as a form's own controls' do.
void RegisterContainerClass(const wchar_t* className);
// What such a container does with a message: the notifications of its
// controls go to its parent, the rest to DefWindowProc.
LRESULT ContainerMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Hands the exception being handled to Form::HandleCommandError (one that is
// not a std::exception as an unexpected error); never throws. Only for use in
// a catch block: every window procedure and callback ends in one.
void ReportCurrentException() noexcept;

// The window procedure of a class whose windows each belong to one T: the
// object arrives as CreateWindowEx's parameter and is attached at WM_NCCREATE
// (its member Window gets the handle), Handle gets every message from then on,
// and no exception crosses. A window whose object has gone (user data reset to
// 0) gets DefWindowProc.
template <typename T, HWND T::*Window, LRESULT (T::*Handle)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK AttachedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    T* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->*Window = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return (self->*Handle)(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
}

// Runs fn and shows the standard error box for what it throws.
template <typename Fn>
void RunCommand(Fn&& fn) noexcept
{
    try {
        fn();
    } catch (...) {
        ReportCurrentException();
    }
}

}  // namespace win
