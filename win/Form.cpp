#include "win/Form.h"

#include <algorithm>
#include <exception>
#include <set>
#include <stdexcept>

#include <commctrl.h>

#include "win/ButtonIcon.h"
#include "win/Dpi.h"
#include "win/Gdi.h"

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

LRESULT ContainerMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return ::SendMessageW(::GetParent(hwnd), message, wParam, lParam);
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

namespace {
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    return ContainerMessage(hwnd, message, wParam, lParam);
}
}  // namespace

void RegisterContainerClass(const wchar_t* className)
{
    RegisterFormClass(className, ContainerProc, nullptr, ::GetSysColorBrush(COLOR_BTNFACE), 0);
}

Form::~Form()
{
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void Form::CreateFormWindow(const wchar_t* className, const std::wstring& caption, DWORD style,
                            DWORD exStyle, int width, int height, bool clientSize)
{
    // Made at the 96-DPI size, then sized for the DPI of the monitor it is on.
    hwnd_ = ::CreateWindowExW(exStyle | WS_EX_CONTROLPARENT, className, caption.c_str(), style,
                              CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), this);
    if (!hwnd_) return;
    dpi_ = WindowDpi(hwnd_);
    SetFonts(dpi_);
    SIZE size{Scale(width), Scale(height)};
    if (clientSize) size = WindowSizeForClient(size.cx, size.cy, style, exStyle, false, dpi_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::Scale(int value) const { return win::Scale(value, dpi_); }

void Form::SetFonts(UINT dpi)
{
    font_ = CreateMessageFont(dpi);
    headingFont_ = CreateBoldArial(win::Scale(13, dpi));
}

HWND Form::AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y,
                      int width, int height, int id, DWORD exStyle, HWND parent)
{
    const RECT r = ScaleRect(x, y, width, height, dpi_);
    HWND control = ::CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD | WS_VISIBLE,
                                     r.left, r.top, r.right - r.left, r.bottom - r.top,
                                     parent ? parent : hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (!control) return nullptr;
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    placed_.push_back({control, {x, y, x + width, y + height}, false});
    return control;
}

void Form::UseHeadingFont(HWND control)
{
    for (PlacedControl& placed : placed_)
        if (placed.control == control) placed.heading = true;
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.get()), FALSE);
}

void Form::SetControlIcon(HWND control, HINSTANCE module, const wchar_t* name)
{
    icons_.push_back({control, module, name, UniqueIcon()});
    LoadControlIcon(icons_.back());
}

void Form::LoadControlIcon(ControlIcon& slot)
{
    UniqueIcon loaded = LoadIconAt(slot.module, slot.name, IconSize(32, dpi_));
    if (!loaded) return;
    ::SendMessageW(slot.control, STM_SETICON, reinterpret_cast<WPARAM>(loaded.get()), 0);
    slot.icon = std::move(loaded);  // the previous one is no longer shown
}

void Form::SetButtonPicture(HWND button, int iconId, int size)
{
    buttonPictures_.push_back({button, iconId, size, UniqueImageList()});
    LoadButtonPicture(buttonPictures_.back());
}

void Form::LoadButtonPicture(ButtonPicture& slot)
{
    slot.images = SetButtonIcon(slot.button, slot.iconId, slot.size, dpi_);
}

void Form::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    // The old fonts and pictures are released only once nothing shows them.
    UniqueFont oldFont = std::move(font_);
    UniqueFont oldHeading = std::move(headingFont_);
    dpi_ = dpi;
    SetFonts(dpi);
    for (const PlacedControl& placed : placed_) {
        const RECT& r = placed.rect;
        const RECT s = ScaleRect(r.left, r.top, r.right - r.left, r.bottom - r.top, dpi);
        ::SetWindowPos(placed.control, nullptr, s.left, s.top, s.right - s.left, s.bottom - s.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        HFONT font = placed.heading ? headingFont_.get() : font_.get();
        ::SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    for (ControlIcon& slot : icons_) LoadControlIcon(slot);
    for (ButtonPicture& slot : buttonPictures_) LoadButtonPicture(slot);
    DpiChanged();
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
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
        bool used = false;
        if (msg.message == WM_KEYDOWN || msg.message == WM_CHAR)
            RunCommand([&] { used = OnKey(msg); });
        if (!used && !::IsDialogMessageW(hwnd_, &msg)) {
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
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        return DefaultMessage(message, wParam, lParam);
    }
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return AttachedWindowProc<Form, &Form::hwnd_, &Form::HandleMessage>(hwnd, message, wParam, lParam);
}

}  // namespace win
