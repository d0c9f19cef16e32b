#include "win/Dpi.h"

#include <algorithm>

#include "win/Gdi.h"

namespace win {

namespace {

// A function of user32 that older systems lack, or nullptr.
template <typename Fn>
Fn UserFunction(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

// The sizes scripts/make-icons.py writes into every icon file.
constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64};

}  // namespace

UINT SystemDpi()
{
    WindowDC screen(nullptr);
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT WindowDpi(HWND hwnd)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && hwnd)
        if (const UINT dpi = getDpiForWindow(hwnd)) return dpi;
    return SystemDpi();
}

RECT ScaleRect(int x, int y, int width, int height, UINT dpi)
{
    const int left = Scale(x, dpi);
    const int top = Scale(y, dpi);
    return {left, top, left + Scale(width, dpi), top + Scale(height, dpi)};
}

SIZE WindowSizeForClient(int width, int height, DWORD style, DWORD exStyle, bool menu, UINT dpi)
{
    using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = UserFunction<AdjustFn>("AdjustWindowRectExForDpi");
    RECT r{0, 0, width, height};
    if (!adjustForDpi || !adjustForDpi(&r, style, menu, exStyle, dpi))
        ::AdjustWindowRectEx(&r, style, menu, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

UniqueFont CreateMessageFont(UINT dpi)
{
    using ParametersForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto parametersForDpi = UserFunction<ParametersForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (parametersForDpi && parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return UniqueFont(::CreateFontIndirectW(&metrics.lfMessageFont));
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        // Given for the screen's DPI.
        LOGFONTW font = metrics.lfMessageFont;
        font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
        return UniqueFont(::CreateFontIndirectW(&font));
    }
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return UniqueFont(::CreateFontIndirectW(&font));
}

UniqueFont CreateMessageFontToFit(UINT dpi, const std::vector<std::wstring>& texts, int width)
{
    UniqueFont font = CreateMessageFont(dpi);
    LOGFONTW shape{};
    if (!font || !::GetObjectW(font.get(), sizeof shape, &shape) || shape.lfHeight == 0) return font;
    const int sign = shape.lfHeight < 0 ? -1 : 1;
    const int full = shape.lfHeight * sign;
    WindowDC screen(nullptr);
    for (int height = full; height * 5 >= full * 4; --height) {
        shape.lfHeight = height * sign;
        UniqueFont candidate(::CreateFontIndirectW(&shape));
        if (!candidate) break;
        SelectGuard select(screen.get(), candidate.get());
        int widest = 0;
        for (const std::wstring& text : texts) {
            SIZE size{};
            ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
            widest = std::max<int>(widest, size.cx);
        }
        font = std::move(candidate);
        if (widest <= width) break;
    }
    return font;
}

int IconSize(int size96, UINT dpi)
{
    const int wanted = Scale(size96, dpi);
    int best = kIconSizes[0];
    for (int size : kIconSizes)
        if (size <= wanted) best = size;
    return best;
}

UniqueIcon LoadIconAt(HINSTANCE module, const wchar_t* name, int size)
{
    if (module)
        return UniqueIcon(static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    // The system's icons are shared: the caller gets a copy of its own.
    HICON shared = static_cast<HICON>(::LoadImageW(nullptr, name, IMAGE_ICON, size, size, LR_SHARED));
    return UniqueIcon(shared ? ::CopyIcon(shared) : nullptr);
}

UniqueIcon LoadIconResource(int iconId, int size)
{
    return LoadIconAt(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), size);
}

}  // namespace win
