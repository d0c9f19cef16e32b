#include "preview/DateText.h"

#include "win/Error.h"
#include "win/Gdi.h"

int DateStampFontSize(int width, int height) noexcept
{
    const long long a = (static_cast<long long>(width) + height) / 2;
    if (a > 800) return 12;
    if (a > 600) return 10;
    return 8;
}

std::wstring LongDateText(const SYSTEMTIME& date)
{
    constexpr wchar_t kPicture[] = L"MMMM d, yyyy";
    const int length = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &date, kPicture, nullptr, 0, nullptr);
    if (length <= 0) win::ThrowLastError();
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &date, kPicture, text.data(), length, nullptr);
    text.resize(static_cast<size_t>(length - 1));  // without the terminating NUL
    return text;
}

std::wstring DateStampText(const SYSTEMTIME& date) { return L" " + LongDateText(date) + L" "; }

RECT DrawDateText(int x, int y, int pointSize, win::Bitmap& bitmap, const std::wstring& text)
{
    HDC dc = bitmap.Canvas();
    win::UniqueFont font(::CreateFontW(-::MulDiv(pointSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0,
                                       FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                       L"Arial"));
    if (!font) win::ThrowOutOfResources();
    win::SavedDCState state(dc);
    win::SelectGuard selectFont(dc, font.get());
    // The cell is filled with the white brush colour; the glyphs keep the
    // surface's default text colour.
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ::TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    ::GdiFlush();
    // The opaque cell TextOutW filled: the text's extent from its top-left corner.
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return {x, y, x + extent.cx, y + extent.cy};
}

std::wstring TodayStampText()
{
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    return DateStampText(today);
}

RECT DrawDateText(int x, int y, int pointSize, win::Bitmap& bitmap)
{
    return DrawDateText(x, y, pointSize, bitmap, TodayStampText());
}

StampOutcome ApplyDateStamp(win::Bitmap& bitmap, bool wanted, RECT* cell, const std::wstring* text)
{
    if (cell) *cell = RECT{};
    if (bitmap.Width() < kStampMinimumSide && bitmap.Height() < kStampMinimumSide)
        return StampOutcome::TooSmall;
    if (!wanted) return StampOutcome::Unstamped;
    const int size = DateStampFontSize(bitmap.Width(), bitmap.Height());
    const RECT drawn = text ? DrawDateText(5, 5, size, bitmap, *text) : DrawDateText(5, 5, size, bitmap);
    if (cell) *cell = drawn;
    return StampOutcome::Stamped;
}
