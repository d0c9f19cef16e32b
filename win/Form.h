// A top-level window with its state in an object, modal showing with modal
// results, and dialog-style keyboard handling (Tab, Enter, Escape).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

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

protected:
    void CreateFormWindow(const wchar_t* className, const std::wstring& caption, DWORD style,
                          DWORD exStyle, int width, int height, bool clientSize = false);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // A child control with the form's font.
    HWND AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y,
                    int width, int height, int id, DWORD exStyle = 0, HWND parent = nullptr);

    void CenterOnDesktop();

    virtual void FormShow() {}
    // The control that gets the keyboard focus once the form is visible.
    virtual HWND InitialFocus() { return nullptr; }
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose() {}
    // A control's WM_COMMAND notification; return true when handled.
    virtual bool OnCommand(int id, int code, HWND control) { (void)id; (void)code; (void)control; return false; }

    int defaultButtonId_ = IDOK;  // Enter
    int cancelButtonId_ = IDCANCEL;  // Escape

public:
    static HFONT UiFont();
    // The window procedure of every form class; the object arrives at WM_NCCREATE.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:

    HWND hwnd_ = nullptr;
    int modalResult_ = mrNone;
    int modalDepth_ = 0;
};

// Registers a window class once per name, with the form window procedure.
void RegisterFormClass(const wchar_t* className, WNDPROC proc, HICON icon, HBRUSH background,
                       UINT style = CS_DBLCLKS);

// Hands the exception being handled to Form::HandleCommandError (one that is
// not a std::exception as an unexpected error); never throws. Only for use in
// a catch block: every window procedure and callback ends in one.
void ReportCurrentException() noexcept;

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
