#include "preview/PinWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "win/Error.h"
#include "win/Form.h"
#include "win/Gdi.h"
#include "win/UniqueHandle.h"

namespace {

constexpr int kMinZoom = 10;
constexpr int kMaxZoom = 800;
constexpr int kMinOpacity = 10;
constexpr int kBorder = 1;  // WS_BORDER: one pixel on each side
enum PinMenuCommand : UINT { pmCopy = 1, pmSaveAs, pmZoom100, pmClose, pmCloseAll };

}  // namespace

int NextPinZoom(int zoom, bool larger) noexcept
{
    return std::clamp(zoom + (larger ? 10 : -10), kMinZoom, kMaxZoom);
}

int NextPinOpacity(int opacity, bool higher) noexcept
{
    return std::clamp(opacity + (higher ? 10 : -10), kMinOpacity, 100);
}

class PinBoard::Pin {
public:
    Pin(PinBoard& board, const win::Bitmap& picture, const win::AlphaMask& alpha) : board_(board), alpha_(alpha)
    {
        picture_.Assign(picture);
    }
    ~Pin()
    {
        if (hwnd_) {
            win::KeepUsableDuringModal(hwnd_, false);
            ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            ::DestroyWindow(hwnd_);
        }
    }
    Pin(const Pin&) = delete;
    Pin& operator=(const Pin&) = delete;

    void Create(POINT topLeft)
    {
        // Without WS_EX_LAYERED until the opacity drops: a capture reads layered
        // windows only when it asks for them, and a pin is to be captured.
        ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kWindowClass, L"Pin", WS_POPUP | WS_BORDER,
                          topLeft.x - kBorder, topLeft.y - kBorder, picture_.Width() + 2 * kBorder,
                          picture_.Height() + 2 * kBorder, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
        if (!hwnd_) win::ThrowLastError();
        win::KeepUsableDuringModal(hwnd_);  // a preview or a dialog leaves pins at work
        ::ShowWindow(hwnd_, SW_SHOW);
        ::SetForegroundWindow(hwnd_);
        ::SetFocus(hwnd_);
    }

    HWND hwnd_ = nullptr;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Paint();
    void ZoomAround(int zoom, POINT screenPoint);
    void SetOpacity(int opacity);
    void Drag(POINT client);
    void ShowMenu(POINT screenPoint);
    void Copy() { if (board_.Actions.copy) board_.Actions.copy(picture_, alpha_, hwnd_); }
    void Close() const { ::PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

    PinBoard& board_;
    win::Bitmap picture_;
    win::AlphaMask alpha_;
    int zoom_ = 100;
    int opacity_ = 100;
    int wheelRest_ = 0;  // wheel turn not yet made a step
    bool dragging_ = false;
    POINT grip_{0, 0};  // where the drag holds the window, in its client area
};

void PinBoard::Pin::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd_, &ps);
    RECT client;
    ::GetClientRect(hwnd_, &client);
    // Shrunk pictures are averaged; enlarged ones show their pixels as blocks.
    ::SetStretchBltMode(dc, zoom_ < 100 ? HALFTONE : COLORONCOLOR);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, 0, 0, client.right, client.bottom, picture_.Canvas(), 0, 0, picture_.Width(),
                 picture_.Height(), SRCCOPY);
    ::EndPaint(hwnd_, &ps);
}

void PinBoard::Pin::ZoomAround(int zoom, POINT screenPoint)
{
    RECT window;
    ::GetWindowRect(hwnd_, &window);
    // The picture's point under the pointer stays under it.
    const int px = ::MulDiv(screenPoint.x - window.left - kBorder, 100, zoom_);
    const int py = ::MulDiv(screenPoint.y - window.top - kBorder, 100, zoom_);
    zoom_ = zoom;
    const int width = std::max(1, ::MulDiv(picture_.Width(), zoom_, 100));
    const int height = std::max(1, ::MulDiv(picture_.Height(), zoom_, 100));
    ::SetWindowPos(hwnd_, nullptr, screenPoint.x - kBorder - ::MulDiv(px, zoom_, 100),
                   screenPoint.y - kBorder - ::MulDiv(py, zoom_, 100), width + 2 * kBorder, height + 2 * kBorder,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void PinBoard::Pin::SetOpacity(int opacity)
{
    opacity_ = opacity;
    const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    if (opacity_ >= 100) {
        ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    } else {
        if (!(exStyle & WS_EX_LAYERED)) ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(hwnd_, 0, static_cast<BYTE>(::MulDiv(255, opacity_, 100)), LWA_ALPHA);
    }
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void PinBoard::Pin::Drag(POINT client)
{
    POINT screen = client;
    ::ClientToScreen(hwnd_, &screen);
    ::SetWindowPos(hwnd_, nullptr, screen.x - grip_.x - kBorder, screen.y - grip_.y - kBorder, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PinBoard::Pin::ShowMenu(POINT screenPoint)
{
    const win::UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return;
    ::AppendMenuW(menu.get(), MF_STRING, pmCopy, L"&Copy\tCtrl+C");
    ::AppendMenuW(menu.get(), MF_STRING, pmSaveAs, L"Save &As...");
    ::AppendMenuW(menu.get(), MF_STRING | (zoom_ == 100 ? MF_GRAYED : 0), pmZoom100, L"&Zoom 100%");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.get(), MF_STRING, pmClose, L"C&lose\tEsc");
    ::AppendMenuW(menu.get(), MF_STRING, pmCloseAll, L"Close All &Pins");
    const UINT command = static_cast<UINT>(::TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                              screenPoint.x, screenPoint.y, hwnd_, nullptr));
    switch (command) {
    case pmCopy: Copy(); break;
    case pmSaveAs:
        if (board_.Actions.saveAs) win::RunCommand([this] { board_.Actions.saveAs(picture_, alpha_); });
        break;
    case pmZoom100: {
        RECT window;
        ::GetWindowRect(hwnd_, &window);
        ZoomAround(100, {window.left + kBorder, window.top + kBorder});
        break;
    }
    case pmClose: Close(); break;
    case pmCloseAll: board_.PostCloseAll(); break;
    default: break;
    }
}

LRESULT PinBoard::Pin::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;  // the picture covers the whole client area
    case WM_MOUSEWHEEL: {
        // Fine-grained wheels send parts of a notch: a step once a notch is full.
        wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
        while (wheelRest_ >= WHEEL_DELTA || wheelRest_ <= -WHEEL_DELTA) {
            const bool up = wheelRest_ > 0;
            wheelRest_ -= up ? WHEEL_DELTA : -WHEEL_DELTA;
            if (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) SetOpacity(NextPinOpacity(opacity_, up));
            else ZoomAround(NextPinZoom(zoom_, up), at);  // the wheel's point is on the screen
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
        dragging_ = true;
        grip_ = at;
        ::SetCapture(hwnd_);
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_) Drag(at);
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (message == WM_LBUTTONUP) ::ReleaseCapture();
        }
        return 0;
    case WM_LBUTTONDBLCLK: Close(); return 0;
    case WM_CONTEXTMENU: {
        POINT where = at;
        if (lParam == -1) {  // from the keyboard: at the pin's corner
            where = {0, 0};
            ::ClientToScreen(hwnd_, &where);
        }
        ShowMenu(where);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) Close();
        else if (wParam == 'C' && ::GetKeyState(VK_CONTROL) < 0) win::RunCommand([this] { Copy(); });
        return 0;
    case WM_DPICHANGED:
        return 0;  // the picture stays at its pixels: no new size on another monitor
    case WM_CLOSE:
        ::DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        win::KeepUsableDuringModal(hwnd_, false);
        return 0;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        board_.Closed(this);  // deletes this: nothing may follow
        return 0;
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

PinBoard::PinBoard() = default;

PinBoard::~PinBoard() { CloseAll(); }

HWND PinBoard::Open(const win::Bitmap& picture, const win::AlphaMask& alpha, POINT topLeft)
{
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS | CS_DROPSHADOW;
        wc.lpfnWndProc = win::AttachedWindowProc<Pin, &Pin::hwnd_, &Pin::HandleMessage>;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_SIZEALL);
        wc.lpszClassName = kWindowClass;
        return ::RegisterClassExW(&wc) != 0;
    }();
    if (!registered) win::ThrowLastError();
    if (picture.Empty()) return nullptr;
    auto pin = std::make_unique<Pin>(*this, picture, alpha);
    Pin& opened = *pin;
    pins_.push_back(std::move(pin));
    try {
        opened.Create(topLeft);
    } catch (...) {
        Closed(&opened);
        throw;
    }
    return opened.hwnd_;
}

void PinBoard::Closed(const Pin* pin) noexcept
{
    const auto it = std::find_if(pins_.begin(), pins_.end(), [pin](const auto& p) { return p.get() == pin; });
    if (it == pins_.end()) return;
    // Out of the list before it goes: its window may be closing it now.
    std::unique_ptr<Pin> gone = std::move(*it);
    pins_.erase(it);
}

void PinBoard::CloseAll() noexcept
{
    std::vector<std::unique_ptr<Pin>> all = std::move(pins_);
    pins_.clear();
    all.clear();
}

void PinBoard::PostCloseAll() const noexcept
{
    for (const auto& pin : pins_) ::PostMessageW(pin->hwnd_, WM_CLOSE, 0, 0);
}
