// Guards for paired GDI calls. Declare the object before its SelectGuard, so the
// guard puts the previous object back before the object is deleted.
#pragma once

#include <windows.h>

#include "win/UniqueHandle.h"

namespace win {

// GetDC/ReleaseDC on one window (nullptr: the screen).
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDC() { if (dc_) ::ReleaseDC(hwnd_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint/EndPaint for WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) noexcept : hwnd_(hwnd) { ::BeginPaint(hwnd_, &ps_); }
    ~PaintDC() { ::EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const noexcept { return ps_.hdc; }
    const RECT& dirty() const noexcept { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
};

// Selects an object into a DC and selects the previous one back on exit.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), previous_(::SelectObject(dc, obj)) {}
    ~SelectGuard() { if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Saves the DC state (pen mode, colours, brush origin...) and restores it on exit.
class SavedDCState {
public:
    explicit SavedDCState(HDC dc) noexcept : dc_(dc), id_(::SaveDC(dc)) {}
    ~SavedDCState() { if (id_) ::RestoreDC(dc_, id_); }
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;

private:
    HDC dc_;
    int id_;
};

// A memory DC compatible with the screen.
UniqueMemoryDC CreateMemoryDC();

UniqueBrush CreateSolidBrushOwned(COLORREF color);

// Bold Arial, height pixels high: the headings of our windows.
UniqueFont CreateBoldArial(int height);

void FillSolidRect(HDC dc, const RECT& r, COLORREF color);

// Sets the alpha of every pixel of a 32-bit DIB section to opaque, after a
// GdiFlush: GDI drawing leaves it 0, and a menu shows a picture with alpha 0
// as transparent. Other bitmaps are left as they are.
void MakeOpaque(HBITMAP dibSection);

}  // namespace win
