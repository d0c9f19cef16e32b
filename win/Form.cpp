#include "win/Form.h"

#include <algorithm>
#include <exception>
#include <set>
#include <stdexcept>

namespace win {

void (*Form::HandleCommandError)(const std::exception& error) = nullptr;

namespace {

struct DisabledWindows {
    HWND except;
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM param)
{
    auto* state = reinterpret_cast<DisabledWindows*>(param);
    if (hwnd != state->except && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd)) {
        try {
            state->windows.push_back(hwnd);
        } catch (...) {
            return FALSE;  // no memory to remember it: leave it enabled
        }
        ::EnableWindow(hwnd, FALSE);
    }
    return TRUE;
}

// The windows a modal form disabled, enabled again however the showing ends.
class ModalDisabling {
public:
    explicit ModalDisabling(HWND modal) : disabled_{modal, {}}
    {
        ::EnumThreadWindows(::GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled_));
    }
    ~ModalDisabling() { EnableAgain(); }
    ModalDisabling(const ModalDisabling&) = delete;
    ModalDisabling& operator=(const ModalDisabling&) = delete;

    void EnableAgain() noexcept
    {
        for (HWND w : disabled_.windows)
            if (::IsWindow(w)) ::EnableWindow(w, TRUE);
        disabled_.windows.clear();
    }

private:
    DisabledWindows disabled_;
};

}  // namespace

void ReportCurrentException() noexcept
{
    try {
        throw;
    } catch (const std::exception& e) {
        try {
            if (Form::HandleCommandError) Form::HandleCommandError(e);
        } catch (...) {
        }
    } catch (...) {
        try {
            const std::runtime_error unexpected("unexpected error");
            if (Form::HandleCommandError) Form::HandleCommandError(unexpected);
        } catch (...) {
        }
    }
}

void RegisterFormClass(const wchar_t* className, WNDPROC proc, HICON icon, HBRUSH background,
                       UINT style)
{
    static std::set<std::wstring> registered;
    if (registered.count(className)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    ::RegisterClassExW(&wc);
    registered.insert(className);
}

Form::~Form()
{
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

HFONT Form::UiFont()
{
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            return ::CreateFontIndirectW(&metrics.lfMessageFont);
        return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }();
    return font;
}

void Form::CreateFormWindow(const wchar_t* className, const std::wstring& caption, DWORD style,
                            DWORD exStyle, int width, int height, bool clientSize)
{
    if (clientSize) {
        RECT r{0, 0, width, height};
        ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
    hwnd_ = ::CreateWindowExW(exStyle | WS_EX_CONTROLPARENT, className, caption.c_str(), style,
                              CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), this);
}

HWND Form::AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y,
                      int width, int height, int id, DWORD exStyle, HWND parent)
{
    HWND control = ::CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD | WS_VISIBLE,
                                     x, y, width, height, parent ? parent : hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
    return control;
}

void Form::CenterOnDesktop()
{
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int x = work.left + std::max(0L, (work.right - work.left - w) / 2);
    const int y = work.top + std::max(0L, (work.bottom - work.top - h) / 2);
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show()
{
    if (!Showing()) FormShow();
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
    if (HWND focus = InitialFocus()) ::SetFocus(focus);
}

void Form::Hide() { ::ShowWindow(hwnd_, SW_HIDE); }

void Form::Close()
{
    if (!FormCloseQuery()) return;
    if (InModalLoop()) {
        SetModalResult(mrCancel);
        return;
    }
    FormClose();
}

void Form::BringToFront()
{
    // A modal form is never left disabled (a later modal window may have
    // disabled it); that window enables it again anyway when it ends.
    ::EnableWindow(hwnd_, TRUE);
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
}

void Form::SetModalResult(int result) noexcept
{
    modalResult_ = result;
    // The form goes at once, also when another modal loop runs above its own.
    if (result != mrNone && InModalLoop()) ::ShowWindow(hwnd_, SW_HIDE);
}

int Form::ShowModal()
{
    // Already showing: to the front, keeping what the user has entered.
    if (InModalLoop()) {
        BringToFront();
        return mrNone;
    }
    HWND previousActive = ::GetActiveWindow();
    ModalDisabling disabled(hwnd_);
    // However the showing ends, the form is hidden and out of its modal state.
    struct ModalState {
        Form& form;
        explicit ModalState(Form& f) : form(f) { ++form.modalDepth_; }
        ~ModalState()
        {
            --form.modalDepth_;
            if (std::uncaught_exceptions()) ::ShowWindow(form.hwnd_, SW_HIDE);
        }
    } state(*this);

    modalResult_ = mrNone;
    FormShow();
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
    if (HWND focus = InitialFocus()) ::SetFocus(focus);

    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (modalResult_ == mrNone) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            quitCode = msg.wParam;
            modalResult_ = mrCancel;
            break;
        }
        if (!::IsDialogMessageW(hwnd_, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    // Re-enable first, so Windows can hand the activation back to them.
    disabled.EnableAgain();
    ::ShowWindow(hwnd_, SW_HIDE);
    if (previousActive && previousActive != hwnd_ && ::IsWindowVisible(previousActive))
        ::SetActiveWindow(previousActive);
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
    return modalResult_;
}

void Form::ProcessMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

LRESULT Form::DefaultMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case DM_GETDEFID:
        return MAKELRESULT(defaultButtonId_, DC_HASDEFID);
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        HWND control = reinterpret_cast<HWND>(lParam);
        bool handled = false;
        RunCommand([&] { handled = OnCommand(id, code, control); });
        // Escape arrives as IDCANCEL; it means the form's cancel button.
        if (!handled && id == IDCANCEL && cancelButtonId_ != IDCANCEL)
            RunCommand([&] { handled = OnCommand(cancelButtonId_, BN_CLICKED, nullptr); });
        else if (!handled && id == IDCANCEL && code == BN_CLICKED)
            Close();
        return 0;
    }
    case WM_CLOSE:
        Close();
        return 0;
    default:
        return DefaultMessage(message, wParam, lParam);
    }
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Form* form = nullptr;
    if (message == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    } else {
        form = reinterpret_cast<Form*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!form) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    // No exception may cross the window procedure.
    try {
        return form->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
}

}  // namespace win
